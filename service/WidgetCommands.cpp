#include "service/WidgetCommands.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "measurement/InfoDRNUCurve.h"
#include "service/DialogSystemInfo.h"
#include "settings/Settings.h"
#include "ui_WidgetCommands.h"
#include "widgets/DialogOK.h"

#include <QCoreApplication>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr int highlightMs = 50;
const char* const highlighted = "background-color:rgb(255,255,106);";
const char* const plain = "background-color:rgb(255,255,255);";
} // namespace

WidgetCommands::WidgetCommands(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetCommands)
    , settings(context->settings())
    , tcp(context->tcp())
    , commands(context)
    , labeler(settings)
    , controller(settings, tcp)
    , systemInfo(new DialogSystemInfo(settings))
    , drnuCurve(new InfoDRNUCurve())
{
    ui->setupUi(this);
    connect(ui->leCommand, &QLineEdit::returnPressed, ui->pbExecuteCommand, &QToolButton::click);
    connect(&commands, &ControllerCommands::calibrationMarathonInProgress, this,
            &WidgetCommands::onCalibrationMarathonInProgress);
    connect(&commands, &ControllerCommands::searchBadPixelsInProgress, this,
            &WidgetCommands::onSearchBadPixelsInProgress);
    connect(&commands, &ControllerCommands::calibrateDRNUInProgress, this,
            &WidgetCommands::onCalibrateDRNUInProgress);
    // Every stop of acquisition (the main window's close included) tells the camera to stop.
    connect(settings, &Settings::startedVideo, &commands, &ControllerCommands::startVideo);
    connect(settings, &Settings::stopped, &commands, &ControllerCommands::stopVideo);
}

WidgetCommands::~WidgetCommands()
{
    ZTRACE() << "-----WidgetCommands destroying";
    delete drnuCurve;
    delete systemInfo;
    delete ui;
    ZTRACE() << "-----WidgetCommands destroyed";
}

void WidgetCommands::readSpeedOfLight()
{
    // A start-up query, not a typed command: one exchange without a transaction, so that
    // it neither turns off the offset re-read on resume nor unlocks (and re-announces) the
    // panels before they are set up.
    tcp->setCommand(Commands::getSpeedOfLight());
    if (!tcp->sendCommand(Commands::Timeout::slow) || tcp->response().size() < 8)
        return;
    const double value = tcp->responseDouble();
    if (std::isfinite(value) && value > 0.0)
        settings->setSpeedOfLight(value);
    else
        ZTRACE() << "getSpeedOfLight: unusable reply" << value;
}

// Typed commands

void WidgetCommands::on_pbExecuteCommand_clicked()
{
    ui->pbExecuteCommand->blockSignals(true);
    ui->pbExecuteCommand->setEnabled(false);
    connect(&commands, &ControllerCommands::answerReceived, this, &WidgetCommands::updateResponse,
            Qt::UniqueConnection);
    connect(&commands, &ControllerCommands::calibrationMarathonDone, this,
            &WidgetCommands::onCalibrationMarathonDone, Qt::UniqueConnection);
    connect(&commands, &ControllerCommands::searchBadPixelsDone, this, &WidgetCommands::onSearchBadPixelsDone,
            Qt::UniqueConnection);
    connect(&commands, &ControllerCommands::calibrateDRNUDone, this, &WidgetCommands::onCalibrateDRNUDone,
            Qt::UniqueConnection);
    connect(&commands, &ControllerCommands::showDRNU, this, &WidgetCommands::onShowDRNU,
            Qt::UniqueConnection);
    connect(&commands, &ControllerCommands::hideDRNU, this, &WidgetCommands::onHideDRNU,
            Qt::UniqueConnection);

    const QString text = ui->leCommand->text();
    if (text.contains(QLatin1String(Commands::Console::calibrationOn))) {
        requestCalibrationSwitch(true);
    } else if (text.contains(QLatin1String(Commands::Console::calibrationOff))) {
        requestCalibrationSwitch(false);
    } else if (text.contains(QLatin1String(Commands::Console::tof))) {
        emit hideInfoWindows();
        sendModeCommand(text);
    } else if (text.contains(QLatin1String(Commands::Console::flim))) {
        emit hideInfoWindows();
        drnuCurve->hide();
        sendModeCommand(text);
    } else {
        commands.executeCommand(text);
    }
}

void WidgetCommands::requestCalibrationSwitch(bool on)
{
    connect(&controller, &Controller::videoPaused, this,
            on ? qOverload<>(&WidgetCommands::enableCalibration) : &WidgetCommands::disableCalibration);
    controller.requestPause();
}

void WidgetCommands::enableCalibration()
{
    disconnect(&controller, &Controller::videoPaused, this, qOverload<>(&WidgetCommands::enableCalibration));
    emit enableCalibration(true);
    updateResponse(QStringLiteral("on"));
    controller.resume();
}

void WidgetCommands::disableCalibration()
{
    disconnect(&controller, &Controller::videoPaused, this, &WidgetCommands::disableCalibration);
    emit enableCalibration(false);
    updateResponse(QStringLiteral("off"));
    controller.resume();
}

void WidgetCommands::sendModeCommand(const QString& text)
{
    // The camera switches between TOF and FLIM operation: video stops, and the start-up runs
    // again for the other sensor mode.
    const bool wasRunning = settings->running();
    settings->requestStop();
    commands.executeCommand(ui->leCommand->text());
    if (wasRunning)
        commands.executeCommand(ui->leCommand->text());
    updateResponse(text);
    emit reloadSettings();
}

void WidgetCommands::disconnectResponse()
{
    disconnect(&commands, &ControllerCommands::answerReceived, this, &WidgetCommands::updateResponse);
    disconnect(&commands, &ControllerCommands::calibrationMarathonDone, this,
               &WidgetCommands::onCalibrationMarathonDone);
    disconnect(&commands, &ControllerCommands::searchBadPixelsDone, this,
               &WidgetCommands::onSearchBadPixelsDone);
    disconnect(&commands, &ControllerCommands::calibrateDRNUDone, this, &WidgetCommands::onCalibrateDRNUDone);
}

void WidgetCommands::releaseSendButton()
{
    ui->pbExecuteCommand->setEnabled(true);
    ui->pbExecuteCommand->blockSignals(false);
    QTimer::singleShot(highlightMs, this, &WidgetCommands::changeColor);
}

void WidgetCommands::updateResponse(QString response)
{
    disconnectResponse();
    ui->leResponse->setStyleSheet(QLatin1String(highlighted));
    ui->leResponse->setText(response);
    releaseSendButton();
}

void WidgetCommands::changeColor()
{
    ui->leResponse->setStyleSheet(QLatin1String(plain));
}

// Long camera operations typed into the console

void WidgetCommands::onCalibrationMarathonInProgress()
{
    ui->leResponse->setText(QStringLiteral("factoryCalibration in progress..."));
}

void WidgetCommands::onSearchBadPixelsInProgress()
{
    ui->leResponse->setText(QStringLiteral("searchBadPixels in progress..."));
}

void WidgetCommands::onCalibrateDRNUInProgress()
{
    ui->leResponse->setText(QStringLiteral("calibrateDRNU in progress..."));
}

int WidgetCommands::longStatus(bool exchanged) const
{
    return exchanged ? tcp->responseInt16() : 1;
}

void WidgetCommands::showLongResult(const QString& text)
{
    disconnectResponse();
    ui->leResponse->setText(text);
    releaseSendButton();
}

void WidgetCommands::onCalibrationMarathonDone(bool successful)
{
    const int status = longStatus(successful);
    showLongResult(status == 0    ? QStringLiteral("calibrationMarathon successful")
                   : status == -1 ? QStringLiteral("calibrationMarathon failed: Files could not be stored.")
                                  : QStringLiteral("calibrationMarathon failed"));
}

void WidgetCommands::onCalibrateDRNUDone(bool successful)
{
    const int status = longStatus(successful);
    showLongResult(status == 0    ? QStringLiteral("calibrateDRNUsuccessful")
                   : status == -1 ? QStringLiteral("calibrateDRNU failed: Files could not be stored.")
                                  : QStringLiteral("calibrateDRNU failed"));
}

void WidgetCommands::onSearchBadPixelsDone(bool successful)
{
    disconnectResponse();
    const int status = longStatus(successful);
    DialogOK dialog(
        DialogOK::Important,
        status == 0    ? QStringLiteral("searchBadPixels successful. The application will be restarted.")
        : status == -1 ? QStringLiteral("searchBadPixels failed: Files could not be stored. The "
                                        "application will be restarted.")
                       : QStringLiteral("searchBadPixels failed. The application will be restarted."),
        this);
    dialog.setWindowTitle(status == 0 ? QStringLiteral("Success") : QStringLiteral("Error"));
    dialog.exec();

    // The program quits without the main window's close: the user's configuration is saved
    // here, and the camera told to stop, before the new process starts.
    emit saveConfigApp();
    settings->stopAcquisition();
    if (!restart.restart(QCoreApplication::arguments()))
        showLongResult(QStringLiteral("restart failed"));
}

// DRNU window

void WidgetCommands::onShowDRNU(int16_t* val)
{
    drnuCurve->setTable(val, labeler.updateRangeMm());
    drnuCurve->show();
}

void WidgetCommands::onHideDRNU()
{
    drnuCurve->hide();
}

// Connection test, register dump, system information

void WidgetCommands::on_pbTestConnection_clicked()
{
    connect(&commands, &ControllerCommands::success, this, &WidgetCommands::successful, Qt::UniqueConnection);
    connect(&commands, &ControllerCommands::failed, this, &WidgetCommands::failed, Qt::UniqueConnection);
    commands.requestConnectionCheck();
}

void WidgetCommands::successful(QString version)
{
    endConnectionTest(DialogOK::Success, version);
}

void WidgetCommands::failed()
{
    endConnectionTest(DialogOK::Failure, QStringLiteral("connection failed"));
}

void WidgetCommands::endConnectionTest(int kind, const QString& text)
{
    disconnect(&commands, &ControllerCommands::success, this, &WidgetCommands::successful);
    disconnect(&commands, &ControllerCommands::failed, this, &WidgetCommands::failed);
    DialogOK(kind, text, this).exec();
}

void WidgetCommands::on_pbDumpAllRegisters_clicked()
{
    connect(&commands, &ControllerCommands::dumpReceived, this, &WidgetCommands::updateDump,
            Qt::UniqueConnection);
    commands.requestRegisterDump();
}

void WidgetCommands::updateDump(QVector<QString> registerValues)
{
    disconnect(&commands, &ControllerCommands::dumpReceived, this, &WidgetCommands::updateDump);
    ui->peRegisterDump->clear();
    for (const QString& line : registerValues)
        ui->peRegisterDump->appendPlainText(line);
    // Register 0x00 first in view.
    ui->peRegisterDump->moveCursor(QTextCursor::Start);
}

void WidgetCommands::on_pbSystemInfo_clicked()
{
    connect(&commands, &ControllerCommands::chipInfoReceived, this, &WidgetCommands::showSystemInfo,
            Qt::UniqueConnection);
    commands.requestChipInfo();
}

void WidgetCommands::showSystemInfo(QVector<uint16_t> information)
{
    disconnect(&commands, &ControllerCommands::chipInfoReceived, this, &WidgetCommands::showSystemInfo);
    // No reply: the buffer holds an earlier exchange, which is no chip identification.
    if (information.isEmpty()) {
        DialogOK(DialogOK::Failure, QStringLiteral("connection failed"), this).exec();
        return;
    }
    systemInfo->setInformation(information);
    systemInfo->show();
}
