#include "measurement/TemperatureWindow.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"
#include "settings/Settings.h"

TemperatureWindow::TemperatureWindow(Settings* settings, QWidget* parent)
    : QWidget(parent), settings(settings)
{
    InfoWindowStyle::setUpWindow(this, true);
}

TemperatureWindow::~TemperatureWindow()
{
    ZTRACE() << "-----InfoTemperature destroying";
}

void TemperatureWindow::setActive(bool on)
{
    if (on) {
        show();
        connect(settings, &Settings::temperaturesChanged, this, &TemperatureWindow::updateTemperatures,
                Qt::UniqueConnection);
    } else {
        disconnect(settings, &Settings::temperaturesChanged, this, &TemperatureWindow::updateTemperatures);
        close();
    }
}

QString TemperatureWindow::temperatureText(int tenths)
{
    return QString::number(tenths / 10.0, 'f', 1) + QStringLiteral("°C ");
}
