// The view panel's processing and correction controls: the correction switches and their
// status, the correction gate, the temporal, interference and spatial filters, and what a
// view-mode change does to the settings panels. The acquisition loop is in WidgetView.cpp.
#include "app/WidgetView.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "config/WidgetSettingsDistanceCalculation.h"
#include "measurement/InfoDRNUCurve.h"
#include "recording/WidgetLogging.h"
#include "settings/Settings.h"
#include "ui_WidgetView.h"
#include "views/WidgetPointCloud.h"
#include "views/WindowDemo.h"

#include <QSignalBlocker>

#include <cmath>

namespace {
// With this calibration type the corrections need ABS switched off; every other calibrated
// type needs it on.
constexpr int calibrationWithoutAbs = 21;
constexpr int hdrItem = 9;

enum Condition
{
    AbsSuitsCalibration = 0,
    Modulation = 1,
    DistanceCalculation = 2,
    Binning = 3
};

void setShown(std::initializer_list<QWidget*> widgets, bool shown)
{
    for (QWidget* widget : widgets)
        widget->setVisible(shown);
}
} // namespace

void WidgetView::setUpCorrections()
{
    connect(settings->distanceCalculation(), &SettingsDistanceCalculation::hdrEnabled, this,
            &WidgetView::enableHDR);
    connect(settings, &Settings::fieldsLocked, this, &WidgetView::lockFields);
    connect(settings, &Settings::checkDRNU, ui->cbDRNU, &QCheckBox::setChecked);
    connect(settings, &Settings::checkShowDRNU, ui->cbShowDRNU, &QCheckBox::setChecked);
    connect(settings, &Settings::checkTemperature, ui->cbTemperatureCorrection, &QCheckBox::setChecked);
    connect(settings, &Settings::enableGrayscaleOffset, ui->cbOffset, &QCheckBox::setChecked);
    connect(settings, &Settings::enableGrayscaleGain, ui->cbGain, &QCheckBox::setChecked);
    connect(settings->calibration(), &SettingsCalibration::pixelInterpolationChanged, ui->cbRemoveBadPixels,
            &QCheckBox::setChecked);
    connect(settings, &Settings::lockDRNUCorrection, this, &WidgetView::setDisabledDRNU);
    connect(settings, &Settings::lockTemperatureCorrection, this, &WidgetView::setDisabledTemperature);
    connect(this, &WidgetView::updateCorrFields, this, &WidgetView::updateCorrectionFields);
    connect(&controller, &ControllerView::showDRNUDone, this, &WidgetView::onShowDRNU);
    connect(&controller, &ControllerView::hideDRNUDone, this, &WidgetView::onHideDRNU);
    connect(settings, &Settings::sendKalmanThreshold1, &controller,
            qOverload<int>(&ControllerView::updateKalmanThreshold1));
    connect(settings, &Settings::sendKalmanThreshold2, &controller,
            qOverload<int>(&ControllerView::updateKalmanThreshold2));
    connect(settings, &Settings::updateKalmanK, ui->sbKalmanK, &QDoubleSpinBox::setValue);
    connect(settings, &Settings::updateKalmanQ, ui->sbKalmanQ, &QDoubleSpinBox::setValue);
    connect(settings, &Settings::updateViewControls, this, &WidgetView::updateControls);
    connect(settings->calibration(), &SettingsCalibration::updateFOV, ui->sbFOV, &QSpinBox::setValue);
    // A loaded configuration switches ABS through this box, so that the correction gate
    // follows it.
    connect(settings->abs(), &SettingsABS::absChanged, ui->cbABS, &QCheckBox::setChecked);

    // The filter controls start on the hub's values without sending anything: the camera
    // gets them when the configuration is loaded.
    const QList<QWidget*> controls = ui->wCorrections->findChildren<QWidget*>();
    for (QWidget* control : controls)
        control->blockSignals(true);
    updateControls();
    for (QWidget* control : controls)
        control->blockSignals(false);

    // Until the camera says which corrections it can apply, none is offered.
    for (QWidget* box :
         {static_cast<QWidget*>(ui->cbOffset), static_cast<QWidget*>(ui->cbGain),
          static_cast<QWidget*>(ui->cbDRNU), static_cast<QWidget*>(ui->cbTemperatureCorrection),
          static_cast<QWidget*>(ui->cbShowDRNU), static_cast<QWidget*>(ui->cbDSNU_FLIM),
          static_cast<QWidget*>(ui->cbPRNU_FLIM)})
        box->setEnabled(false);
    setShown({ui->lFOV, ui->sbFOV}, ui->cbViewMode->currentIndex() == 5);
    setShown({ui->gbOptionsFLIM, ui->lFLIM, ui->cbDSNU_FLIM, ui->cbPRNU_FLIM}, false);
}

void WidgetView::setUpForChip(bool flimChip)
{
    flimLayout = flimChip;
    applyChipToSettingsPanels(flimChip);
    setShown({ui->gbOptionsFLIM, ui->lFLIM, ui->cbDSNU_FLIM, ui->cbPRNU_FLIM}, flimChip);
    // Distances, their corrections and their filters do not exist on a FLIM chip.
    setShown({ui->lGrayscale,
              ui->cbOffset,
              ui->cbGain,
              ui->lTOF,
              ui->cbDRNU,
              ui->cbTemperatureCorrection,
              ui->cbShowDRNU,
              ui->cbABS,
              ui->gbOptionsModulation,
              ui->gbOptionsCalculation,
              ui->gbOptionsABS,
              ui->lTemporalFilter,
              ui->cbKalman1,
              ui->lKalmanK,
              ui->sbKalmanK,
              ui->lKalmanThreshold1,
              ui->sbKalmanThreshold1,
              ui->cbKalman2,
              ui->lKalmanQ,
              ui->sbKalmanQ,
              ui->lKalmanThreshold2,
              ui->sbKalmanThreshold2,
              ui->cbDistortionSupression,
              ui->lKalmanK3,
              ui->sbKalmanK3,
              ui->lKalmanThreshold3,
              ui->sbKalmanThreshold3,
              ui->lKalmanNumChecks,
              ui->sbKalmanNumChecks,
              ui->lKalmanDiff,
              ui->sbKalmanDiff,
              ui->lInterferenceFilter,
              ui->cbDistortionDetection,
              ui->lPointCloud,
              ui->cbPointCloudTransformation},
             !flimChip);
    // A FLIM chip's frames go to the FLIM view whatever the selector shows: the image window
    // shows its page (it was built before the chip was known).
    if (flimChip)
        demo->setPage(pageOfMode(flimModeIndex));
    refreshCorrectionControls();
}

void WidgetView::selectViewMode(int modeIndex)
{
    if (modeIndex >= 0 && modeIndex < ui->cbViewMode->count())
        ui->cbViewMode->setCurrentIndex(modeIndex);
}

void WidgetView::refreshCorrectionControls()
{
    controller.queryGrayscaleCorrection();
    controller.queryDrnuCorrection();
    if (flimLayout)
        controller.queryFlimCorrection();
    const bool grayscaleAvailable = settings->calibration()->grayscaleCorrectionAvailable();
    ui->cbOffset->setEnabled(grayscaleAvailable);
    ui->cbGain->setEnabled(grayscaleAvailable);
    const bool drnuAvailable = settings->drnuAvailable();
    ui->cbDRNU->setEnabled(drnuAvailable);
    ui->cbShowDRNU->setEnabled(drnuAvailable);
    ui->cbTemperatureCorrection->setEnabled(drnuAvailable);
    ui->cbDSNU_FLIM->setEnabled(settings->flimCorrectionAvailable());
    ui->cbPRNU_FLIM->setEnabled(settings->flimCorrectionAvailable());
    announceCorrectionStatus();
}

void WidgetView::refreshRoiViews()
{
    demo->fitToSensor();
    applyChipToSettingsPanels(flimLayout);
}

// View-mode change: everything besides the loop and the measurement windows.
void WidgetView::applyViewModeLayout(int index)
{
    SettingsDistanceCalculation* calculation = settings->distanceCalculation();
    if (panelCalculation)
        panelCalculation->setAmplitudeHdrOption(false);
    calculation->setSmallAmplitudeScale(false);
    setShown({ui->lFOV, ui->sbFOV}, false);

    if (index == 0) {
        // The grayscale image has its own integration time, sent again for this mode. A FLIM
        // chip has no grayscale mode: its selector changes nothing on the camera.
        if (!settings->flim()->flimChip())
            settings->integrationTime()->setIntegrationTime2D(
                settings->integrationTime()->integrationTime2D());
        for (QWidget* widget :
             {static_cast<QWidget*>(ui->gbOptionsCalculation), static_cast<QWidget*>(ui->gbOptionsModulation),
              static_cast<QWidget*>(ui->cbABS)}) {
            widget->setEnabled(false);
            widget->hide();
        }
        calculation->setHdr(false);
        calculation->setDualMGX(false);
        announceCorrectionStatus();
    } else {
        // The HDR view shows the combined image beside the others and needs no option.
        if (index != hdrItem && index <= 5 && calculation->hdr() && panelCalculation)
            panelCalculation->setAmplitudeHdrOption(true);
        if (index == 4)
            calculation->setSmallAmplitudeScale(true);
        if (index == 5)
            setShown({ui->lFOV, ui->sbFOV}, true);
        for (QWidget* widget :
             {static_cast<QWidget*>(ui->gbOptionsCalculation), static_cast<QWidget*>(ui->gbOptionsModulation),
              static_cast<QWidget*>(ui->cbABS)}) {
            widget->setEnabled(true);
            widget->setVisible(!flimLayout);
        }
        if (index == 1)
            announceCorrectionStatus();
    }

    applyViewModeToSettingsPanels(index);

    // Distances in cm exist only in the distance, point-cloud and TOF HDR modes; the capture
    // panel does not serve the DCS + grayscale recording.
    emit disableLogCM(!(index == 1 || index == 5 || index == hdrItem));
    emit enableMainWindowLogIcon(index != 8);

    const bool grayscaleGroup = !flimLayout && index != 6 && index != 7;
    const bool tofGroup = !flimLayout && index != 6 && index != 7 && index != 8;
    setShown({ui->lGrayscale, ui->cbOffset, ui->cbGain}, grayscaleGroup);
    setShown({ui->lTOF, ui->cbDRNU, ui->cbTemperatureCorrection}, tofGroup);

    // Grayscale and the TOF modes use different camera configurations. A FLIM chip stays in
    // its own mode whatever the selector shows.
    if (!settings->flim()->flimChip())
        controller.loadViewConfig(index);
}

void WidgetView::enableHDR(bool enable)
{
    QComboBox* modes = ui->cbViewMode;
    if (enable) {
        if (modes->count() == hdrItem)
            modes->addItem(QStringLiteral("TOF HDR (1st & 2nd)"));
    } else if (modes->count() > hdrItem) {
        if (modes->currentIndex() == hdrItem)
            modes->setCurrentIndex(1);
        modes->removeItem(hdrItem);
    }
    updateWarning();
}

int WidgetView::calibrationTypeOfFrequency() const
{
    const SettingsModulation* modulation = settings->modulation();
    return modulation->calibrationTypeOf(modulation->frequencyIndex());
}

Settings3D::CalibrationType WidgetView::correctionStatus() const
{
    if (ui->cbViewMode->currentIndex() == 0) {
        if (!settings->calibration()->grayscaleCorrectionAvailable())
            return Settings3D::GrayscaleCorrectionNotAvailable;
        const bool offset = ui->cbOffset->isChecked();
        const bool gain = ui->cbGain->isChecked();
        if (offset && gain)
            return Settings3D::DsnuPrnuCorrected;
        if (offset)
            return Settings3D::PrnuNotCorrected;
        return gain ? Settings3D::DsnuNotCorrected : Settings3D::DsnuPrnuNotCorrected;
    }
    if (!settings->drnuAvailable())
        return Settings3D::DrnuTemperatureCorrectionNotAvailable;
    const bool temperature = ui->cbTemperatureCorrection->isChecked();
    const bool drnu = ui->cbDRNU->isChecked();
    if (temperature && drnu)
        return Settings3D::DrnuTemperatureCorrected;
    if (temperature)
        return Settings3D::DrnuNotCorrected;
    return drnu ? Settings3D::TemperatureNotCorrected : Settings3D::DrnuTemperatureNotCorrected;
}

void WidgetView::announceCorrectionStatus()
{
    settings->settings3D()->announceCalibrationType(correctionStatus());
}

// Correction switches

void WidgetView::on_cbOffset_toggled(bool checked)
{
    settings->calibration()->setGrayscaleOffset(checked);
    controller.changeGrayscaleOffset(checked);
    announceCorrectionStatus();
}

void WidgetView::on_cbGain_toggled(bool checked)
{
    settings->calibration()->setGrayscaleGain(checked);
    controller.changeGrayscaleGain(checked);
    announceCorrectionStatus();
}

void WidgetView::on_cbRemoveBadPixels_toggled(bool checked)
{
    settings->calibration()->setPixelInterpolation(checked);
    controller.changeInterpolation(checked);
}

void WidgetView::on_cbDRNU_toggled(bool checked)
{
    settings->calibration()->setDrnuCorrection(checked);
    controller.changeDrnu(checked);
    announceCorrectionStatus();
}

void WidgetView::on_cbTemperatureCorrection_toggled(bool checked)
{
    controller.changeTemperatureCorrection(checked);
    announceCorrectionStatus();
}

void WidgetView::on_cbShowDRNU_toggled(bool checked)
{
    // While the corrections are locked the lock unticks the box: the user's choice, saved
    // by the lock, must survive it.
    if (!settings->correctionsSaved())
        settings->setSavedShowDrnu(checked);
    controller.changeShowDrnu(checked);
}

void WidgetView::on_cbABS_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    controller.changeAbs(checked);
    const bool type21 = calibrationTypeOfFrequency() == calibrationWithoutAbs;
    emit updateCorrFields(checked != type21 ? +1 : -1);
}

void WidgetView::on_cbDSNU_FLIM_toggled(bool checked)
{
    controller.changeFlimDsnu(checked);
}

void WidgetView::on_cbPRNU_FLIM_toggled(bool checked)
{
    controller.changeFlimPrnu(checked);
}

void WidgetView::lockFields(bool state)
{
    // No second correction or filter change while a command transaction is pending, and no
    // video start or snapshot either: a long camera operation (calibration, bad-pixel
    // search) holds the channel until its reply, which a frame exchange would take.
    ui->wCorrections->setEnabled(!state);
    ui->pbGetVideo->setEnabled(!state);
    ui->pbGetPicture->setEnabled(!state && !settings->videoActive());
    announceCorrectionStatus();
}

void WidgetView::setDisabledDRNU(bool state)
{
    const bool enabled = !state && settings->drnuAvailable();
    ui->cbDRNU->setEnabled(enabled);
    ui->cbShowDRNU->setEnabled(enabled);
}

void WidgetView::setDisabledTemperature(bool state)
{
    ui->cbTemperatureCorrection->setEnabled(!state && settings->drnuAvailable());
}

void WidgetView::updateCorrectionFields(int state)
{
    const int type = calibrationTypeOfFrequency();
    ZTRACE() << "calibIndex " << type;
    switch (state) {
    case 1:
    case -1:
        gate[AbsSuitsCalibration] = state > 0;
        break;
    case 2: {
        gate[Modulation] = true;
        // A new frequency may need the other ABS state.
        const bool abs = ui->cbABS->isChecked();
        ZTRACE() << "update 2 ui->cbABS->isChecked(): " << (abs ? "true" : "false");
        gate[AbsSuitsCalibration] = type != calibrationWithoutAbs ? abs : !abs;
        if (ui->cbShowDRNU->isChecked()) {
            settings->setSavedShowDrnu(true);
            controller.changeShowDrnu(true);
        }
        break;
    }
    case -2:
        gate[Modulation] = false;
        break;
    case 3:
    case -3:
        gate[DistanceCalculation] = state > 0;
        break;
    case 4:
    case -4:
        gate[Binning] = state > 0;
        break;
    default:
        break;
    }
    const bool open = gate[0] && gate[1] && gate[2] && gate[3] && settings->drnuAvailable();
    settings->lockCorrections(!open);
}

void WidgetView::onShowDRNU(int16_t* val)
{
    // The table is overwritten by the next read: keep a copy. Entries 0-49 are distance
    // corrections in LSB, shown in mm; the rest are passed on as they are.
    const qint64 rangeMm = labeler.updateRangeMm();
    m_drnuCurve.resize(Replies::drnuTableCount);
    for (int i = 0; i < Replies::drnuTableCount; ++i)
        m_drnuCurve[i] = i < 50 ? int(rangeMm * val[i] / 30000) : val[i];
    drnuCurveWindow->setTable(val, int(rangeMm));
    drnuCurveWindow->show();
    ZTRACE() << "DRNU table received";
}

void WidgetView::onHideDRNU()
{
    drnuCurveWindow->hide();
    ZTRACE() << "DRNU table hidden";
}

// Temporal filter

void WidgetView::selectKalmanBox(QWidget* chosen)
{
    for (QCheckBox* box : {ui->cbKalman1, ui->cbKalman2, ui->cbDistortionSupression}) {
        if (box != chosen && box->isChecked()) {
            const QSignalBlocker blocker(box);
            box->setChecked(false);
        }
    }
}

void WidgetView::on_cbKalman1_toggled(bool checked)
{
    if (checked) {
        selectKalmanBox(ui->cbKalman1);
        controller.changeKalman(1);
        controller.resetKalmanNumChecks();
    } else {
        controller.changeKalman(0);
    }
}

void WidgetView::on_cbKalman2_toggled(bool checked)
{
    if (checked) {
        selectKalmanBox(ui->cbKalman2);
        controller.changeKalman(2);
        controller.resetKalmanNumChecks();
    } else {
        controller.changeKalman(0);
    }
}

void WidgetView::on_cbDistortionSupression_toggled(bool checked)
{
    if (checked) {
        selectKalmanBox(ui->cbDistortionSupression);
        controller.changeKalman(3);
        controller.changeKalmanNumChecks(settings->kalmanNumChecks());
    } else {
        controller.changeKalman(0);
    }
}

bool WidgetView::kalmanKAccepted(double k, QWidget* box)
{
    if (k <= 1.0)
        return true;
    // Setting the box back to 1 sends 1 through this slot again.
    static_cast<QDoubleSpinBox*>(box)->setValue(1.0);
    return false;
}

void WidgetView::on_sbKalmanK_valueChanged(double arg1)
{
    if (kalmanKAccepted(arg1, ui->sbKalmanK))
        controller.changeKalmanK(arg1);
}

void WidgetView::on_sbKalmanK3_valueChanged(double arg1)
{
    if (kalmanKAccepted(arg1, ui->sbKalmanK3))
        controller.changeKalmanK(arg1);
}

void WidgetView::on_sbKalmanQ_valueChanged(double arg1)
{
    controller.changeKalmanQ(arg1);
}

void WidgetView::on_sbKalmanThreshold1_valueChanged(int arg1)
{
    controller.updateKalmanThreshold1(arg1);
}

void WidgetView::on_sbKalmanThreshold2_valueChanged(int arg1)
{
    controller.updateKalmanThreshold2(arg1);
}

void WidgetView::on_sbKalmanDiff_valueChanged(double arg1)
{
    controller.changeKalmanDiff(arg1);
}

void WidgetView::on_sbKalmanThreshold3_valueChanged(int arg1)
{
    controller.changeKalmanThreshold3(arg1);
}

void WidgetView::on_sbKalmanNumChecks_valueChanged(int arg1)
{
    controller.changeKalmanNumChecks(arg1);
}

void WidgetView::on_cbDistortionDetection_toggled(bool checked)
{
    controller.changeDistortionDetection(checked);
}

// Client-side filters and the point cloud

void WidgetView::on_cbPointCloudTransformation_toggled(bool checked)
{
    settings->setPointCloudTransformation(checked);
    pointCloud->updateControls();
}

void WidgetView::on_sbFOV_valueChanged(int arg1)
{
    if (arg1 != settings->calibration()->fov())
        settings->calibration()->setFov(arg1);
}

void WidgetView::on_cbEdgeDetection_toggled(bool checked)
{
    settings->setEdgeDetection(checked);
}

void WidgetView::on_cbGaussfilter_toggled(bool checked)
{
    // Recorded only: the camera's own Gauss filter is not switched from here.
    settings->setGaussFilter(checked);
}

void WidgetView::on_cbMedianfilter_toggled(bool checked)
{
    settings->setMedianFilter(checked);
}

void WidgetView::on_sbGaussIterations_valueChanged(int arg1)
{
    controller.changeGaussFilterIterations(arg1);
}

void WidgetView::on_sbMedianIterations_valueChanged(int arg1)
{
    settings->setMedianFilterIterations(arg1);
}

void WidgetView::on_sbEdgeDetectionThreshold_valueChanged(int arg1)
{
    const int lsb = int(DistanceLabeler::kFullScale / labeler.updateRangeMm() * arg1);
    ZTRACE() << "Threshold edge LSB" << lsb;
    // The hub derives the second value (LSB) from the first.
    settings->setEdgeDetectionThreshold(lsb, false);
}

void WidgetView::on_cbGaussFilter1_toggled(bool checked)
{
    settings->setGaussFilter1(checked);
}

void WidgetView::on_sbGaussFilterItarations1_valueChanged(int arg1)
{
    settings->setGaussFilterIterations1(arg1);
}

void WidgetView::on_sbMedianFilterSize_valueChanged(int arg1)
{
    // The median window has an odd size of at least 3.
    const int size = arg1 <= 2 ? 3 : (arg1 % 2 == 0 ? arg1 + 1 : arg1);
    if (size != arg1) {
        ui->sbMedianFilterSize->setValue(size);
        return;
    }
    settings->setMedianFilterSize(size);
}

void WidgetView::updateControls()
{
    const int kalman = settings->kalman();
    ui->cbKalman1->setChecked(kalman == 1);
    ui->cbKalman2->setChecked(kalman == 2);
    ui->cbDistortionSupression->setChecked(kalman == 3);
    ui->sbKalmanK->setValue(settings->kalmanK());
    ui->sbKalmanK3->setValue(settings->kalmanK());
    ui->sbKalmanQ->setValue(settings->kalmanQ());
    ui->sbKalmanThreshold1->setValue(settings->kalmanThreshold1());
    ui->sbKalmanThreshold2->setValue(settings->kalmanThreshold2());
    ui->sbKalmanThreshold3->setValue(settings->kalmanThreshold3());
    ui->sbKalmanDiff->setValue(settings->kalmanDiff());
    ui->sbKalmanNumChecks->setValue(settings->kalmanNumChecks());
    ui->cbDistortionDetection->setChecked(settings->distortionDetection());
    ui->cbDSNU_FLIM->setChecked(settings->flimDsnu());
    ui->cbPRNU_FLIM->setChecked(settings->flimPrnu());
    ui->cbGaussfilter->setChecked(settings->gaussFilter());
    ui->sbGaussIterations->setValue(settings->gaussFilterIterations());
    ui->cbMedianfilter->setChecked(settings->medianFilter());
    ui->sbMedianIterations->setValue(settings->medianFilterIterations());
    ui->sbMedianFilterSize->setValue(settings->medianFilterSize());
    ui->cbGaussFilter1->setChecked(settings->gaussFilter1());
    ui->sbGaussFilterItarations1->setValue(settings->gaussFilterIterations1());
    ui->cbEdgeDetection->setChecked(settings->edgeDetection());
    ui->cbPointCloudTransformation->setChecked(settings->pointCloudTransformation());
    ui->sbFOV->setValue(settings->calibration()->fov());
    // The edge threshold is kept in LSB; the box shows it in mm without converting it back.
    const QSignalBlocker blocker(ui->sbEdgeDetectionThreshold);
    ui->sbEdgeDetectionThreshold->setValue(labeler.lsbToMm(settings->edgeDetectionThreshold(false)));
}

void WidgetView::showLogDialog(bool visible)
{
    if (!visible) {
        logging->hide();
        return;
    }
    // The panel opens laid out for the current view mode and with the current options.
    logging->updateControls();
    logging->show();
    logging->raise();
    logging->activateWindow();
}
