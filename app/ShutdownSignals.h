#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into an ordinary close of the main window, so that a program ended
// by a signal (a script, the terminal's Ctrl+C) stops the camera and saves the last
// configuration as the window's close does. The signal handler only writes one byte into a
// socket pair; the event loop reads it and emits received(). One instance at a time; the
// default actions return when it is destroyed.
class ShutdownSignals final : public QObject
{
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* notifier = nullptr;
};
