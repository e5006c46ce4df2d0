#include "measurement/InfoAmplitude.h"

#include "app/Trace.h"

#include "ui_InfoAmplitude.h"

InfoAmplitude::InfoAmplitude(QWidget* parent)
    : QWidget(parent), ui(new Ui::InfoAmplitude), amplitude(StatisticsColumn::Unit::Lsb)
{
    InfoWindowStyle::setUpWindow(this, true);
    ui->setupUi(this);
    amplitude.setLabels({ui->lAmplitude, ui->lAmplitudeMin, ui->lAmplitudeMax, ui->lAmplitudeAverage,
                         ui->lAmplitudeVariation});
}

InfoAmplitude::~InfoAmplitude()
{
    ZTRACE() << "-----InfoAmplitude destroying";
    ZTRACE() << "-----InfoAmplitude destroyed";
    delete ui;
}

void InfoAmplitude::setPixel(int x, int y)
{
    ui->lHeader->setText(InfoWindowStyle::headerText(x, y));
    if (x != lastX || y != lastY)
        statisticsClear(true);
    lastX = x;
    lastY = y;
}

void InfoAmplitude::setAmplitude(int value, int maximumAmplitude)
{
    if (value >= 0 && value <= maximumAmplitude)
        amplitude.show(value);
    else
        amplitude.showNotAvailable();
}

void InfoAmplitude::statisticsClear(bool)
{
    amplitude.clear();
}
