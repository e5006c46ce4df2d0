#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <QTime>
#include <QTimer>

// The connection indicator of the main window's status area, fed by the outcome of every
// exchange: "Connected" (with the frame rate while video runs), or "camera not answering
// since hh:mm:ss" with the count of failed exchanges and incomplete frames since then. The
// last setting that could not be sent shows beside it, with its time.
class WidgetConnectionState final : public QLabel
{
    Q_OBJECT

public:
    explicit WidgetConnectionState(QWidget* parent = nullptr);
    ~WidgetConnectionState() override;

    bool answering() const { return m_answering; }
    int failedExchanges() const { return m_failedExchanges; }
    int incompleteFrames() const { return m_incompleteFrames; }

public slots:
    // Every exchange's outcome (ZelTcp::exchangeEnded).
    void exchangeEnded(bool answered);
    // Every frame reply, complete or not (Settings::frameReceived).
    void frameReceived(bool complete);
    // A setting controller could not send a value; message says which.
    void settingNotSent(const QString& message);

private:
    void refresh();
    double frameRate() const;

    bool m_answering = true;
    bool m_everAnswered = false;
    QTime m_failingSince;
    int m_failedExchanges = 0;
    int m_incompleteFrames = 0;
    QString m_settingMessage;
    // Frames of the current and of the last complete second, for the rate.
    QElapsedTimer m_rateClock;
    QElapsedTimer m_lastFrame;
    int m_framesThisSecond = 0;
    int m_framesLastSecond = 0;
    // The text is refreshed twice a second at most, not for every frame.
    QTimer m_refresh;
};
