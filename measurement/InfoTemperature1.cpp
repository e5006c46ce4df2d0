#include "measurement/InfoTemperature1.h"

#include "settings/Settings.h"

#include <QGridLayout>
#include <QLineEdit>

InfoTemperature1::InfoTemperature1(Settings* settings, QWidget* parent) : TemperatureWindow(settings, parent)
{
    chipTemperature = addField(chipGrid(), 1, 1, QStringLiteral("leTl"));
    resize(231, 180);
}

void InfoTemperature1::updateTemperatures()
{
    const int chipType = settings->chipType();
    const QVector<int>& t = settings->temperatures();
    if ((chipType != 4 && chipType != 5) || t.size() < 3)
        return;
    chipTemperature->setText(temperatureText(t[0]));
    upper->setText(temperatureText(t[1]));
    lower->setText(temperatureText(t[2]));
}
