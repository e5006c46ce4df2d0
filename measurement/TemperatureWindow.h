#pragma once

#include <QWidget>

class QGridLayout;
class QLineEdit;
class Settings;

// What both temperature windows share: a floating "Temperature" window that stays on top,
// a light "CHIP" panel over a dark "ILLUMINATION BOARD" panel of read-only fields, and the
// connection to the hub's temperature list while the view panel's Temperature switch is on.
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
    // The chip panel's grid (fields go from row 1 on; row 0 holds the "CHIP" heading).
    QGridLayout* chipGrid() const { return chip; }
    QLineEdit* addField(QGridLayout* grid, int row, int column, const QString& name);

    Settings* settings;
    QLineEdit* upper;
    QLineEdit* lower;

private:
    QGridLayout* chip;
};
