#include "app/EventLoopWatch.h"

#include "app/Trace.h"

#include <QDateTime>

EventLoopWatch::EventLoopWatch(QObject* parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &EventLoopWatch::tick);
}

EventLoopWatch::~EventLoopWatch()
{
    if (m_timer.isActive())
        ZTRACE() << "longest event loop hold" << m_longestMs << "ms";
}

void EventLoopWatch::start()
{
    if (!lcTrace().isDebugEnabled())
        return;
    m_clock.start();
    m_lastTickMs = -1;
    m_timer.start();
}

void EventLoopWatch::tick()
{
    const qint64 now = m_clock.elapsed();
    if (m_lastTickMs >= 0) {
        // The time past the tick's due moment is time the loop spent on something else.
        const qint64 held = now - m_lastTickMs - kIntervalMs;
        if (held > m_longestMs)
            m_longestMs = held;
        if (held > kReportedHoldMs)
            ZTRACE() << "event loop held" << held << "ms, ending at" << QDateTime::currentMSecsSinceEpoch();
    }
    m_lastTickMs = now;
}
