#pragma once

#include <QWidget>

class Settings;

// What both temperature windows share: a floating "Temperature" window that stays on top
// and the connection to the hub's temperature list while the view panel's Temperature
// switch is on. Each window's form holds its light "CHIP" panel over the dark
// "ILLUMINATION BOARD" panel of read-only fields.
class TemperatureWindow : public QWidget
{
    Q_OBJECT

public:
    ~TemperatureWindow() override;

    // On: show, then follow the hub's temperaturesChanged(). Off: stop following, close.
    void setActive(bool on);
    // "25.3°C ": tenths of a degree Celsius, one decimal, a degree sign, C and a blank.
    static QString temperatureText(int tenths);

public slots:
    virtual void updateTemperatures() = 0;

protected:
    explicit TemperatureWindow(Settings* settings, QWidget* parent = nullptr);

    Settings* settings;
};
