#include "config/WidgetSettingsDataValidation.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsDataValidation.h"

WidgetSettingsDataValidation::WidgetSettingsDataValidation(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetSettingsDataValidation)
    , settings(context->settings())
    , controller(context)
{
    ui->setupUi(this);
    SettingsDataValidation* validation = settings->dataValidation();
    connect(validation, &SettingsDataValidation::saturationChanged, ui->cbSaturation, &QCheckBox::setChecked);
    connect(validation, &SettingsDataValidation::adcOverflowChanged, ui->cbAdcOverflow,
            &QCheckBox::setChecked);
    applyChip();
}

void WidgetSettingsDataValidation::applyChip()
{
    const int chip = settings->chipType();
    disconnect(lockConnection);
    if ((chip == 2 || chip == 3) && settings->icVersion() < 3) {
        ui->cbSaturation->setEnabled(false);
        ui->cbAdcOverflow->setEnabled(true);
    } else {
        ui->cbSaturation->setEnabled(true);
        lockConnection =
            connect(settings, &Settings::fieldsLocked, this, &WidgetSettingsDataValidation::lockFields);
    }
}

WidgetSettingsDataValidation::~WidgetSettingsDataValidation()
{
    ZTRACE() << "-----WidgetSettingsSaturation destroying";
    delete ui;
    ZTRACE() << "-----WidgetSettingsSaturation destroyed";
}

void WidgetSettingsDataValidation::on_cbSaturation_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    controller.changeSaturation(checked);
}

void WidgetSettingsDataValidation::lockFields(bool state)
{
    ui->cbSaturation->setEnabled(!state);
    ui->cbAdcOverflow->setEnabled(!state);
}

void WidgetSettingsDataValidation::on_cbAdcOverflow_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    controller.changeAdcOverflow(checked);
}
