#pragma once

#include "config/ControllerDistanceCalculation.h"

#include <QWidget>

class ApplicationContext;
class Settings;

namespace Ui {
class WidgetSettingsDistanceCalculation;
}

// The distance-calculation panel: PI delay, dual MGX and HDR (the two exclude each other),
// the option to combine the HDR row pairs, the modulation mode and the pseudo-noise
// polynomial. Every mode but sinusoidal with PI delay and neither dual MGX nor HDR falls
// outside the camera's distance calibration: the panel reports that to the view panel's
// correction gate (updateCorrFields(+3 / -3)).
class WidgetSettingsDistanceCalculation final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsDistanceCalculation(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsDistanceCalculation() override;

    // The small sensors (chip types 4 and 5) have the sinusoidal mode only: its selector and
    // the polynomial fields are hidden on them.
    void applyChip();
    // Offers and ticks "Combine HDR images" (the views combining the HDR row pairs), or hides
    // and clears it; the view panel does this on every view-mode change.
    void setAmplitudeHdrOption(bool on);

signals:
    // Asks the view panel for view mode `index` (the distance view when HDR goes off).
    void hdrToggled(int index);
    void updateCorrFields(int);

public slots:
    void enableCbDualMGX();
    void enableAmplitudeHDR(bool checked);
    void on_cbPiDelay_toggled(bool checked);
    void on_cbDualMGX_toggled(bool checked);
    void lockFields(bool state);
    void on_cbSelectMode_currentIndexChanged(int index);
    void on_cbPolynomial_currentIndexChanged(int index);
    void on_cbLFSR_currentIndexChanged(int index);
    void on_cbHDR_toggled(bool checked);
    void on_cbAmplitudeHDR_toggled(bool checked);

private:
    // The hub's modulation mode shown in the selector; a mode it does not list yet (from a
    // configuration file) is added rather than leaving the selector on no item.
    void showModulationMode(int index);
    void announceCorrectionCondition();

    Ui::WidgetSettingsDistanceCalculation* ui;
    Settings* settings;
    ControllerDistanceCalculation controller;
    bool piDelayOff = false;
    bool dualMgxOn = false;
    bool hdrOn = false;
};
