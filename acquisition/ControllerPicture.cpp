#include "acquisition/ControllerPicture.h"

#include "app/Trace.h"
#include "frames/FrameSize.h"
#include "link/Commands.h"
#include "link/Replies.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"

#include <algorithm>

namespace {

// Temperatures above this are not plausible readings of the 12-bit sensor and are clamped.
constexpr int kHighestTemperature = 2047;
constexpr int kTemperatureCount = 6;

} // namespace

ControllerPicture::ControllerPicture(Settings* settings, ZelTcp* tcp, QObject* parent)
    : QObject(parent), m_settings(settings), m_tcp(tcp)
{
    connect(m_settings, &Settings::paused, this, &ControllerPicture::disconnectSlots);
}

ControllerPicture::~ControllerPicture()
{
    disconnectSlots();
    ZTRACE() << "***ControllerPicture destroyed";
}

// Grayscale waits for its integration time plus 500 ms; the distance modes for the four
// correlation frames plus 1000 ms; a FLIM chip for its whole gate sequence.
int ControllerPicture::pictureTimeout() const
{
    if (m_settings->modeIndex() == 0)
        return m_settings->integrationTime()->integrationTime2D() / 1000 + 500;
    if (m_settings->flim()->flimChip())
        return m_settings->flim()->acquisitionTimeout();
    return m_settings->integrationTime()->integrationTime3D() / 250 + 1000;
}

void ControllerPicture::requestPicture(const QString& command)
{
    // A temperature poll that timed out left its connection behind; the new frame's reply
    // must reach getPicture() alone.
    disconnectSlots();
    m_command = command;
    m_timeout = pictureTimeout();
    m_tcp->setCommand(m_command);
    connect(m_tcp, &ZelTcp::finishedData, this, &ControllerPicture::getPicture, Qt::UniqueConnection);
    m_tcp->startCommand(m_timeout);
}

void ControllerPicture::getPicture()
{
    // Removed before the hand-over: the view's ready() starts the next exchange from inside
    // this emission, and its reply must not come back here twice.
    disconnect(m_tcp, &ZelTcp::finishedData, this, &ControllerPicture::getPicture);
    const int expected = FrameSize::expectedBytes(m_settings, m_command);
    const bool complete = expected < 0 || m_tcp->response().size() == expected;
    if (!complete)
        ZTRACE() << "incomplete frame:" << m_tcp->response().size() << "bytes of" << expected;
    m_settings->reportFrame(complete);
    emit pictureReady(m_tcp->response());
    if (m_settings->temperaturePolling()) {
        m_tcp->setCommand(Commands::getTemperature());
        connect(m_tcp, &ZelTcp::finishedData, this, &ControllerPicture::getTemperature, Qt::UniqueConnection);
        m_tcp->startCommand(m_timeout);
    }
}

void ControllerPicture::getTemperature()
{
    disconnect(m_tcp, &ZelTcp::finishedData, this, &ControllerPicture::getTemperature);
    qint16 values[kTemperatureCount];
    Replies::temperatures(m_tcp->response(), values);
    QVector<int> temperatures(kTemperatureCount);
    for (int i = 0; i < kTemperatureCount; ++i)
        temperatures[i] = std::min(int(values[i]), kHighestTemperature);
    m_settings->setTemperatures(temperatures);
    emit m_tcp->ready();
}

void ControllerPicture::disconnectSlots()
{
    disconnect(m_tcp, &ZelTcp::failed, this, &ControllerPicture::onFailed);
    disconnect(m_tcp, &ZelTcp::finishedData, this, &ControllerPicture::getTemperature);
    disconnect(m_tcp, &ZelTcp::finishedData, this, &ControllerPicture::getPicture);
}

void ControllerPicture::onFailed()
{
    ZTRACE() << "failure";
    disconnectSlots();
    emit failed();
}
