#pragma once

#include <QObject>
#include <QTimer>

class Settings;
class ZelTcp;

// Pauses live video around a settings command so that the command's blocking exchanges
// never overlap a picture exchange, and resumes it afterwards.
class Controller final : public QObject
{
    Q_OBJECT

public:
    // How long an exchange still in flight may take to end before a settings command aborts it.
    static constexpr int kPauseWait = 5000;
    // How long a pause request may stay unanswered: the longest frame time-out of the loop.
    // After it the loop is taken as paused, so that a stuck loop cannot lock the panels.
    static constexpr int kPauseAnswerWait = 5000;

    Controller(Settings* settings, ZelTcp* tcp, QObject* parent = nullptr);
    ~Controller() override;

    // videoPaused() follows once the channel is free: at once when video is not active.
    void requestPause();
    // Reads the automatic offset from the camera unless video is active.
    bool readOffset();
    // Re-reads the offset when asked to, restarts video when it was running and is not already
    // restarted by another transaction's resume, unlocks the panels.
    void resume();

signals:
    void videoPaused();
    void videoResumed();

public slots:
    void pauseVideo();

private:
    Settings* m_settings;
    ZelTcp* m_tcp;
    QTimer m_pauseAnswer;
};
