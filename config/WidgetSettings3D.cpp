#include "config/WidgetSettings3D.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettings3D.h"

#include <algorithm>

WidgetSettings3D::WidgetSettings3D(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetSettings3D)
    , settings(context->settings())
    , controller(context)
    , labeler(settings)
{
    ui->setupUi(this);
    ui->cbEnableTemperatureCorrectionOffset->hide();

    Settings3D* s3d = settings->settings3D();
    connect(s3d, &Settings3D::distanceMaxChanged, ui->sbRangeMax, &QSpinBox::setValue);
    connect(s3d, &Settings3D::distanceMinChanged, ui->sbRangeMin, &QSpinBox::setValue);
    connect(s3d, &Settings3D::minAmplitudeChanged, ui->sbAmplitudeMin, &QSpinBox::setValue);
    connect(s3d, &Settings3D::hysteresisEnabledChanged, ui->cbHysteresis, &QCheckBox::setChecked);
    connect(s3d, &Settings3D::hysteresisChanged, ui->sbHysteresis, &QSpinBox::setValue);
    connect(s3d, &Settings3D::automaticOffsetChanged, this, &WidgetSettings3D::setDefaultOffset);
    connect(s3d, &Settings3D::manualOffsetChanged, ui->sbOffset, &QSpinBox::setValue);
    // An exclusive radio button cannot be unchecked by itself: its partner is checked instead.
    connect(s3d, &Settings3D::autoOffsetDisable, this,
            [this](bool manual) { (manual ? ui->rbManual : ui->rbDefault)->setChecked(true); });
    SettingsModulation* modulation = settings->modulation();
    connect(modulation, &SettingsModulation::modulationFrequencyIndexChanged, this,
            &WidgetSettings3D::reloadManualOffset);
    connect(modulation, &SettingsModulation::modulationFrequencyChanged, this,
            &WidgetSettings3D::changeOffsetRange);
    connect(modulation, &SettingsModulation::modulationFrequencyChanged, this,
            &WidgetSettings3D::setMaxRangeMax);
    connect(settings, &Settings::calibrationChanged, this, &WidgetSettings3D::setDefault);
    connect(settings, &Settings::fieldsLocked, this, &WidgetSettings3D::lockFields);
}

WidgetSettings3D::~WidgetSettings3D()
{
    ZTRACE() << "-----WidgetSettings3D destroying";
    delete ui;
}

void WidgetSettings3D::setDefaultChecked(bool checked)
{
    ui->rbDefault->setChecked(checked);
}

void WidgetSettings3D::changeOffsetRange()
{
    const int range = labeler.updateRangeCm();
    ui->sbOffset->setRange(-range, range);
}

void WidgetSettings3D::setMaxRangeMax()
{
    ui->sbRangeMax->setMaximum(labeler.updateRangeCm());
}

void WidgetSettings3D::setDefaultOffset(int value)
{
    ui->sbOffsetDefault->setValue(value);
}

void WidgetSettings3D::lockFields(bool state)
{
    ui->sbAmplitudeMin->setReadOnly(state);
    ui->sbOffset->setReadOnly(state);
    ui->cbEnableTemperatureCorrectionOffset->setEnabled(!state);
}

// The range only decides which pixels are drawn: nothing goes to the camera.
void WidgetSettings3D::on_sbRangeMax_valueChanged(int arg1)
{
    settings->settings3D()->setDistanceMax(arg1);
    ui->sbRangeMin->setMaximum(arg1 - 1);
}

void WidgetSettings3D::on_sbRangeMin_valueChanged(int arg1)
{
    settings->settings3D()->setDistanceMin(arg1);
    ui->sbRangeMax->setMinimum(arg1 + 1);
}

void WidgetSettings3D::on_sbAmplitudeMin_valueChanged(int arg1)
{
    ui->sbHysteresis->setMaximum(arg1);
    settings->announceFieldsLocked(true);
    controller.changeMinAmplitude(arg1);
}

void WidgetSettings3D::on_cbHysteresis_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    settings->settings3D()->setHysteresisEnabled(checked);
    ui->sbHysteresis->setEnabled(checked);
    controller.changeHysteresis(checked ? settings->settings3D()->hysteresis() : 0);
}

void WidgetSettings3D::on_sbHysteresis_valueChanged(int arg1)
{
    settings->announceFieldsLocked(true);
    controller.changeHysteresis(std::min(arg1, settings->settings3D()->minAmplitude()));
}

void WidgetSettings3D::on_rbManual_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    settings->settings3D()->setAutoOffsetEnabled(!checked);
    ui->sbOffset->setEnabled(checked);
    ui->sbOffsetDefault->setEnabled(!checked);
    if (checked)
        controller.changeOffset(ui->sbOffset->value());
    else
        controller.useDefaultOffset();
}

void WidgetSettings3D::on_sbOffset_valueChanged(int arg1)
{
    settings->announceFieldsLocked(true);
    controller.changeOffset(arg1);
}

void WidgetSettings3D::on_cbEnableTemperatureCorrectionOffset_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    controller.changeOffsetTemperatureCorrection(checked);
}

void WidgetSettings3D::reloadManualOffset()
{
    if (ui->rbManual->isChecked())
        controller.changeOffset(ui->sbOffset->value());
    else
        controller.pauseController()->resume();
}

void WidgetSettings3D::setDefault()
{
    ui->rbDefault->setChecked(true);
}
