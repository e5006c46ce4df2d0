#include "measurement/InfoTemperature.h"

#include "settings/Settings.h"

#include "ui_InfoTemperature.h"

InfoTemperature::InfoTemperature(Settings* settings, QWidget* parent)
    : TemperatureWindow(settings, parent), ui(new Ui::InfoTemperature)
{
    ui->setupUi(this);
}

InfoTemperature::~InfoTemperature()
{
    delete ui;
}

void InfoTemperature::updateTemperatures()
{
    const QVector<int>& t = settings->temperatures();
    if (t.size() < 6)
        return;
    ui->leTl->setText(temperatureText(t[0]));
    ui->leTr->setText(temperatureText(t[1]));
    ui->leBl->setText(temperatureText(t[2]));
    ui->leBr->setText(temperatureText(t[3]));
    ui->leUpper->setText(temperatureText(t[4]));
    ui->leLower->setText(temperatureText(t[5]));
    ui->leTempAvg->setText(temperatureText((t[0] + t[1] + t[2] + t[3]) / 4));
}
