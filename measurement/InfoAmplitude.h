#pragma once

#include "measurement/StatisticsColumn.h"

#include <QWidget>

namespace Ui {
class InfoAmplitude;
}

// The amplitude view's pixel window: the amplitude of one pixel with its statistics over the
// last 100 samples.
class InfoAmplitude final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoAmplitude(QWidget* parent = nullptr);
    ~InfoAmplitude() override;

    void setPixel(int x, int y);
    // Shown from 0 to the current maximum amplitude, else "N/A".
    void setAmplitude(int amplitude, int maximumAmplitude);
    int lastPixelX() const { return lastX; }
    int lastPixelY() const { return lastY; }
    const StatisticsBuffer& statistics() const { return amplitude.statistics(); }

public slots:
    // Restarts the statistics (every settings change does); the argument is not used.
    void statisticsClear(bool state);

private:
    Ui::InfoAmplitude* ui;
    StatisticsColumn amplitude;
    int lastX = 0;
    int lastY = 0;
};
