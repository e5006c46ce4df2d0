#include "service/ControllerCommands.h"

#include "app/ApplicationContext.h"
#include "app/StartupManager.h"
#include "app/Trace.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"

#include <QStringList>

#include <cmath>
#include <cstdlib>

namespace {

// The value after the first single space of a typed line ("setSpeedOfLight 300000000"); empty
// when there is none.
QString typedValue(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(' '));
    return parts.size() > 1 ? parts.at(1) : QString();
}

QString hexValue(qint16 value)
{
    const QString digits =
        QString::number(std::abs(int(value)), 16).toUpper().rightJustified(2, QLatin1Char('0'));
    return value < 0 ? QString(QLatin1Char('-') + digits) : digits;
}

QString lowerHexByte(int value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0'));
}

} // namespace

ControllerCommands::ControllerCommands(ApplicationContext* context)
    : settings(context->settings()), tcp(context->tcp()), controller(settings, tcp)
{
}

ControllerCommands::~ControllerCommands()
{
    ZTRACE() << "***ControllerCommands destroyed";
}

void ControllerCommands::begin(Slot slot)
{
    connect(&controller, &Controller::videoPaused, this, slot);
    controller.requestPause();
}

bool ControllerCommands::exchange(Slot slot, const QString& text, int timeout)
{
    disconnect(&controller, &Controller::videoPaused, this, slot);
    tcp->setCommand(text);
    return tcp->sendCommand(timeout);
}

void ControllerCommands::answer(const QString& text)
{
    emit answerReceived(text);
    controller.resume();
}

void ControllerCommands::executeCommand(const QString& text)
{
    command = text;
    begin(&ControllerCommands::sendCommand);
}

void ControllerCommands::requestRegisterDump()
{
    begin(&ControllerCommands::dumpRegister);
}

void ControllerCommands::requestConnectionCheck()
{
    begin(&ControllerCommands::checkConnection);
}

void ControllerCommands::requestChipInfo()
{
    begin(&ControllerCommands::checkChipInfo);
}

void ControllerCommands::startVideo()
{
    begin(&ControllerCommands::startedVideo);
}

void ControllerCommands::stopVideo()
{
    if (settings->videoActive() && !settings->running()) {
        // A stop that did not pass the view panel (the main window's close, the save/load
        // page) leaves the loop requesting frames, and a pause now would end in a resume that
        // restarts it: the panel stops the loop first, and its stop comes back here. A stop
        // only announced around a region change keeps the flags running: the camera is told
        // to stop here and to start again once the region is set.
        settings->requestStop();
        return;
    }
    begin(&ControllerCommands::stopedVideo);
}

// Typed lines

void ControllerCommands::sendCommand()
{
    disconnect(&controller, &Controller::videoPaused, this, &ControllerCommands::sendCommand);
    const QString& text = command;
    if (text.contains(Commands::getSpeedOfLight())) {
        readSpeedOfLight();
    } else if (text.contains(QLatin1String("setSpeedOfLight"))) {
        writeSpeedOfLight();
    } else if (text.contains(QLatin1String(Commands::Console::fpsOn))) {
        settings->setShowFrameRate(true);
        answer(QStringLiteral("frame rate enabled"));
    } else if (text.contains(QLatin1String(Commands::Console::fpsOff))) {
        settings->setShowFrameRate(false);
        answer(QStringLiteral("frame rate disabled"));
    } else if (text.contains(Commands::factoryCalibration())) {
        startLong(LongCommand::Marathon, &ControllerCommands::onCalibrationMarathonSuccessful,
                  &ControllerCommands::onCalibrationMarathonFailed, Commands::Timeout::factoryCalibration);
    } else if (text == Commands::searchBadPixels()) {
        startLong(LongCommand::SearchBadPixels, &ControllerCommands::onSearchBadPixelsSuccessful,
                  &ControllerCommands::onSearchBadPixelsFailed, Commands::Timeout::searchBadPixels);
    } else if (text == Commands::calibrateDRNU()) {
        startLong(LongCommand::CalibrateDRNU, &ControllerCommands::onCalibrateDRNUSuccessful,
                  &ControllerCommands::onCalibrateDRNUFailed, Commands::Timeout::calibrateDRNU);
    } else if (text.contains(Commands::renewDRNU())) {
        readDrnu(QStringLiteral("DRNU average"));
    } else if (text.contains(Commands::showDRNU())) {
        readDrnu(QStringLiteral("showDRNU"));
    } else if (text == Commands::hideDRNU()) {
        emit hideDRNU();
        answer(QStringLiteral("hide"));
    } else if (text.contains(QLatin1String(Commands::Console::setEdgeDiffLSB))) {
        setEdgeThreshold();
    } else {
        sendGeneric();
    }
}

void ControllerCommands::readSpeedOfLight()
{
    settings->setReadOffsetOnResume(false);
    tcp->setCommand(command);
    // No reply, a short one or one that is no usable speed keeps the known value: the range
    // computations divide by it.
    if (tcp->sendCommand(Commands::Timeout::slow) && tcp->response().size() >= 8) {
        const double value = tcp->responseDouble();
        if (std::isfinite(value) && value > 0.0)
            settings->setSpeedOfLight(value);
        else
            ZTRACE() << "getSpeedOfLight: unusable reply" << value;
    }
    answer(QString::asprintf("%2.1f", settings->speedOfLight()));
}

void ControllerCommands::writeSpeedOfLight()
{
    settings->setReadOffsetOnResume(false);
    bool ok = false;
    const double value = typedValue(command).toDouble(&ok);
    // Without a positive speed after the keyword nothing is stored or sent.
    if (!ok || !std::isfinite(value) || value <= 0.0) {
        ZTRACE() << "command failed";
        answer(QLatin1String(Commands::Console::operationFailed));
        return;
    }
    settings->setSpeedOfLight(value * 0.5);
    tcp->setCommand(command);
    tcp->sendCommand(Commands::Timeout::slow);
    answer(QStringLiteral("speed of light"));
}

void ControllerCommands::readDrnu(const QString& answerText)
{
    settings->setReadOffsetOnResume(false);
    tcp->setCommand(command);
    // A camera not reached or a cut-off table leaves the previous table.
    if (tcp->sendCommand(Commands::Timeout::renewDRNU))
        Replies::completeDrnuTable(tcp->response(), drnuTable);
    emit answerReceived(answerText);
    emit showDRNU(drnuTable);
    controller.resume();
}

void ControllerCommands::setEdgeThreshold()
{
    bool ok = false;
    const int value = typedValue(command).toInt(&ok);
    if (!ok) {
        answer(QLatin1String(Commands::Console::operationFailed));
        return;
    }
    settings->setEdgeDetectionThreshold(value, false);
    answer(command);
}

void ControllerCommands::sendGeneric()
{
    tcp->setCommand(command);
    if (!tcp->sendCommand(Commands::Timeout::console)) {
        ZTRACE() << "command failed";
        answer(QLatin1String(Commands::Console::operationFailed));
        return;
    }
    answer(hexAnswer(tcp->response()));
}

QString ControllerCommands::hexAnswer(const QByteArray& reply)
{
    if (Replies::reportsFailure(reply)) {
        ZTRACE() << "command failed";
        return QLatin1String(Commands::Console::operationFailed);
    }
    QString text;
    for (qint16 value : Replies::int16List(reply))
        text += hexValue(value) + QLatin1Char(' ');
    return text;
}

// Long camera operations

void ControllerCommands::startLong(LongCommand which, Slot successSlot, Slot failureSlot, int timeout)
{
    settings->setReadOffsetOnResume(false);
    controller.lockFields();
    longCommand = which;
    connect(tcp, &ZelTcp::finishedData, this, successSlot);
    connect(tcp, &ZelTcp::failed, this, failureSlot);
    tcp->setCommand(command);
    tcp->startCommand(timeout);
    switch (which) {
    case LongCommand::Marathon:
        emit calibrationMarathonInProgress();
        break;
    case LongCommand::SearchBadPixels:
        emit searchBadPixelsInProgress();
        break;
    case LongCommand::CalibrateDRNU:
        emit calibrateDRNUInProgress();
        break;
    case LongCommand::None:
        break;
    }
}

bool ControllerCommands::endLong(Slot successSlot, Slot failureSlot)
{
    disconnect(tcp, &ZelTcp::finishedData, this, successSlot);
    disconnect(tcp, &ZelTcp::failed, this, failureSlot);
    if (longCommand == LongCommand::None)
        return false;
    longCommand = LongCommand::None;
    return true;
}

void ControllerCommands::finishLong(Slot successSlot, Slot failureSlot, Done done, bool exchanged)
{
    if (!endLong(successSlot, failureSlot))
        return;
    // Only a successful marathon restarts video; every other outcome leaves it paused.
    const bool resumes = exchanged && done == &ControllerCommands::calibrationMarathonDone;
    if (!resumes) {
        controller.endPaused();
    }
    emit(this->*done)(exchanged);
    if (resumes)
        controller.resume();
}

void ControllerCommands::onCalibrationMarathonSuccessful()
{
    finishLong(&ControllerCommands::onCalibrationMarathonSuccessful,
               &ControllerCommands::onCalibrationMarathonFailed, &ControllerCommands::calibrationMarathonDone,
               true);
}

void ControllerCommands::onCalibrationMarathonFailed()
{
    finishLong(&ControllerCommands::onCalibrationMarathonSuccessful,
               &ControllerCommands::onCalibrationMarathonFailed, &ControllerCommands::calibrationMarathonDone,
               false);
}

void ControllerCommands::onSearchBadPixelsSuccessful()
{
    finishLong(&ControllerCommands::onSearchBadPixelsSuccessful, &ControllerCommands::onSearchBadPixelsFailed,
               &ControllerCommands::searchBadPixelsDone, true);
}

void ControllerCommands::onSearchBadPixelsFailed()
{
    finishLong(&ControllerCommands::onSearchBadPixelsSuccessful, &ControllerCommands::onSearchBadPixelsFailed,
               &ControllerCommands::searchBadPixelsDone, false);
}

void ControllerCommands::onCalibrateDRNUFailed()
{
    finishLong(&ControllerCommands::onCalibrateDRNUSuccessful, &ControllerCommands::onCalibrateDRNUFailed,
               &ControllerCommands::calibrateDRNUDone, false);
}

void ControllerCommands::onCalibrateDRNUSuccessful()
{
    finishLong(&ControllerCommands::onCalibrateDRNUSuccessful, &ControllerCommands::onCalibrateDRNUFailed,
               &ControllerCommands::calibrateDRNUDone, true);
}

// Fixed console actions

void ControllerCommands::checkConnection()
{
    // A camera not reached leaves the reply of an earlier exchange in the buffer: no version.
    const bool reached =
        exchange(&ControllerCommands::checkConnection, Commands::version(), Commands::Timeout::versionCheck);
    const auto version = static_cast<quint16>(tcp->responseInt16());
    controller.resume();
    if (reached && StartupManager::isServerVersionCompatible(version))
        emit success(versionText(version));
    else
        emit failed();
}

QString ControllerCommands::versionText(quint16 version)
{
    return QStringLiteral("%1.%2.%3").arg(version / 10000).arg((version / 100) % 100).arg(version % 100);
}

void ControllerCommands::dumpRegister()
{
    const bool reached = exchange(&ControllerCommands::dumpRegister, Commands::dumpAllRegisters(),
                                  Commands::Timeout::dumpAllRegisters);
    const QVector<QString> lines =
        reached ? dumpLines(tcp->response()) : QVector<QString>{QStringLiteral("connection failed")};
    controller.resume();
    emit dumpReceived(lines);
}

QVector<QString> ControllerCommands::dumpLines(const QByteArray& reply)
{
    const QVector<qint16> values = Replies::registers(reply);
    QVector<QString> lines;
    lines.reserve(values.size());
    for (int i = 0; i < values.size(); ++i)
        lines.append(QLatin1String("0x") + lowerHexByte(i) + QLatin1String("\t 0x") +
                     lowerHexByte(values[i]));
    return lines;
}

void ControllerCommands::checkChipInfo()
{
    const bool reached =
        exchange(&ControllerCommands::checkChipInfo, Commands::getChipInfo(), Commands::Timeout::chipInfo);
    QVector<uint16_t> information;
    if (reached) {
        for (qint16 value : Replies::chipInfo(tcp->response()))
            information.append(static_cast<uint16_t>(value));
    }
    controller.resume();
    emit chipInfoReceived(information);
}

// Video switches of the camera, following the hub

void ControllerCommands::startedVideo()
{
    switchVideo(&ControllerCommands::startedVideo, Commands::startVideo(), Commands::Timeout::startVideo);
}

void ControllerCommands::stopedVideo()
{
    switchVideo(&ControllerCommands::stopedVideo, Commands::stopVideo(), Commands::Timeout::stopVideo);
}

void ControllerCommands::switchVideo(Slot slot, const QString& text, int timeout)
{
    if (longCommandRunning()) {
        // A stop during a long operation (the save/load page stops acquisition) must not
        // abort the operation's exchange; the camera is busy with it anyway.
        disconnect(&controller, &Controller::videoPaused, this, slot);
        ZTRACE() << text << "skipped: a long camera operation is running";
        return;
    }
    tcp->closeAfterWait(Commands::Timeout::closeBeforeVideoSwitch);
    exchange(slot, text, timeout);
    controller.resume();
}
