#pragma once

#include "measurement/StatisticsColumn.h"

#include <QElapsedTimer>
#include <QWidget>

namespace Ui {
class InfoDistance;
}

// The distance view's pixel window: distance and amplitude of one pixel with their
// statistics over the last 100 samples, and the frame rate when the console switched its
// display on. A new pixel position or a settings change restarts the statistics.
class InfoDistance final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoDistance(QWidget* parent = nullptr);
    ~InfoDistance() override;

    void setPixel(int x, int y, bool showFrameRate);
    // Millimetres, shown in centimetres; -1 (no valid distance) and values from 300010 on
    // show "N/A".
    void setDistance(int distanceMm);
    // Shown from 0 to the current maximum amplitude, else "N/A".
    void setAmplitude(int amplitude, int maximumAmplitude);
    int lastPixelX() const { return lastX; }
    int lastPixelY() const { return lastY; }
    const StatisticsBuffer& distanceStatistics() const { return distance.statistics(); }
    const StatisticsBuffer& amplitudeStatistics() const { return amplitude.statistics(); }

public slots:
    // Empties both histories; the argument is not used.
    void statisticsClear(bool state);

private:
    void showFrameRate();

    Ui::InfoDistance* ui;
    StatisticsColumn distance;
    StatisticsColumn amplitude;
    int lastX = 0;
    int lastY = 0;
    QElapsedTimer frameTimer;
};
