#pragma once

#include "config/Controller3D.h"
#include "render/DistanceLabeler.h"

#include <QWidget>

class ApplicationContext;
class Settings;

namespace Ui {
class WidgetSettings3D;
}

// The TOF panel: the displayed distance range, the amplitude minimum and its hysteresis, and
// the distance offset (the camera's automatic one or a manual one).
class WidgetSettings3D final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettings3D(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettings3D() override;

    void setDefaultChecked(bool checked);

public slots:
    void changeOffsetRange();
    void setMaxRangeMax();
    void setDefaultOffset(int value);
    void lockFields(bool state);
    void on_sbRangeMax_valueChanged(int arg1);
    void on_sbRangeMin_valueChanged(int arg1);
    void on_sbAmplitudeMin_valueChanged(int arg1);
    void on_sbOffset_valueChanged(int arg1);
    void on_cbHysteresis_toggled(bool checked);
    void on_sbHysteresis_valueChanged(int arg1);
    void on_rbManual_toggled(bool checked);
    void on_cbEnableTemperatureCorrectionOffset_toggled(bool checked);
    // After a modulation-frequency change: the manual offset is sent again, or the new
    // automatic offset is read while the frequency change still holds acquisition paused.
    void reloadManualOffset();
    // After a calibration: back to the camera's automatic offset.
    void setDefault();

private:
    Ui::WidgetSettings3D* ui;
    Settings* settings;
    Controller3D controller;
    DistanceLabeler labeler;
};
