#include "measurement/InfoAmplitude.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include <QGridLayout>
#include <QLabel>

InfoAmplitude::InfoAmplitude(QWidget* parent) : QWidget(parent)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("Amplitude Information"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    amplitude =
        InfoWindowStyle::addRow(this, grid, 1, QStringLiteral("Current:"), QStringLiteral("lAmplitude"));
}

InfoAmplitude::~InfoAmplitude()
{
    ZTRACE() << "-----InfoAmplitude destroying";
    ZTRACE() << "-----InfoAmplitude destroyed";
}

void InfoAmplitude::setPixel(int x, int y)
{
    header->setText(InfoWindowStyle::headerText(x, y));
    lastX = x;
    lastY = y;
}

void InfoAmplitude::setAmplitude(int value, int maximumAmplitude)
{
    amplitude->setText(value >= 0 && value <= maximumAmplitude
                           ? QString::number(value) + QStringLiteral(" LSB")
                           : InfoWindowStyle::notAvailable());
}

void InfoAmplitude::statisticsClear(bool)
{
}
