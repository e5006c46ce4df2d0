#pragma once

#include "measurement/StatisticsColumn.h"

#include <QWidget>

namespace Ui {
class InfoGrayscale;
}

// The grayscale view's pixel window: the grayscale value of one pixel with its statistics
// over the last 100 samples.
class InfoGrayscale final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoGrayscale(QWidget* parent = nullptr);
    ~InfoGrayscale() override;

    void setPixel(int x, int y);
    // Shown up to 2047 (the largest grayscale value), else "N/A".
    void setValue(int value);
    int lastPixelX() const { return lastX; }
    int lastPixelY() const { return lastY; }
    const StatisticsBuffer& statistics() const { return value.statistics(); }

public slots:
    // Restarts the statistics (every settings change does); the argument is not used.
    void statisticsClear(bool state);

private:
    Ui::InfoGrayscale* ui;
    StatisticsColumn value;
    int lastX = 0;
    int lastY = 0;
};
