#pragma once

#include <QObject>

// Unattended runs (KESTRANE_NONINTERACTIVE=1: demos, smoke tests, scripts): every message
// dialog is written to the standard error stream as "kestrane: message [TITLE] TEXT" when it
// appears and closed after closeAfterMs, as if the user had pressed OK, so that a modal
// message never blocks the run.
class MessageAutoCloser final : public QObject
{
    Q_OBJECT

public:
    static constexpr int closeAfterMs = 1000;

    explicit MessageAutoCloser(QObject* parent = nullptr);
    ~MessageAutoCloser() override;

    // True when the environment asks for an unattended run.
    static bool requested();
    // Watches every widget of the application.
    void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
