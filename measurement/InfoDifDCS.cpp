#include "measurement/InfoDifDCS.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include <QGridLayout>
#include <QLabel>

namespace {
QString differenceText(int value)
{
    return value >= -4096 && value <= 4095 ? QString::number(value) + QStringLiteral(" LSB")
                                           : InfoWindowStyle::notAvailable();
}
} // namespace

InfoDifDCS::InfoDifDCS(QWidget* parent) : QWidget(parent)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("DCS Difference Information"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    differences[0] =
        InfoWindowStyle::addRow(this, grid, 1, QStringLiteral("DCS2-DCS0 "), QStringLiteral("lDifDCS0"));
    differences[1] =
        InfoWindowStyle::addRow(this, grid, 2, QStringLiteral("DCS3-DCS1 "), QStringLiteral("lDifDCS1"));
    InfoWindowStyle::addHints(this, grid, 3, 2,
                              QStringLiteral("Set position:      Press Ctrl + left mouse button"),
                              QStringLiteral("Delete:         Re-enter mouse cursor into image"));
}

InfoDifDCS::~InfoDifDCS()
{
    ZTRACE() << "-----InfoDifDCS destroying";
    ZTRACE() << "-----InfoDifDCS destroyed";
}

void InfoDifDCS::setPixel(int x, int y)
{
    header->setText(InfoWindowStyle::headerText(x, y));
}

void InfoDifDCS::setDifDCS0(int value)
{
    differences[0]->setText(differenceText(value));
}

void InfoDifDCS::setDifDCS1(int value)
{
    differences[1]->setText(differenceText(value));
}
