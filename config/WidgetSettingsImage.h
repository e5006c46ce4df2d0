#pragma once

#include "config/ControllerImage.h"

#include <QWidget>

class ApplicationContext;
class Settings;

namespace Ui {
class WidgetSettingsImage;
}

// The image panel: the weighting factor of the camera's recursive averaging.
class WidgetSettingsImage final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsImage(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsImage() override;

public slots:
    void on_lMovingAverageImageNumber_valueChanged(int arg1);

private:
    Ui::WidgetSettingsImage* ui;
    Settings* settings;
    ControllerImage controller;
};
