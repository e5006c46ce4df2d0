#pragma once

#include "config/ControllerDataValidation.h"

#include <QWidget>

class ApplicationContext;
class Settings;

namespace Ui {
class WidgetSettingsDataValidation;
}

// The data-validation panel: whether the camera marks saturated and ADC-overflowing pixels.
// The early sensors of chip types 2 and 3 (IC version below 3) cannot mark saturation: the
// switch stays disabled on them.
class WidgetSettingsDataValidation final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsDataValidation(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsDataValidation() override;

    // Disables the saturation switch for good on the sensors that cannot mark saturation,
    // and otherwise lets the other panels' transactions lock both switches.
    void applyChip();

public slots:
    void on_cbSaturation_toggled(bool checked);
    void lockFields(bool state);
    void on_cbAdcOverflow_toggled(bool checked);

private:
    Ui::WidgetSettingsDataValidation* ui;
    Settings* settings;
    ControllerDataValidation controller;
    QMetaObject::Connection lockConnection;
};
