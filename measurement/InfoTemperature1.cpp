#include "measurement/InfoTemperature1.h"

#include "settings/Settings.h"

#include "ui_InfoTemperature1.h"

InfoTemperature1::InfoTemperature1(Settings* settings, QWidget* parent)
    : TemperatureWindow(settings, parent), ui(new Ui::InfoTemperature1)
{
    ui->setupUi(this);
}

InfoTemperature1::~InfoTemperature1()
{
    delete ui;
}

void InfoTemperature1::updateTemperatures()
{
    const int chipType = settings->chipType();
    const QVector<int>& t = settings->temperatures();
    if ((chipType != 4 && chipType != 5) || t.size() < 3)
        return;
    ui->leTl->setText(temperatureText(t[0]));
    ui->leUpper->setText(temperatureText(t[1]));
    ui->leLower->setText(temperatureText(t[2]));
}
