#include "widgets/WidgetConnectionState.h"

#include "app/Trace.h"

namespace {
// Without a frame for this long, live video counts as stopped and no rate is shown.
constexpr qint64 videoIdleMs = 2000;
constexpr int refreshMs = 500;
const QString answeringStyle = QStringLiteral("color: rgb(6, 143, 133);");
const QString failingStyle = QStringLiteral("color: white; background-color: rgb(228, 10, 21);");

// "1 failed exchange", "2 failed exchanges".
QString counted(int count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}
} // namespace

WidgetConnectionState::WidgetConnectionState(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("connectionState"));
    m_refresh.setInterval(refreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &WidgetConnectionState::refresh);
    m_refresh.start();
    refresh();
}

WidgetConnectionState::~WidgetConnectionState()
{
    ZTRACE() << "***WidgetConnectionState destroyed";
}

void WidgetConnectionState::exchangeEnded(bool answered)
{
    if (answered) {
        if (!m_everAnswered) {
            // The first answer shows at once: a window made after the start-up exchanges (or
            // a picture taken at the first frame) must not read "Not connected" until the
            // next periodic refresh.
            m_everAnswered = true;
            refresh();
        }
        // A frame reply that arrived garbled also ends its exchange as answered: only a
        // complete frame ends that trouble.
        if (!m_answering && m_incompleteFrames == 0) {
            ZTRACE() << "camera answering again after" << m_failedExchanges << "failed exchanges";
            m_answering = true;
            m_failedExchanges = 0;
            m_incompleteFrames = 0;
            refresh();
        }
        return;
    }
    if (m_answering) {
        m_answering = false;
        m_failingSince = QTime::currentTime();
        m_failedExchanges = 0;
        m_incompleteFrames = 0;
        m_framesThisSecond = m_framesLastSecond = 0;
    }
    ++m_failedExchanges;
    refresh();
}

void WidgetConnectionState::frameReceived(bool complete)
{
    if (!complete) {
        // A garbled or cut reply still arrived: the camera answers, but not well.
        const bool wasAnswering = m_answering;
        if (m_answering) {
            m_answering = false;
            m_failingSince = QTime::currentTime();
            m_failedExchanges = 0;
            m_incompleteFrames = 0;
        }
        ++m_incompleteFrames;
        if (wasAnswering)
            refresh();
        return;
    }
    if (!m_rateClock.isValid() || m_rateClock.elapsed() >= 1000) {
        const bool consecutive = m_rateClock.isValid() && m_rateClock.elapsed() < 2000;
        m_framesLastSecond = consecutive ? m_framesThisSecond : 0;
        m_framesThisSecond = 0;
        m_rateClock.start();
    }
    ++m_framesThisSecond;
    const bool firstFrame = !m_lastFrame.isValid();
    m_lastFrame.start();
    if (!m_answering) {
        m_answering = true;
        m_failedExchanges = 0;
        m_incompleteFrames = 0;
        refresh();
    } else if (firstFrame) {
        refresh();
    }
}

void WidgetConnectionState::settingNotSent(const QString& message)
{
    m_settingMessage = QTime::currentTime().toString(QStringLiteral("hh:mm:ss ")) + message;
    refresh();
}

double WidgetConnectionState::frameRate() const
{
    if (!m_lastFrame.isValid() || m_lastFrame.elapsed() > videoIdleMs)
        return 0.0;
    return m_framesLastSecond;
}

void WidgetConnectionState::refresh()
{
    QString text;
    if (m_answering) {
        if (!m_everAnswered && !m_lastFrame.isValid()) {
            text = QStringLiteral("Not connected");
        } else {
            text = QStringLiteral("Connected");
            const double rate = frameRate();
            if (rate > 0)
                text += QStringLiteral(", %1 frames/s").arg(rate, 0, 'f', 0);
        }
        setStyleSheet(answeringStyle);
    } else {
        text = QStringLiteral("camera not answering since ") +
               m_failingSince.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(": ") +
               counted(m_failedExchanges, QStringLiteral("failed exchange"),
                       QStringLiteral("failed exchanges")) +
               QStringLiteral(", ") +
               counted(m_incompleteFrames, QStringLiteral("incomplete frame"),
                       QStringLiteral("incomplete frames"));
        setStyleSheet(failingStyle);
    }
    if (!m_settingMessage.isEmpty())
        text += QStringLiteral("  |  ") + m_settingMessage;
    if (text != this->text())
        setText(text);
}
