#include "acquisition/Controller.h"

#include "app/Trace.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"

Controller::Controller(Settings* settings, ZelTcp* tcp, QObject* parent)
    : QObject(parent), m_settings(settings), m_tcp(tcp)
{
    m_pauseAnswer.setSingleShot(true);
    m_pauseAnswer.setInterval(kPauseAnswerWait);
    connect(&m_pauseAnswer, &QTimer::timeout, this, [this] {
        // The loop never answered: pause it here. Every transaction waiting for the same
        // pause then proceeds, and the hub no longer claims video is active.
        if (m_settings->videoActive())
            m_settings->pauseAcquisition();
        else
            pauseVideo();
    });
}

Controller::~Controller()
{
    ZTRACE() << "***Controller destroyed";
}

void Controller::requestPause()
{
    if (!m_settings->videoActive()) {
        emit videoPaused();
        return;
    }
    connect(m_settings, &Settings::paused, this, &Controller::pauseVideo, Qt::UniqueConnection);
    m_pauseAnswer.start();
    m_settings->requestPause();
}

void Controller::pauseVideo()
{
    m_pauseAnswer.stop();
    disconnect(m_settings, &Settings::paused, this, &Controller::pauseVideo);
    // The frame in flight is discarded: the views dropped their connections on paused().
    m_tcp->closeAfterWait(kPauseWait);
    emit videoPaused();
}

bool Controller::readOffset()
{
    if (m_settings->videoActive())
        return false;
    m_tcp->setCommand(Commands::getOffset());
    // When the camera cannot be reached the reply buffer still holds the previous exchange
    // (often a frame), which is no offset: the known offset stays.
    if (m_tcp->sendCommand(Commands::Timeout::settings))
        m_settings->settings3D()->setAutomaticOffset(m_tcp->responseInt16());
    return true;
}

void Controller::resume()
{
    if (m_settings->readOffsetOnResume())
        readOffset();
    // Two transactions finished in one pause (the modulation frequency and the offset it
    // re-reads) restart the loop once: a second start would put a second frame request on
    // the wire while the first is in flight.
    if (m_settings->running() && !m_settings->videoActive())
        m_settings->startAcquisition();
    m_settings->announceFieldsLocked(false);
}
