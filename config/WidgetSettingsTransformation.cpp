#include "config/WidgetSettingsTransformation.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsTransformation.h"

WidgetSettingsTransformation::WidgetSettingsTransformation(ApplicationContext* context, QWidget* parent)
    : QWidget(parent), ui(new Ui::WidgetSettingsTransformation), controller(context)
{
    ui->setupUi(this);
    SettingsTransformation* transformation = context->settings()->transformation();
    connect(transformation, &SettingsTransformation::horizontalFlipped, ui->cbFlipHorizontal,
            &QCheckBox::setChecked);
    connect(transformation, &SettingsTransformation::verticalFlipped, ui->cbFlipVertical,
            &QCheckBox::setChecked);
}

WidgetSettingsTransformation::~WidgetSettingsTransformation()
{
    ZTRACE() << "-----WidgetSettingsTransformation destroying";
    delete ui;
}

void WidgetSettingsTransformation::on_cbFlipHorizontal_toggled(bool checked)
{
    controller.changeHorizontalFlip(checked);
}

void WidgetSettingsTransformation::on_cbFlipVertical_toggled(bool checked)
{
    controller.changeVerticalFlip(checked);
}
