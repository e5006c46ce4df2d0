#include "config/WidgetSettingsBinningAndReduction.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "config/ControllerBinningAndReduction.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsBinningAndReduction.h"

#include <QSignalBlocker>

namespace {
constexpr int binningCondition = 4;
// The item-data role through which a combo box item's flags are set.
constexpr int itemFlagsRole = Qt::UserRole - 1;
} // namespace

WidgetSettingsBinningAndReduction::WidgetSettingsBinningAndReduction(ApplicationContext* context,
                                                                     QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetSettingsBinningAndReduction)
    , settings(context->settings())
    , binningController(new ControllerBinningAndReduction(context))
{
    ui->setupUi(this);
    SettingsDistanceCalculation* calculation = settings->distanceCalculation();
    connect(calculation, &SettingsDistanceCalculation::dualMGXEnabled, this,
            &WidgetSettingsBinningAndReduction::lockVerticalBinning);
    connect(calculation, &SettingsDistanceCalculation::hdrEnabled, this,
            &WidgetSettingsBinningAndReduction::lockVerticalBinning);
    connect(settings, &Settings::fieldsLocked, this, &WidgetSettingsBinningAndReduction::lockFields);
    SettingsBinningAndReduction* binning = settings->binningAndReduction();
    connect(binning, &SettingsBinningAndReduction::lockVerticalBinning, this,
            &WidgetSettingsBinningAndReduction::lockFields);
    connect(binning, &SettingsBinningAndReduction::verticalBinningChanged, ui->cbBinningVertical,
            &QCheckBox::setChecked);
    connect(binning, &SettingsBinningAndReduction::horizontalBinningChanged, ui->cbBinningHorizontal,
            &QCheckBox::setChecked);
    connect(binning, &SettingsBinningAndReduction::rowReductionChanged, ui->cbRowReduction,
            &QComboBox::setCurrentIndex);
}

WidgetSettingsBinningAndReduction::~WidgetSettingsBinningAndReduction()
{
    ZTRACE() << "-----WidgetSettingsBinningAndReduction destroying";
    delete binningController;
    delete ui;
}

void WidgetSettingsBinningAndReduction::lockVerticalBinning(bool enable)
{
    setToolTip(enable ? QStringLiteral("Vertical binning is not available in dual MGX mode.") : QString());
    verticalBinningLocked = enable;
    ui->cbBinningVertical->setEnabled(!enable);
}

void WidgetSettingsBinningAndReduction::lockFields(bool state)
{
    ui->cbRowReduction->setEnabled(!state);
    if (!verticalBinningLocked)
        ui->cbBinningVertical->setEnabled(!state);
}

void WidgetSettingsBinningAndReduction::setFullSelectable(bool selectable)
{
    // "Full" is no row reduction, which binned rows cannot have.
    ui->cbRowReduction->setItemData(
        0, selectable ? QVariant(int(Qt::ItemIsSelectable | Qt::ItemIsEnabled)) : 0, itemFlagsRole);
}

void WidgetSettingsBinningAndReduction::on_cbBinningVertical_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    verticalBinningOn = checked;
    setFullSelectable(!checked);
    {
        const QSignalBlocker blocker(ui->cbRowReduction);
        if (checked && settings->binningAndReduction()->rowFactor() < 2)
            ui->cbRowReduction->setCurrentIndex(1);
        else if (!checked)
            ui->cbRowReduction->setCurrentIndex(0);
    }
    binningController->changeVerticalBinning(checked, ui->cbRowReduction->currentIndex());
    announceCorrectionCondition();
}

void WidgetSettingsBinningAndReduction::on_cbBinningHorizontal_toggled(bool checked)
{
    settings->announceFieldsLocked(true);
    horizontalBinningOn = checked;
    binningController->changeHorizontalBinning(checked);
    announceCorrectionCondition();
}

void WidgetSettingsBinningAndReduction::on_cbRowReduction_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    binningController->changeRowReduction(index);
    announceCorrectionCondition();
}

void WidgetSettingsBinningAndReduction::announceCorrectionCondition()
{
    const bool reduced =
        binningController->rowReductionIndex() > 0 || verticalBinningOn || horizontalBinningOn;
    emit updateCorrFields(reduced ? -binningCondition : binningCondition);
}
