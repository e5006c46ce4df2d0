#pragma once

#include "config/ControllerROI.h"

#include <QWidget>

class ApplicationContext;
class Settings;

namespace Ui {
class WidgetSettingsROI;
}

// The region-of-interest panel: the two corners in sensor pixels (left columns and top rows
// even, right columns and bottom rows odd, so that widths and heights are even), the
// default region, and the emulation of the smaller sensor's 160 x 60 pixels. A region
// dragged in the distance view arrives through the hub and is sent from here.
class WidgetSettingsROI final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsROI(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsROI() override;

    // "Emulation zc220" on FLIM chips, "Emulation zc310" otherwise.
    void setEmulationLabel(bool flim);
    void setBottomRightYEnabled(bool enabled);
    void setEmulationVisible(bool visible);
    // The corner fields reach the sensor's last column and row.
    void applySensorLimits();

public slots:
    void on_sbTopLeftX_valueChanged(int arg1);
    void on_sbBottomRightX_valueChanged(int arg1);
    void on_sbTopLeftY_valueChanged(int arg1);
    void on_sbBottomRightY_valueChanged(int arg1);
    void on_cbShow_currentIndexChanged(int index);
    void lockFields(bool state);
    void updateROI();
    void on_cbEmulation_toggled(bool checked);
    void transform();
    void on_tbDefaultROI_clicked();

private:
    void sendRoi();
    void enableCornerFields(bool enabled);
    // A loaded emulation switch: the box and the hub follow, the loaded region stays.
    void applyLoadedEmulation(bool on);
    bool mirroredHalves() const;

    Ui::WidgetSettingsROI* ui;
    Settings* settings;
    ControllerROI controller;
};
