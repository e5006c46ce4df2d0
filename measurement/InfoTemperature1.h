#pragma once

#include "measurement/TemperatureWindow.h"

namespace Ui {
class InfoTemperature1;
}

// The temperatures of chip types 4 and 5: one chip sensor and the illumination board's two.
class InfoTemperature1 final : public TemperatureWindow
{
    Q_OBJECT

public:
    explicit InfoTemperature1(Settings* settings, QWidget* parent = nullptr);
    ~InfoTemperature1() override;

public slots:
    // Only while the hub's chip type is 4 or 5; other chips' lists are laid out differently.
    void updateTemperatures() override;

private:
    Ui::InfoTemperature1* ui;
};
