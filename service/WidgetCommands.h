#pragma once

#include <QWidget>

class ApplicationContext;
class Settings;
class ZelTcp;

// The command console page ("commands"). For now it carries what the main window relies on:
// the signals that unlock calibration, rerun the start-up and hide the measurement windows,
// and the start-up's speed-of-light query. The console itself (command line, register dump,
// system information) fills this page later.
class WidgetCommands final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetCommands(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetCommands() override;

    // Asks the camera for its speed-of-light value, which the range computations use. No
    // usable reply (no connection, fewer than eight bytes, not a positive number) keeps the
    // value the hub has: a zero would make every unambiguous range zero.
    void readSpeedOfLight();

signals:
    void enableCalibration(bool state);
    void reloadSettings();
    void hideInfoWindows();

private:
    Settings* settings;
    ZelTcp* tcp;
};
