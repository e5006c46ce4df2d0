#include "measurement/InfoDifDCS.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include "ui_InfoDifDCS.h"

namespace {
QString differenceText(int value)
{
    return value >= -4096 && value <= 4095 ? QString::number(value) + QStringLiteral(" LSB")
                                           : InfoWindowStyle::notAvailable();
}
} // namespace

InfoDifDCS::InfoDifDCS(QWidget* parent) : QWidget(parent), ui(new Ui::InfoDifDCS)
{
    InfoWindowStyle::setUpWindow(this, true);
    ui->setupUi(this);
}

InfoDifDCS::~InfoDifDCS()
{
    ZTRACE() << "-----InfoDifDCS destroying";
    ZTRACE() << "-----InfoDifDCS destroyed";
    delete ui;
}

void InfoDifDCS::setPixel(int x, int y)
{
    ui->lHeader->setText(InfoWindowStyle::headerText(x, y));
}

void InfoDifDCS::setDifDCS0(int value)
{
    ui->lDifDCS0->setText(differenceText(value));
}

void InfoDifDCS::setDifDCS1(int value)
{
    ui->lDifDCS1->setText(differenceText(value));
}
