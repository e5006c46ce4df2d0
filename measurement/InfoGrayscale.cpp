#include "measurement/InfoGrayscale.h"

#include "app/Trace.h"

#include "ui_InfoGrayscale.h"

InfoGrayscale::InfoGrayscale(QWidget* parent)
    : QWidget(parent), ui(new Ui::InfoGrayscale), value(StatisticsColumn::Unit::Lsb)
{
    InfoWindowStyle::setUpWindow(this, true);
    ui->setupUi(this);
    value.setLabels({ui->lValue, ui->lValueMin, ui->lValueMax, ui->lValueAverage, ui->lValueVariation});
}

InfoGrayscale::~InfoGrayscale()
{
    ZTRACE() << "-----InfoGrayscale destroying";
    ZTRACE() << "-----InfoGrayscale destroyed";
    delete ui;
}

void InfoGrayscale::setPixel(int x, int y)
{
    ui->lHeader->setText(InfoWindowStyle::headerText(x, y));
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
