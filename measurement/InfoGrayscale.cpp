#include "measurement/InfoGrayscale.h"

#include "app/Trace.h"

#include <QGridLayout>
#include <QLabel>

InfoGrayscale::InfoGrayscale(QWidget* parent) : QWidget(parent), value(StatisticsColumn::Unit::Lsb)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("Grayscale Information"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    InfoWindowStyle::addRowTitles(this, grid, false);
    value.setLabels(InfoWindowStyle::addStatisticsColumn(this, grid, 1, QStringLiteral("lValue")));
    InfoWindowStyle::addLine(this, grid, InfoWindowStyle::FooterRow, 2,
                             QStringLiteral("Statistics over 100 samples"), QStringLiteral("lStatistics"));
    InfoWindowStyle::addHints(this, grid, InfoWindowStyle::FooterRow + 1, 2,
                              QStringLiteral("Set position:  Press Ctrl + left mouse button"),
                              QStringLiteral("Delete:  Re-enter mouse cursor into image"));
}

InfoGrayscale::~InfoGrayscale()
{
    ZTRACE() << "-----InfoGrayscale destroying";
    ZTRACE() << "-----InfoGrayscale destroyed";
}

void InfoGrayscale::setPixel(int x, int y)
{
    header->setText(InfoWindowStyle::headerText(x, y));
    if (x != lastX || y != lastY)
        statisticsClear(true);
    lastX = x;
    lastY = y;
}

void InfoGrayscale::setValue(int v)
{
    if (v <= 2047)
        value.show(v);
    else
        value.showNotAvailable();
}

void InfoGrayscale::statisticsClear(bool)
{
    value.clear();
}
