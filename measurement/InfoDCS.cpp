#include "measurement/InfoDCS.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include <QGridLayout>
#include <QLabel>

InfoDCS::InfoDCS(QWidget* parent) : QWidget(parent)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("DCS Information"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    for (int i = 0; i < 4; ++i)
        samples[i] = InfoWindowStyle::addRow(this, grid, i + 1, QStringLiteral("DCS") + QString::number(i),
                                             QStringLiteral("lDCS") + QString::number(i));
    InfoWindowStyle::addHints(this, grid, 5, 2,
                              QStringLiteral("Set position:    Press Ctrl + left mouse button"),
                              QStringLiteral("Delete:       Re-enter mouse cursor into image"));
}

InfoDCS::~InfoDCS()
{
    ZTRACE() << "-----InfoDCS destroying";
    ZTRACE() << "-----InfoDCS destroyed";
}

void InfoDCS::setPixel(int x, int y)
{
    header->setText(InfoWindowStyle::headerText(x, y));
}

void InfoDCS::setSample(int index, int value)
{
    samples[index]->setText(value >= -2048 && value <= 2047 ? QString::number(value) + QStringLiteral(" LSB")
                                                            : InfoWindowStyle::notAvailable());
}

void InfoDCS::setDCS0(int value)
{
    setSample(0, value);
}

void InfoDCS::setDCS1(int value)
{
    setSample(1, value);
}

void InfoDCS::setDCS2(int value)
{
    setSample(2, value);
}

void InfoDCS::setDCS3(int value)
{
    setSample(3, value);
}
