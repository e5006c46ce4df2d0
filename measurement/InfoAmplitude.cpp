#include "measurement/InfoAmplitude.h"

#include "app/Trace.h"

#include <QGridLayout>
#include <QLabel>

InfoAmplitude::InfoAmplitude(QWidget* parent) : QWidget(parent), amplitude(StatisticsColumn::Unit::Lsb)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("Amplitude Information"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    InfoWindowStyle::addRowTitles(this, grid, true);
    amplitude.setLabels(InfoWindowStyle::addStatisticsColumn(this, grid, 1, QStringLiteral("lAmplitude")));
    InfoWindowStyle::addLine(this, grid, InfoWindowStyle::FooterRow, 2,
                             QStringLiteral("Statistics over 100 samples"), QStringLiteral("lStatistics"));
    InfoWindowStyle::addHints(this, grid, InfoWindowStyle::FooterRow + 1, 2,
                              QStringLiteral("Set position: Press Ctrl + left mouse button"),
                              QStringLiteral("Delete:  Re-enter mouse cursor into image"));
}

InfoAmplitude::~InfoAmplitude()
{
    ZTRACE() << "-----InfoAmplitude destroying";
    ZTRACE() << "-----InfoAmplitude destroyed";
}

void InfoAmplitude::setPixel(int x, int y)
{
    header->setText(InfoWindowStyle::headerText(x, y));
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
