#include "measurement/InfoGrayscale.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include <QGridLayout>
#include <QLabel>

InfoGrayscale::InfoGrayscale(QWidget* parent) : QWidget(parent)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("Grayscale Information"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    value = InfoWindowStyle::addRow(this, grid, 1, QStringLiteral("Current"), QStringLiteral("lValue"));
}

InfoGrayscale::~InfoGrayscale()
{
    ZTRACE() << "-----InfoGrayscale destroying";
    ZTRACE() << "-----InfoGrayscale destroyed";
}

void InfoGrayscale::setPixel(int x, int y)
{
    header->setText(InfoWindowStyle::headerText(x, y));
    lastX = x;
    lastY = y;
}

void InfoGrayscale::setValue(int v)
{
    value->setText(v <= 2047 ? QString::number(v) + QStringLiteral(" LSB") : InfoWindowStyle::notAvailable());
}

void InfoGrayscale::statisticsClear(bool)
{
}
