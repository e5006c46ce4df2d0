#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Measures how long the GUI thread's event loop is held while traces are on. A timer due every
// 50 ms notes how late it fires; a hold past 100 ms is traced as "event loop held N ms, ending
// at T" (T in milliseconds since the epoch, so that a test can match it with what it did to the
// camera at that moment), and the longest hold when the watch ends. With traces off it does
// nothing.
class EventLoopWatch final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 50;
    static constexpr int kReportedHoldMs = 100;

    explicit EventLoopWatch(QObject* parent = nullptr);
    ~EventLoopWatch() override;

    // Starts watching if traces are on; the first tick is the baseline.
    void start();
    qint64 longestHoldMs() const { return m_longestMs; }

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastTickMs = -1;
    qint64 m_longestMs = 0;
};
