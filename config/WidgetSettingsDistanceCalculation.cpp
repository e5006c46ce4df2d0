#include "config/WidgetSettingsDistanceCalculation.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsDistanceCalculation.h"

#include <QSignalBlocker>

namespace {
constexpr int calculationCondition = 3;
constexpr int distanceViewMode = 1;
// The pseudo-noise mode: the only one besides sinusoidal that the camera knows.
constexpr int pseudoNoiseMode = 1;
} // namespace

WidgetSettingsDistanceCalculation::WidgetSettingsDistanceCalculation(ApplicationContext* context,
                                                                     QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetSettingsDistanceCalculation)
    , settings(context->settings())
    , controller(context)
{
    ui->setupUi(this);
    ui->cbAmplitudeHDR->setChecked(false);
    ui->cbAmplitudeHDR->hide();
    SettingsDistanceCalculation* calculation = settings->distanceCalculation();
    // The views combine HDR row pairs only while the option is ticked.
    calculation->setAmplitudeHdr(false);
    connect(calculation, &SettingsDistanceCalculation::piDelayEnabled, ui->cbPiDelay, &QCheckBox::setChecked);
    connect(calculation, &SettingsDistanceCalculation::dualMGXEnabled, ui->cbDualMGX, &QCheckBox::setChecked);
    connect(calculation, &SettingsDistanceCalculation::hdrEnabled, ui->cbHDR, &QCheckBox::setChecked);
    connect(calculation, &SettingsDistanceCalculation::modulationIndexChanged, this,
            &WidgetSettingsDistanceCalculation::showModulationMode);
    connect(calculation, &SettingsDistanceCalculation::LFSRIndexChanged, ui->cbLFSR,
            &QComboBox::setCurrentIndex);
    connect(calculation, &SettingsDistanceCalculation::polyIndexChanged, ui->cbPolynomial,
            &QComboBox::setCurrentIndex);
    connect(settings, &Settings::fieldsLocked, this, &WidgetSettingsDistanceCalculation::lockFields);
    connect(settings->binningAndReduction(), &SettingsBinningAndReduction::verticalBinningChanged, this,
            &WidgetSettingsDistanceCalculation::enableCbDualMGX);
    applyChip();
}

void WidgetSettingsDistanceCalculation::applyChip()
{
    const int chip = settings->chipType();
    const bool smallSensor = chip == 4 || chip == 5;
    const bool pseudoNoise = !smallSensor && ui->cbSelectMode->currentIndex() > 0;
    ui->lModulation->setVisible(!smallSensor);
    ui->cbSelectMode->setVisible(!smallSensor);
    for (QWidget* widget : {static_cast<QWidget*>(ui->lLFSR), static_cast<QWidget*>(ui->cbLFSR),
                            static_cast<QWidget*>(ui->lPolynomial), static_cast<QWidget*>(ui->cbPolynomial)})
        widget->setVisible(pseudoNoise);
}

WidgetSettingsDistanceCalculation::~WidgetSettingsDistanceCalculation()
{
    ZTRACE() << "-----WidgetSettingsDistanceCalculation destroying";
    delete ui;
}

void WidgetSettingsDistanceCalculation::showModulationMode(int index)
{
    QComboBox* modes = ui->cbSelectMode;
    if (index == pseudoNoiseMode && modes->count() == pseudoNoiseMode)
        modes->addItem(QStringLiteral("PN"));
    if (index < 0 || index >= modes->count()) {
        ZTRACE() << "modulation mode not offered:" << index;
        return;
    }
    modes->setCurrentIndex(index);
}

void WidgetSettingsDistanceCalculation::enableCbDualMGX()
{
    const bool binned = settings->binningAndReduction()->verticalBinning();
    ui->cbDualMGX->setEnabled(!binned);
    ui->cbHDR->setEnabled(!binned);
}

void WidgetSettingsDistanceCalculation::enableAmplitudeHDR(bool checked)
{
    ui->cbAmplitudeHDR->setEnabled(checked);
    ui->cbAmplitudeHDR->setVisible(checked);
}

void WidgetSettingsDistanceCalculation::setAmplitudeHdrOption(bool on)
{
    ui->cbAmplitudeHDR->setChecked(on);
    settings->distanceCalculation()->setAmplitudeHdr(on);
    enableAmplitudeHDR(on);
}

void WidgetSettingsDistanceCalculation::on_cbPiDelay_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    piDelayOff = !checked;
    controller.changePiDelay(checked);
    announceCorrectionCondition();
}

void WidgetSettingsDistanceCalculation::on_cbDualMGX_toggled(bool checked)
{
    ui->cbHDR->setEnabled(!checked);
    dualMgxOn = checked;
    settings->announceFieldsLocked(true);
    if (checked)
        controller.changeHdr(false);
    controller.changeDualMGX(checked);
    settings->distanceCalculation()->setDualMGX(checked);
    announceCorrectionCondition();
}

void WidgetSettingsDistanceCalculation::lockFields(bool state)
{
    ui->cbPiDelay->setEnabled(!state);
}

void WidgetSettingsDistanceCalculation::on_cbSelectMode_currentIndexChanged(int index)
{
    // An emptied selector has no mode to send.
    if (index < 0)
        return;
    settings->announceFieldsLocked(true);
    const int chip = settings->chipType();
    const bool pseudoNoise = index != 0 && chip != 4 && chip != 5;
    for (QWidget* widget : {static_cast<QWidget*>(ui->cbLFSR), static_cast<QWidget*>(ui->cbPolynomial)}) {
        widget->setEnabled(pseudoNoise);
        widget->setVisible(pseudoNoise);
    }
    ui->lLFSR->setVisible(pseudoNoise);
    ui->lPolynomial->setVisible(pseudoNoise);
    controller.changeModulationMode(index);
    announceCorrectionCondition();
}

void WidgetSettingsDistanceCalculation::on_cbPolynomial_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    controller.changePolynomial(ui->cbLFSR->currentIndex(), index);
}

void WidgetSettingsDistanceCalculation::on_cbLFSR_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    controller.changePolynomial(index, ui->cbPolynomial->currentIndex());
}

void WidgetSettingsDistanceCalculation::on_cbHDR_toggled(bool checked)
{
    ui->cbDualMGX->setEnabled(!checked);
    ui->cbAmplitudeHDR->setChecked(checked);
    enableAmplitudeHDR(checked);
    hdrOn = checked;
    settings->announceFieldsLocked(true);
    SettingsDistanceCalculation* calculation = settings->distanceCalculation();
    if (checked) {
        // Both commands wait for the same pause and go out in this order.
        controller.changeDualMGX(false);
        controller.changeHdr(true);
        calculation->setHdr(true);
    } else {
        controller.changeHdr(false);
        calculation->setHdr(false);
        emit hdrToggled(distanceViewMode);
    }
    announceCorrectionCondition();
}

void WidgetSettingsDistanceCalculation::on_cbAmplitudeHDR_toggled(bool checked)
{
    settings->distanceCalculation()->setAmplitudeHdr(checked);
}

void WidgetSettingsDistanceCalculation::announceCorrectionCondition()
{
    const bool outsideCalibration = controller.modulationMode() > 0 || dualMgxOn || hdrOn || piDelayOff;
    emit updateCorrFields(outsideCalibration ? -calculationCondition : calculationCondition);
}
