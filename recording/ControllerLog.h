#pragma once

#include <QObject>

class Controller;
class Settings;
class ZelTcp;

// Frees the command channel for a logging run: pauses live video through the acquisition
// pause controller, reports when the pause has taken effect, and lets the controller resume
// when the run is over.
class ControllerLog final : public QObject
{
    Q_OBJECT

public:
    ControllerLog(Settings* settings, ZelTcp* tcp, QObject* parent = nullptr);
    ~ControllerLog() override;

    // loggingReady() follows once video is paused; at once (before start() returns) when
    // video is not running, so connect to it first.
    void start();
    // Re-reads the offset when asked to, restarts video when it was running, unlocks the panels.
    void finish();

signals:
    void loggingReady();

public slots:
    void logging();

private:
    Controller* controller;
};
