#include "app/WidgetView.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "link/Commands.h"
#include "measurement/InfoDRNUCurve.h"
#include "measurement/InfoTemperature.h"
#include "measurement/InfoTemperature1.h"
#include "recording/WidgetLogging.h"
#include "ui_WidgetView.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDCS.h"
#include "views/WidgetDCSGrayscale.h"
#include "views/WidgetDifDCS.h"
#include "views/WidgetDistance.h"
#include "views/WidgetFLIM.h"
#include "views/WidgetGrayscale.h"
#include "views/WidgetHDR.h"
#include "views/WidgetPointCloud.h"
#include "views/WindowControls.h"
#include "views/WindowDemo.h"
#include "widgets/EventFilterWheel.h"

#include <QDoubleSpinBox>
#include <QIcon>

namespace {
// Image-window pages, in the order the panel adds them.
enum Page
{
    PageGrayscale = 0,
    PageDistance = 1,
    PageAmplitude = 2,
    PagePointCloud = 3,
    PageDCS = 4,
    PageDifDCS = 5,
    PageDCSGrayscale = 6,
    PageFLIM = 7,
    PageHDR = 8
};
} // namespace

WidgetView::WidgetView(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetView)
    , settings(context->settings())
    , tcp(context->tcp())
    , demo(new WindowDemo(settings))
    , grayscale(new WidgetGrayscale(context))
    , distance(new WidgetDistance(context))
    , amplitude(new WidgetAmplitude(context))
    , pointCloud(new WidgetPointCloud(context))
    , dcs(new WidgetDCS(context))
    , difDcs(new WidgetDifDCS(context))
    , dcsGrayscale(new WidgetDCSGrayscale(context))
    , flim(new WidgetFLIM(context))
    , hdr(new WidgetHDR(context))
    , controller(context)
    , labeler(settings)
    , drnuCurveWindow(new InfoDRNUCurve)
    , temperature(new InfoTemperature(settings))
    , temperature1(new InfoTemperature1(settings))
    , logging(new WidgetLogging(settings))
{
    ui->setupUi(this);
    // The Kalman fields are plain double spin boxes; like the program's own spin boxes they
    // leave the wheel to the settings area, so scrolling over them sends no command.
    for (QDoubleSpinBox* box : {ui->sbKalmanK, ui->sbKalmanK3, ui->sbKalmanQ, ui->sbKalmanDiff})
        box->installEventFilter(new EventFilterWheel(box));
    // The image window owns the views as its pages.
    demo->addPage(grayscale);
    demo->addPage(distance);
    demo->addPage(amplitude);
    demo->addPage(pointCloud);
    demo->addPage(dcs);
    demo->addPage(difDcs);
    demo->addPage(dcsGrayscale);
    demo->addPage(flim);
    demo->addPage(hdr);
    demo->fitToSensor();

    connect(settings, &Settings::modeIndexChanged, ui->cbViewMode, &QComboBox::setCurrentIndex);
    connect(settings, &Settings::stopRequested, this, &WidgetView::stopVideo);
    connect(settings, &Settings::pauseRequested, this, &WidgetView::pauseVideo);
    connect(settings, &Settings::started, this, &WidgetView::startVideo);
    connect(settings, &Settings::updateDemoWinSize, demo, &WindowDemo::setWindowSize);
    connect(tcp, &ZelTcp::ready, this, &WidgetView::ready);
    connect(tcp, &ZelTcp::failed, this, &WidgetView::ready);

    // Any of these options adds work or an exchange per frame.
    connect(ui->cbTemperatures, &QCheckBox::toggled, this, &WidgetView::updateWarning);
    connect(ui->cbPixelScope, &QCheckBox::toggled, this, &WidgetView::updateWarning);
    connect(ui->cbPixelInfo, &QCheckBox::toggled, this, &WidgetView::updateWarning);

    connect(distance, &WidgetDistance::markerSelected, ui->cbPixelInfo, &QCheckBox::setChecked);
    connect(distance, &WidgetDistance::timeScopeChecked, ui->cbTimeScope, &QCheckBox::setChecked);
    for (ImageViewBase* view :
         {static_cast<ImageViewBase*>(grayscale), static_cast<ImageViewBase*>(distance),
          static_cast<ImageViewBase*>(amplitude), static_cast<ImageViewBase*>(pointCloud),
          static_cast<ImageViewBase*>(dcs), static_cast<ImageViewBase*>(difDcs),
          static_cast<ImageViewBase*>(dcsGrayscale), static_cast<ImageViewBase*>(flim),
          static_cast<ImageViewBase*>(hdr)})
        connect(view, &ImageViewBase::pictureUpdated, this, &WidgetView::pictureShown);

    // The selector starts on the hub's view mode (the FLIM mode, 10, has no item).
    const int mode = settings->modeIndex();
    if (mode >= 0 && mode < ui->cbViewMode->count()) {
        const QSignalBlocker blocker(ui->cbViewMode);
        ui->cbViewMode->setCurrentIndex(mode);
    }
    demo->setPage(pageOfMode(settings->flim()->flimChip() ? flimModeIndex : mode));

    setUpSettingsPanels(context);
    setUpCorrections();
}

WidgetView::~WidgetView()
{
    ZTRACE() << "-----WidgetView destroying";
    // The image window owns the views; they go with it.
    delete demo;
    delete drnuCurveWindow;
    delete temperature;
    delete temperature1;
    delete logging;
    delete ui;
    ZTRACE() << "-----WidgetView destroyed";
}

int WidgetView::pageOfMode(int modeIndex)
{
    switch (modeIndex) {
    case 0:
        return PageGrayscale;
    case 1:
        return PageDistance;
    case 2:
    case 3:
    case 4:
        return PageAmplitude;
    case 5:
        return PagePointCloud;
    case 6:
        return PageDCS;
    case 7:
        return PageDifDCS;
    case 8:
        return PageDCSGrayscale;
    case 9:
        return PageHDR;
    case flimModeIndex:
        return PageFLIM;
    default:
        return -1;
    }
}

void WidgetView::on_pbGetVideo_clicked()
{
    if (ui->pbGetVideo->text() == QLatin1String("Start")) {
        // With temperature polling the camera is not switched to video mode.
        if (!settings->temperaturePolling()) {
            tcp->setCommand(Commands::startVideo());
            tcp->sendCommand(Commands::Timeout::startVideo);
        }
        settings->startAcquisition();
    } else {
        settings->requestStop();
    }
}

void WidgetView::startVideo()
{
    ui->pbGetVideo->setText(QStringLiteral("Stop"));
    ui->pbGetVideo->setStyleSheet(QStringLiteral("QToolButton{background-color: rgb(251, 34, 50);}"));
    ui->pbGetVideo->setIcon(QIcon(QStringLiteral(":/icons/images/icons/videoStop.png")));
    ui->pbGetPicture->setEnabled(false);
    connect(tcp, &ZelTcp::ready, this, &WidgetView::getPicture, Qt::UniqueConnection);
    connect(tcp, &ZelTcp::failed, this, &WidgetView::getPicture, Qt::UniqueConnection);
    getPicture();
}

void WidgetView::getPicture()
{
    ui->pbGetPicture->setEnabled(false);
    demo->show();
    if (settings->flim()->flimChip()) {
        flim->startView();
        return;
    }
    const int index = ui->cbViewMode->currentIndex();
    switch (index) {
    case 0:
        grayscale->startView();
        break;
    case 1:
        distance->startView();
        break;
    case 2:
    case 3:
    case 4:
        amplitude->setColorType(index == 2 ? WidgetAmplitude::Ramp : WidgetAmplitude::Gray);
        amplitude->startView();
        break;
    case 5:
        pointCloud->startView();
        break;
    case 6:
        dcs->startView();
        break;
    case 7:
        difDcs->startView();
        break;
    case 8:
        dcsGrayscale->startView();
        break;
    case 9:
        hdr->startView();
        break;
    default:
        // No view for this mode: nothing is requested, and the snapshot button is offered again.
        ZTRACE() << "no image view for view mode" << index;
        ready();
        break;
    }
}

void WidgetView::pauseVideo()
{
    ui->pbGetVideo->setText(QStringLiteral("Start"));
    ui->pbGetVideo->setStyleSheet(QStringLiteral("QToolButton{background-color: rgb(84, 141, 105);}"));
    ui->pbGetVideo->setIcon(QIcon(QStringLiteral(":/icons/images/icons/videoStart.png")));
    grayscale->disconnectSlots();
    distance->disconnectSlots();
    amplitude->disconnectSlots();
    pointCloud->disconnectSlots();
    dcs->disconnectSlots();
    difDcs->disconnectSlots();
    dcsGrayscale->disconnectSlots();
    flim->disconnectSlots();
    hdr->disconnectSlots();
    disconnect(tcp, &ZelTcp::ready, this, &WidgetView::getPicture);
    disconnect(tcp, &ZelTcp::failed, this, &WidgetView::getPicture);
    ui->pbGetPicture->setEnabled(true);
    settings->pauseAcquisition();
}

void WidgetView::stopVideo()
{
    pauseVideo();
    settings->stopAcquisition();
}

void WidgetView::on_pbGetPicture_clicked()
{
    getPicture();
}

void WidgetView::ready()
{
    ui->pbGetPicture->setEnabled(true);
}

void WidgetView::on_cbViewMode_currentIndexChanged(int index)
{
    hideInfoWindows();
    pointCloud->controls()->hide();
    const bool flimChip = settings->flim()->flimChip();
    if (!flimChip) {
        // The hub follows the selector; a FLIM chip stays in the FLIM mode whatever it shows.
        const bool leavesOrEntersDcsGrayscale = (index == 8) != (settings->modeIndex() == 8);
        if (settings->modeIndex() != index)
            settings->setModeIndex(index);
        demo->setPage(pageOfMode(index));
        if (leavesOrEntersDcsGrayscale)
            demo->fitToSensor();
    }
    const bool noPixelInfo = index == 5 || index == 9;
    ui->cbPixelInfo->setEnabled(!noPixelInfo);
    ui->cbTimeScope->setEnabled(!noPixelInfo);
    if (index > 4) {
        ui->cbPixelScope->setChecked(false);
        ui->cbPixelScope->setEnabled(false);
    } else {
        ui->cbPixelScope->setEnabled(true);
    }
    if (settings->pixelInfoEnabled())
        setPixelInfoOfMode(index, true);
    if (settings->pixelScopeEnabled())
        setPixelScopeOfMode(index, true);
    applyViewModeLayout(index);
}

void WidgetView::setPixelInfoOfMode(int modeIndex, bool visible)
{
    if (settings->flim()->flimChip()) {
        flim->setPixelInfoVisible(visible);
        return;
    }
    switch (modeIndex) {
    case 0:
        grayscale->setPixelInfoVisible(visible);
        break;
    case 1:
        distance->setPixelInfoVisible(visible);
        break;
    case 2:
    case 3:
    case 4:
        amplitude->setPixelInfoVisible(visible);
        break;
    case 6:
        dcs->setPixelInfoVisible(visible);
        break;
    case 7:
        difDcs->setPixelInfoVisible(visible);
        break;
    case 8:
        dcsGrayscale->setPixelInfoVisible(visible);
        break;
    default:
        break;
    }
}

void WidgetView::setPixelScopeOfMode(int modeIndex, bool visible)
{
    if (settings->flim()->flimChip()) {
        flim->setPixelScopeVisible(visible);
        return;
    }
    switch (modeIndex) {
    case 0:
        grayscale->setPixelScopeVisible(visible);
        break;
    case 1:
        distance->setPixelScopeVisible(visible);
        break;
    case 2:
    case 3:
    case 4:
        amplitude->setPixelScopeVisible(visible);
        break;
    default:
        break;
    }
}

void WidgetView::hideInfoWindows()
{
    grayscale->setPixelInfoVisible(false);
    distance->setPixelInfoVisible(false);
    amplitude->setPixelInfoVisible(false);
    dcs->setPixelInfoVisible(false);
    difDcs->setPixelInfoVisible(false);
    dcsGrayscale->setPixelInfoVisible(false);
    flim->setPixelInfoVisible(false);
    grayscale->setPixelScopeVisible(false);
    distance->setPixelScopeVisible(false);
    amplitude->setPixelScopeVisible(false);
    flim->setPixelScopeVisible(false);
    onHideDRNU();
}

void WidgetView::on_cbPixelInfo_clicked(bool checked)
{
    settings->announceFieldsLocked(true);
    settings->setPixelInfoEnabled(checked);
    updateWarning();
    if (checked) {
        setPixelInfoOfMode(ui->cbViewMode->currentIndex(), true);
    } else {
        grayscale->setPixelInfoVisible(false);
        distance->setPixelInfoVisible(false);
        amplitude->setPixelInfoVisible(false);
        dcs->setPixelInfoVisible(false);
        difDcs->setPixelInfoVisible(false);
        dcsGrayscale->setPixelInfoVisible(false);
        flim->setPixelInfoVisible(false);
    }
    settings->announceFieldsLocked(false);
}

void WidgetView::on_cbPixelScope_toggled(bool checked)
{
    updateWarning();
    settings->setPixelScopeEnabled(checked);
    Settings3D* s3d = settings->settings3D();
    if (checked) {
        // Every pixel is shown in the scope, also those of low amplitude.
        savedMinAmplitude = s3d->minAmplitude();
        s3d->setMinAmplitude(0);
        setPixelScopeOfMode(ui->cbViewMode->currentIndex(), true);
    } else {
        s3d->setMinAmplitude(savedMinAmplitude);
        grayscale->setPixelScopeVisible(false);
        distance->setPixelScopeVisible(false);
        amplitude->setPixelScopeVisible(false);
        flim->setPixelScopeVisible(false);
    }
}

void WidgetView::on_cbTemperatures_toggled(bool checked)
{
    updateWarning();
    settings->setTemperaturePolling(checked);
    if (checked)
        settings->announceStopped();
    // The chip may have changed since the window opened: the other one never stays open.
    const bool ownWindow = settings->chipType() == 4 || settings->chipType() == 5;
    temperature1->setActive(checked && ownWindow);
    temperature->setActive(checked && !ownWindow);
}

QWidget* WidgetView::temperatureWindow() const
{
    if (settings->chipType() == 4 || settings->chipType() == 5)
        return temperature1;
    return temperature;
}

void WidgetView::on_cbTimeScope_toggled(bool checked)
{
    distance->setTimeScopeVisible(checked);
}

void WidgetView::updateWarning()
{
    const bool reduced =
        ui->cbTemperatures->isChecked() || ui->cbPixelScope->isChecked() || ui->cbPixelInfo->isChecked();
    ui->lWarning->setText(reduced ? QStringLiteral("Frame rate is reduced.") : QString());
}
