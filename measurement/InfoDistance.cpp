#include "measurement/InfoDistance.h"

#include "app/Trace.h"

#include "ui_InfoDistance.h"

InfoDistance::InfoDistance(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::InfoDistance)
    , distance(StatisticsColumn::Unit::Centimetres)
    , amplitude(StatisticsColumn::Unit::Lsb)
{
    InfoWindowStyle::setUpWindow(this, true);
    ui->setupUi(this);
    distance.setLabels(
        {ui->lDistance, ui->lDistanceMin, ui->lDistanceMax, ui->lDistanceAverage, ui->lDistanceVariation});
    amplitude.setLabels({ui->lAmplitude, ui->lAmplitudeMin, ui->lAmplitudeMax, ui->lAmplitudeAverage,
                         ui->lAmplitudeVariation});
    ui->lSpeed->hide();
    frameTimer.start();
}

InfoDistance::~InfoDistance()
{
    ZTRACE() << "-----InfoDistance destroying";
    ZTRACE() << "-----InfoDistance destroyed";
    delete ui;
}

void InfoDistance::setPixel(int x, int y, bool showRate)
{
    ui->lHeader->setText(InfoWindowStyle::headerText(x, y));
    if (x != lastX || y != lastY)
        statisticsClear(true);
    lastX = x;
    lastY = y;
    if (!showRate) {
        ui->lSpeed->hide();
        return;
    }
    ui->lSpeed->show();
    showFrameRate();
}

void InfoDistance::showFrameRate()
{
    // Two updates within the same millisecond (a frame and a mouse movement) give no rate:
    // the timer keeps running, so the next update shows the rate over both.
    const qint64 elapsed = frameTimer.elapsed();
    if (elapsed <= 0)
        return;
    ui->lSpeed->setText(QString::asprintf("Frame rate: %2.2f", 1000.0 / double(elapsed)));
    frameTimer.restart();
}

void InfoDistance::setDistance(int distanceMm)
{
    // Unsigned, so that -1 fails too.
    if (unsigned(distanceMm) >= 300010u)
        distance.showNotAvailable();
    else
        distance.show(distanceMm);
}

void InfoDistance::setAmplitude(int value, int maximumAmplitude)
{
    if (value < 0 || value > maximumAmplitude)
        amplitude.showNotAvailable();
    else
        amplitude.show(value);
}

void InfoDistance::statisticsClear(bool)
{
    distance.clear();
    amplitude.clear();
}
