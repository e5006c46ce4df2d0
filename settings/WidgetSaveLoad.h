#pragma once

#include <QWidget>

class Settings;
class SettingsManager;
class ZelTcp;

namespace Ui {
class WidgetSaveLoad;
}

// The save/load page: saves the configuration to a file the user picks and loads one back,
// which re-sends every value to the camera. Both stop the video first.
class WidgetSaveLoad final : public QWidget
{
    Q_OBJECT

public:
    WidgetSaveLoad(Settings* settings, ZelTcp* tcp, SettingsManager* manager, QWidget* parent = nullptr);
    ~WidgetSaveLoad() override;

public slots:
    void on_tbSave_clicked();
    void on_tbLoad_clicked();

private:
    void showMessage(int kind, const QString& message, const QString& title);

    Ui::WidgetSaveLoad* ui;
    Settings* settings;
    ZelTcp* tcp;
    SettingsManager* manager;
};
