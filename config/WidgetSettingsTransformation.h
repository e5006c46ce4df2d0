#pragma once

#include "config/ControllerTransformation.h"

#include <QWidget>

class ApplicationContext;

namespace Ui {
class WidgetSettingsTransformation;
}

// The image flips; the views mirror the picture, the camera is not involved.
class WidgetSettingsTransformation final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettingsTransformation(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetSettingsTransformation() override;

public slots:
    void on_cbFlipHorizontal_toggled(bool checked);
    void on_cbFlipVertical_toggled(bool checked);

private:
    Ui::WidgetSettingsTransformation* ui;
    ControllerTransformation controller;
};
