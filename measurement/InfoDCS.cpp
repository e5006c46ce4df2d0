#include "measurement/InfoDCS.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include "ui_InfoDCS.h"

InfoDCS::InfoDCS(QWidget* parent) : QWidget(parent), ui(new Ui::InfoDCS)
{
    InfoWindowStyle::setUpWindow(this, true);
    ui->setupUi(this);
    samples[0] = ui->lDCS0;
    samples[1] = ui->lDCS1;
    samples[2] = ui->lDCS2;
    samples[3] = ui->lDCS3;
}

InfoDCS::~InfoDCS()
{
    ZTRACE() << "-----InfoDCS destroying";
    ZTRACE() << "-----InfoDCS destroyed";
    delete ui;
}

void InfoDCS::setPixel(int x, int y)
{
    ui->lHeader->setText(InfoWindowStyle::headerText(x, y));
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
