#pragma once

#include "config/ControllerModulation.h"

#include <QWidget>

class ApplicationContext;
class Settings;

namespace Ui {
class WidgetSettingsModulation;
}

// The modulation-frequency panel. Each frequency has its own calibration, which decides
// whether background suppression must be on or off for the corrections to hold: the panel
// reports that to the view panel's correction gate (updateCorrFields(+2 / -2)).
class WidgetSettingsModulation final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsModulation(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsModulation() override;

    // The camera's frequency list, as the start-up sequence read it.
    void fillFrequencies();

signals:
    void updateCorrFields(int);

public slots:
    void on_cbModeFrequency_currentIndexChanged(int index);
    void lockFields(bool state);

private:
    Ui::WidgetSettingsModulation* ui;
    Settings* settings;
    ControllerModulation controller;
};
