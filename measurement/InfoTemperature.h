#pragma once

#include "measurement/TemperatureWindow.h"

namespace Ui {
class InfoTemperature;
}

// The temperatures of the sensor chip's four corners, their average, and the illumination
// board's two sensors (every chip type but 4 and 5).
class InfoTemperature final : public TemperatureWindow
{
    Q_OBJECT

public:
    explicit InfoTemperature(Settings* settings, QWidget* parent = nullptr);
    ~InfoTemperature() override;

public slots:
    void updateTemperatures() override;

private:
    Ui::InfoTemperature* ui;
};
