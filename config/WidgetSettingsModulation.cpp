#include "config/WidgetSettingsModulation.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsModulation.h"

#include <QSignalBlocker>

namespace {
// Calibrated without background suppression; every other calibrated type needs it on.
constexpr int calibrationWithoutAbs = 21;
constexpr int modulationCondition = 2;
} // namespace

WidgetSettingsModulation::WidgetSettingsModulation(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetSettingsModulation)
    , settings(context->settings())
    , controller(context)
{
    ui->setupUi(this);
    fillFrequencies();
    connect(settings->modulation(), &SettingsModulation::modulationFrequencyIndexChanged, ui->cbModeFrequency,
            &QComboBox::setCurrentIndex);
    connect(settings, &Settings::fieldsLocked, this, &WidgetSettingsModulation::lockFields);
}

WidgetSettingsModulation::~WidgetSettingsModulation()
{
    ZTRACE() << "-----WidgetSettingsModulation destroying";
    delete ui;
}

void WidgetSettingsModulation::fillFrequencies()
{
    const QStringList labels = settings->modulation()->labels();
    // Offline there is no list: the form's items stay as a placeholder.
    if (labels.isEmpty())
        return;
    const QSignalBlocker blocker(ui->cbModeFrequency);
    ui->cbModeFrequency->clear();
    ui->cbModeFrequency->addItems(labels);
    ui->cbModeFrequency->setCurrentIndex(settings->modulation()->frequencyIndex());
}

void WidgetSettingsModulation::on_cbModeFrequency_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    ZTRACE() << "on_cbModeFrequency_currentIndexChanged";
    const int type = settings->modulation()->calibrationTypeOf(index);
    ZTRACE() << "calibMode" << type;
    settings->announceFieldsLocked(true);
    controller.changeModulationFrequency(index);
    if (type == calibrationWithoutAbs) {
        settings->abs()->setAbs(false);
        emit updateCorrFields(modulationCondition);
    } else if (type > 0) {
        settings->abs()->setAbs(true);
        emit updateCorrFields(modulationCondition);
    } else {
        emit updateCorrFields(-modulationCondition);
    }
    // The Kalman thresholds are kept in cm and sent in the new frequency's distance scale.
    settings->emitKalmanThresholds();
}

void WidgetSettingsModulation::lockFields(bool state)
{
    ui->cbModeFrequency->setEnabled(!state);
}
