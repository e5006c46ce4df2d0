#pragma once

#include "config/ControllerView.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings3D.h"

#include <QVector>
#include <QWidget>

#include <cstdint>

class ApplicationContext;
class InfoDRNUCurve;
class InfoTemperature;
class InfoTemperature1;
class QWidget;
class Settings;
class WidgetAmplitude;
class WidgetDCS;
class WidgetDCSGrayscale;
class WidgetDifDCS;
class WidgetDistance;
class WidgetFLIM;
class WidgetGrayscale;
class WidgetLogging;
class WidgetHDR;
class WidgetPointCloud;
class WidgetSettings3D;
class WidgetSettingsDataValidation;
class WidgetSettingsDistanceCalculation;
class WidgetSettingsFLIM;
class WidgetSettingsImage;
class WidgetSettingsBinningAndReduction;
class WidgetSettingsIntegrationTime;
class WidgetSettingsModulation;
class WidgetSettingsROI;
class WidgetSettingsTransformation;
class WindowDemo;
class ZelTcp;

namespace Ui {
class WidgetView;
}

// The view panel: the view-mode selector, Start/Stop and the snapshot button, the
// measurement-window switches, and the acquisition loop. While video runs exactly one
// exchange is in flight: the view of the selected mode is armed and requests a frame, draws
// it and emits ready() on the channel, which issues the next request (a failed exchange
// too). A FLIM chip sends every request to the FLIM view whatever the selector shows.
//
// The panel creates the image views and the image window that shows them.
class WidgetView final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetView(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetView() override;

    WindowDemo* windowDemo() const { return demo; }
    WidgetGrayscale* grayscaleView() const { return grayscale; }
    WidgetDistance* distanceView() const { return distance; }
    WidgetAmplitude* amplitudeView() const { return amplitude; }
    WidgetPointCloud* pointCloudView() const { return pointCloud; }
    WidgetDCS* dcsView() const { return dcs; }
    WidgetDifDCS* difDcsView() const { return difDcs; }
    WidgetDCSGrayscale* dcsGrayscaleView() const { return dcsGrayscale; }
    WidgetFLIM* flimView() const { return flim; }
    WidgetLogging* capturePanel() const { return logging; }
    WidgetHDR* hdrView() const { return hdr; }
    // The image-window page of a view mode (-1 for none).
    static int pageOfMode(int modeIndex);
    // The hub's view mode of a FLIM chip; the selector has no item for it.
    static constexpr int flimModeIndex = 10;

    // Layout for the connected chip: the FLIM settings and corrections for a FLIM chip, the
    // distance controls for the others. Also asks the camera which corrections it holds
    // calibration data for and offers only those.
    void setUpForChip(bool flimChip);
    // Selects a view mode as the user would (command line "--view-mode"); ignored when the
    // selector has no such item.
    void selectViewMode(int modeIndex);
    // Asks the camera again which corrections it can apply (after a reload).
    void refreshCorrectionControls();
    // The image window follows the sensor geometry of the connected chip.
    void refreshRoiViews();
    // The correction status of the selected view mode, computed from the correction boxes.
    Settings3D::CalibrationType correctionStatus() const;
    // The last DRNU table received, distance entries in mm (the curve window's data).
    const QVector<int>& drnuCurve() const { return m_drnuCurve; }
    InfoDRNUCurve* drnuWindow() const { return drnuCurveWindow; }
    // The temperature window of the connected chip (chip types 4 and 5 have their own).
    QWidget* temperatureWindow() const;
    ControllerView* controllerView() { return &controller; }
    // The acquisition settings panels, created once and placed in the option group boxes.
    WidgetSettings3D* settings3DPanel() const { return panel3D; }
    WidgetSettingsROI* roiPanel() const { return panelRoi; }
    WidgetSettingsTransformation* transformationPanel() const { return panelTransformation; }
    WidgetSettingsIntegrationTime* integrationTimePanel() const { return panelIntegrationTime; }
    WidgetSettingsModulation* modulationPanel() const { return panelModulation; }
    WidgetSettingsBinningAndReduction* binningPanel() const { return panelBinning; }
    WidgetSettingsDistanceCalculation* distanceCalculationPanel() const { return panelCalculation; }
    WidgetSettingsFLIM* flimPanel() const { return panelFlim; }
    WidgetSettingsImage* imagePanel() const { return panelImage; }
    WidgetSettingsDataValidation* dataValidationPanel() const { return panelDataValidation; }

signals:
    void rbManualToggled(bool);
    // Sets (+n) or clears (-n) one condition of the correction gate: 1 ABS, 2 modulation,
    // 3 distance calculation, 4 binning.
    void updateCorrFields(int);
    void disableLogCM(bool state);
    void enableMainWindowLogIcon(bool);
    // Any view has shown a new picture.
    void pictureShown();

public slots:
    void getPicture();
    void on_cbViewMode_currentIndexChanged(int index);
    void on_cbPixelInfo_clicked(bool checked);
    void on_cbPixelScope_toggled(bool checked);
    void startVideo();
    void stopVideo();
    void pauseVideo();
    void ready();
    void on_pbGetVideo_clicked();
    void on_pbGetPicture_clicked();
    void on_cbTemperatures_toggled(bool checked);
    void on_cbTimeScope_toggled(bool checked);
    void hideInfoWindows();
    void enableHDR(bool enable);
    void on_cbOffset_toggled(bool checked);
    void on_cbGain_toggled(bool checked);
    void on_cbRemoveBadPixels_toggled(bool checked);
    void on_cbDRNU_toggled(bool checked);
    void on_cbTemperatureCorrection_toggled(bool checked);
    void on_cbABS_toggled(bool checked);
    void lockFields(bool state);
    void setDisabledDRNU(bool state);
    void setDisabledTemperature(bool state);
    void updateCorrectionFields(int state);
    void onShowDRNU(int16_t* val);
    void onHideDRNU();
    void on_cbShowDRNU_toggled(bool checked);
    void on_cbKalman1_toggled(bool checked);
    void on_cbKalman2_toggled(bool checked);
    void on_sbKalmanK_valueChanged(double arg1);
    void on_sbKalmanQ_valueChanged(double arg1);
    void on_sbKalmanThreshold1_valueChanged(int arg1);
    void on_sbKalmanThreshold2_valueChanged(int arg1);
    void on_cbDSNU_FLIM_toggled(bool checked);
    void on_cbPRNU_FLIM_toggled(bool checked);
    void on_cbDistortionSupression_toggled(bool checked);
    void on_sbKalmanK3_valueChanged(double arg1);
    void on_sbKalmanDiff_valueChanged(double arg1);
    void on_sbKalmanThreshold3_valueChanged(int arg1);
    void on_sbKalmanNumChecks_valueChanged(int arg1);
    void on_cbDistortionDetection_toggled(bool checked);
    void on_cbPointCloudTransformation_toggled(bool checked);
    void on_sbFOV_valueChanged(int arg1);
    void on_cbEdgeDetection_toggled(bool checked);
    void on_cbGaussfilter_toggled(bool checked);
    void on_cbMedianfilter_toggled(bool checked);
    void on_sbGaussIterations_valueChanged(int arg1);
    void on_sbMedianIterations_valueChanged(int arg1);
    void on_sbEdgeDetectionThreshold_valueChanged(int arg1);
    void on_cbGaussFilter1_toggled(bool checked);
    void on_sbGaussFilterItarations1_valueChanged(int arg1);
    void on_sbMedianFilterSize_valueChanged(int arg1);
    void updateControls();
    void showLogDialog(bool);

private:
    // The acquisition settings panels: creation, placement, and what the chip and the view
    // mode show of them.
    void setUpSettingsPanels(ApplicationContext* context);
    void applyChipToSettingsPanels(bool flimChip);
    void applyViewModeToSettingsPanels(int index);
    // The processing and correction part of the panel (the view-mode selector's effects on
    // the settings panels, the correction gate and the filter controls).
    void setUpCorrections();
    void applyViewModeLayout(int index);
    void announceCorrectionStatus();
    // The Kalman variant boxes are exclusive: the others are unticked without a command.
    void selectKalmanBox(QWidget* chosen);
    // Values above 1 are set back to 1 (which sends); true when the value may be sent.
    bool kalmanKAccepted(double k, QWidget* box);
    int calibrationTypeOfFrequency() const;
    void updateWarning();
    // Shows or hides the pixel statistics window of the view of `modeIndex` (the FLIM view
    // on a FLIM chip).
    void setPixelInfoOfMode(int modeIndex, bool visible);
    void setPixelScopeOfMode(int modeIndex, bool visible);

    Ui::WidgetView* ui;
    Settings* settings;
    ZelTcp* tcp;
    WindowDemo* demo;
    WidgetGrayscale* grayscale;
    WidgetDistance* distance;
    WidgetAmplitude* amplitude;
    WidgetPointCloud* pointCloud;
    WidgetDCS* dcs;
    WidgetDifDCS* difDcs;
    WidgetDCSGrayscale* dcsGrayscale;
    WidgetFLIM* flim;
    WidgetHDR* hdr;
    // minAmplitude while the pixel scope shows every pixel.
    int savedMinAmplitude = 0;
    ControllerView controller;
    DistanceLabeler labeler;
    WidgetSettings3D* panel3D = nullptr;
    WidgetSettingsROI* panelRoi = nullptr;
    WidgetSettingsTransformation* panelTransformation = nullptr;
    WidgetSettingsIntegrationTime* panelIntegrationTime = nullptr;
    WidgetSettingsModulation* panelModulation = nullptr;
    WidgetSettingsBinningAndReduction* panelBinning = nullptr;
    WidgetSettingsDistanceCalculation* panelCalculation = nullptr;
    WidgetSettingsFLIM* panelFlim = nullptr;
    WidgetSettingsImage* panelImage = nullptr;
    WidgetSettingsDataValidation* panelDataValidation = nullptr;
    // The correction gate: A ABS suits the frequency's calibration, B modulation panel,
    // C distance-calculation panel, D binning panel.
    bool gate[4] = {true, true, true, true};
    QVector<int> m_drnuCurve;
    InfoDRNUCurve* drnuCurveWindow;
    InfoTemperature* temperature;
    InfoTemperature1* temperature1;
    WidgetLogging* logging;
    bool flimLayout = false;
};
