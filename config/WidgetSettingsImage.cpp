#include "config/WidgetSettingsImage.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsImage.h"

WidgetSettingsImage::WidgetSettingsImage(ApplicationContext* context, QWidget* parent)
    : QWidget(parent), ui(new Ui::WidgetSettingsImage), settings(context->settings()), controller(context)
{
    ui->setupUi(this);
    connect(settings, &Settings::movingAverageImageNumberChanged, ui->lMovingAverageImageNumber,
            &QSpinBox::setValue);
}

WidgetSettingsImage::~WidgetSettingsImage()
{
    ZTRACE() << "-----WidgetSettingsImage destroying";
    delete ui;
    ZTRACE() << "-----WidgetSettingsImage destroyed";
}

void WidgetSettingsImage::on_lMovingAverageImageNumber_valueChanged(int arg1)
{
    // The hub first, so that the echo of its signal finds the box already on this value.
    settings->setMovingAverageImageNumber(arg1);
    controller.changeImageAveraging(arg1);
}
