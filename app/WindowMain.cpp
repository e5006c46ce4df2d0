#include "app/WindowMain.h"

#include "app/ApplicationContext.h"
#include "app/ConfigurationChoice.h"
#include "app/MakerWebSite.h"
#include "app/StartupManager.h"
#include "app/Trace.h"
#include "app/WidgetView.h"
#include "link/Commands.h"
#include "recording/WidgetLog.h"
#include "service/WidgetCalibration.h"
#include "service/WidgetCommands.h"
#include "settings/WidgetSaveLoad.h"
#include "ui_WindowMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QShowEvent>
#include <QTimer>

namespace {
struct StatusText
{
    const char* text;
    const char* style;
};

constexpr const char* red = "background-color: rgb(228, 10, 21);";
constexpr const char* teal = "background-color: rgb(6, 143, 133);";
constexpr const char* orange = "background-color: rgb(255, 100, 0);";

// By correction status, grayscale (0-4) then distance (5-9).
constexpr StatusText statusTexts[] = {
    {"DSNU / PRNU correction not available", red},
    {"DSNU & PRNU corrected", teal},
    {"DSNU & PRNU not corrected", orange},
    {"PRNU not corrected", orange},
    {"DSNU not corrected", orange},
    {"DRNU & Temperature correction not available", red},
    {"DRNU & Temperature corrected", teal},
    {"DRNU & Temperature not corrected", orange},
    {"Temperature not corrected", orange},
    {"DRNU not corrected", orange},
};

// The calibration type with which corrections need ABS switched off; every other
// calibrated type needs it on.
constexpr int calibrationWithoutAbs = 21;
} // namespace

WindowMain::WindowMain(ApplicationContext* context, StartupManager* startupManager, QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui::WindowMain)
    , settings(context->settings())
    , tcp(context->tcp())
    , manager(context->settings())
    , startupManager(startupManager)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Kestrane TOF Imager"));
    setContextMenuPolicy(Qt::NoContextMenu);
    // Offered only once the command console unlocks calibration.
    ui->actionCalibration->setVisible(false);
    ui->actionCalibration->setEnabled(false);

    view = new WidgetView(context, this);
    commands = new WidgetCommands(context, this);
    log = new WidgetLog(context, this);
    calibration = new WidgetCalibration(context, this);
    saveLoad = new WidgetSaveLoad(settings, tcp, &manager, this);
    const struct
    {
        QWidget* page;
        const char* name;
    } pages[] = {{view, "view"},
                 {commands, "commands"},
                 {log, "log"},
                 {calibration, "calibration"},
                 {saveLoad, "save/load"}};
    for (const auto& page : pages) {
        page.page->setObjectName(QLatin1String(page.name));
        ui->stackedView->addWidget(page.page);
    }

    connect(settings->settings3D(), &Settings3D::calibrationTypeChanged, this, &WindowMain::updateStatus);
    connect(calibration, &WidgetCalibration::saveConfigApp, this, &WindowMain::saveConfiguration);
    connect(commands, &WidgetCommands::enableCalibration, this, &WindowMain::enableCalibration);
    connect(commands, &WidgetCommands::reloadSettings, this, &WindowMain::reloadSettings);
    connect(commands, &WidgetCommands::hideInfoWindows, view, &WidgetView::hideInfoWindows);
    connect(view, &WidgetView::disableLogCM, log, &WidgetLog::disableCM);
    connect(this, &WindowMain::showLogDialog, view, &WidgetView::showLogDialog);
    connect(view, &WidgetView::enableMainWindowLogIcon, this, &WindowMain::enableLogIcon);

    // A lost settings command: the hub holds a value the camera may not have.
    lCommandFailed = new QLabel(ui->wStatus);
    lCommandFailed->setObjectName(QStringLiteral("lCommandFailed"));
    lCommandFailed->setStyleSheet(
        QStringLiteral("color: white; background-color: rgb(228, 10, 21); padding: 2px;"));
    lCommandFailed->hide();
    ui->wStatus->layout()->addWidget(lCommandFailed);
    commandFailedExpiry = new QTimer(this);
    commandFailedExpiry->setSingleShot(true);
    commandFailedExpiry->setInterval(kCommandFailedShownMs);
    connect(commandFailedExpiry, &QTimer::timeout, lCommandFailed, [this] {
        lCommandFailed->clear();
        lCommandFailed->hide();
    });
    connect(settings, &Settings::commandFailed, this, &WindowMain::showCommandFailed);
}

void WindowMain::showCommandFailed(const QString& command)
{
    lCommandFailed->setText(QStringLiteral("Setting not applied, the camera did not answer: ") + command);
    lCommandFailed->show();
    commandFailedExpiry->start();
}

QString WindowMain::commandFailedText() const
{
    return lCommandFailed->text();
}

WindowMain::~WindowMain()
{
    ZTRACE() << "-----WindowMain destroying";
    delete ui;
    ZTRACE() << "-----WindowMain destroyed";
}

void WindowMain::initialize(bool loadDefault)
{
    const int chipType = settings->chipType();
    setUpForChip(chipType);
    loadConfiguration(chipType, loadDefault);
    // The filter fields that follow the Kalman K in the file reach the panel only now.
    view->updateControls();

    SettingsROI* roi = settings->roi();
    roi->setChipType(chipType);
    view->refreshRoiViews();
    // The pixel scope starts on the centre row of the sensor.
    const int centreRow = roi->sensorHeight() / 2 - 1;
    settings->pixelScope()->setY1(centreRow);
    settings->pixelScope()->setY2(centreRow);

    applyWindowGeometry();
    readAutomaticOffset();

    enableCalibration(settings->enabledCalibration());
    commands->readSpeedOfLight();

    if (loadDefault && m_offerPreConfiguration) {
        on_actionSaveLoad_triggered();
        saveLoad->on_tbLoad_clicked();
        on_actionView_triggered();
    }

    applyCorrectionLock();
}

void WindowMain::setUpForChip(int chipType)
{
    if (settings->flim()->flimChip()) {
        // FLIM chips measure gate timing: no automatic offset on resume, no DRNU calibration
        // page and no distance-correction status.
        settings->setReadOffsetOnResume(false);
        view->setUpForChip(true);
        log->setUnitControlsHidden(true);
        ui->actionCalibration->setVisible(false);
        ui->lProduct->setText(chipType == 5 ? QStringLiteral("zc220") : QStringLiteral("zc210"));
        ui->wStatus->hide();
    } else if (chipType == 4 || chipType == 2) {
        view->setUpForChip(false);
        log->setUnitControlsHidden(false);
        ui->lProduct->setText(chipType == 4 ? QStringLiteral("zc310") : QStringLiteral("zc320"));
        ui->wStatus->show();
    }
}

void WindowMain::loadConfiguration(int chipType, bool loadDefault)
{
    m_chosenConfiguration = ConfigurationChoice::primary(chipType, loadDefault);
    if (m_chosenConfiguration.isEmpty()) {
        ZTRACE() << "no configuration for chip type" << chipType;
        return;
    }
    if (!manager.loadConfig(m_chosenConfiguration) && !loadDefault) {
        // First start on this machine, or a damaged last configuration: the chip's built-in
        // default, as "Load default" loads it, so that the client's settings are the camera's.
        ZTRACE().nospace() << "last configuration not readable, loading the default: "
                           << m_chosenConfiguration;
        loadDefault = true;
        m_chosenConfiguration = ConfigurationChoice::primary(chipType, true);
        manager.loadConfig(m_chosenConfiguration);
    }
    // The low modulation frequencies of the TOF sensors come with a second default.
    const QString second = ConfigurationChoice::secondDefault(chipType);
    const int frequencyIndex = settings->modulation()->frequencyIndex();
    if (loadDefault && !second.isEmpty() && (frequencyIndex == 0 || frequencyIndex == 1))
        manager.loadConfig(second);
}

void WindowMain::applyWindowGeometry()
{
    // A configuration without a stored geometry (or an offline start) keeps the form's.
    if (settings->windPosX() >= 0 && settings->windPosY() >= 0 && settings->windWidth() > 0 &&
        settings->windHeight() > 0)
        setGeometry(settings->windPosX(), settings->windPosY(), settings->windWidth(),
                    settings->windHeight());
}

void WindowMain::readAutomaticOffset()
{
    tcp->setCommand(Commands::getOffset());
    tcp->sendCommand(Commands::Timeout::settings);
    // An unreachable camera leaves the reply empty, which reads as offset 0.
    settings->settings3D()->setAutomaticOffset(tcp->responseInt16());
}

void WindowMain::applyCorrectionLock()
{
    const int type = settings->modulation()->calibrationTypeOf(settings->modulation()->frequencyIndex());
    const bool abs = settings->abs()->abs();
    if ((type == calibrationWithoutAbs && abs) || (type != calibrationWithoutAbs && !abs) || type <= 0)
        settings->lockCorrections(true);
}

void WindowMain::on_actionView_triggered()
{
    ui->stackedView->setCurrentIndex(PageView);
}

void WindowMain::on_actionCommand_triggered()
{
    ui->stackedView->setCurrentIndex(PageCommands);
}

void WindowMain::on_actionLog_triggered()
{
    // The capture panel opens beside the live image; the page stays.
    emit showLogDialog(true);
}

void WindowMain::on_actionCalibration_triggered()
{
    calibration->updateCalibrationList();
    ui->stackedView->setCurrentIndex(PageCalibration);
}

void WindowMain::on_actionSaveLoad_triggered()
{
    settings->stopAcquisition();
    ui->stackedView->setCurrentIndex(PageSaveLoad);
}

void WindowMain::on_tbLogo_clicked()
{
    MakerWebSite::open();
}

void WindowMain::updateStatus(Settings3D::CalibrationType type)
{
    // The strip shows the grayscale corrections in grayscale mode and the distance
    // corrections in every other mode.
    const bool grayscale = settings->modeIndex() == 0;
    const bool shown = grayscale ? (type >= 0 && type <= 4) : (type >= 5 && type <= 9);
    if (!shown)
        return;
    ui->lStatus->setText(QLatin1String(statusTexts[type].text));
    ui->wStatus->setStyleSheet(QLatin1String(statusTexts[type].style));
}

void WindowMain::saveConfiguration()
{
    const QRect frame = geometry();
    settings->setWindPosX(frame.x());
    settings->setWindPosY(frame.y());
    settings->setWindWidth(frame.width());
    settings->setWindHeight(frame.height());
    const QString path = ConfigurationChoice::lastConfiguration(settings->chipType());
    if (path.isEmpty())
        return;
    if (!manager.saveConfig(path))
        ZTRACE() << "could not write the last configuration" << path;
}

void WindowMain::enableCalibration(bool state)
{
    ui->actionCalibration->setVisible(state);
    ui->actionCalibration->setEnabled(state);
    settings->setEnabledCalibration(state);
}

void WindowMain::reloadSettings()
{
    // The camera restarted (after a bad-pixel search, for example): identify it again and
    // send it the default configuration.
    startupManager->connectToCamera();
    initialize(true);
    view->refreshCorrectionControls();
}

void WindowMain::enableLogIcon(bool state)
{
    ui->actionLog->setEnabled(state);
}

void WindowMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_startVideoWhenShown && !event->spontaneous()) {
        m_startVideoWhenShown = false;
        // After the first paint, as if the user pressed "Start".
        QTimer::singleShot(0, this, &WindowMain::startVideo);
    }
}

void WindowMain::startVideo()
{
    ZTRACE() << "live video requested";
    emit videoStartRequested();
}

void WindowMain::closeEvent(QCloseEvent* event)
{
    saveConfiguration();
    settings->stopAcquisition();
    // The exchange in flight, if any, gets 500 ms before the channel is closed.
    tcp->closeAfterWait(500);
    event->accept();
    QApplication::closeAllWindows();
    QApplication::quit();
}
