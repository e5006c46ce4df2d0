#include "config/WidgetSettingsIntegrationTime.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetSettingsIntegrationTime.h"

WidgetSettingsIntegrationTime::WidgetSettingsIntegrationTime(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetSettingsIntegrationTime)
    , settings(context->settings())
    , controller(context)
{
    ui->setupUi(this);
    ui->lIntegrationTime3DHDR->hide();
    ui->sbIntegrationTime3DHDR->hide();
    ui->sbIntegrationTime3DHDR->setEnabled(false);
    ui->lPNSequencLength->hide();
    ui->lePNSequenceLength->hide();
    ui->lePNSequenceLength->setEnabled(false);

    SettingsIntegrationTime* times = settings->integrationTime();
    connect(times, &SettingsIntegrationTime::integrationTime2DChanged, ui->sbIntegrationTime2D,
            &QSpinBox::setValue);
    connect(times, &SettingsIntegrationTime::integrationTime3DChanged, ui->sbIntegrationTime3D,
            &QSpinBox::setValue);
    connect(times, &SettingsIntegrationTime::integrationTime3DHDRChanged, ui->sbIntegrationTime3DHDR,
            &QSpinBox::setValue);
    SettingsDistanceCalculation* calculation = settings->distanceCalculation();
    connect(calculation, &SettingsDistanceCalculation::hdrEnabled, ui->sbIntegrationTime3DHDR,
            &QWidget::setEnabled);
    connect(calculation, &SettingsDistanceCalculation::hdrEnabled, ui->sbIntegrationTime3DHDR,
            &QWidget::setVisible);
    connect(calculation, &SettingsDistanceCalculation::hdrEnabled, ui->lIntegrationTime3DHDR,
            &QWidget::setVisible);
    connect(settings->modulation(), &SettingsModulation::modulationFrequencyChanged, this,
            &WidgetSettingsIntegrationTime::updateMinPNSeq);
    connect(calculation, &SettingsDistanceCalculation::modulationIndexChanged, this,
            &WidgetSettingsIntegrationTime::updateMinPNSeq);
    connect(calculation, &SettingsDistanceCalculation::LFSRIndexChanged, this,
            &WidgetSettingsIntegrationTime::updateMinPNSeq);
    connect(times, &SettingsIntegrationTime::lock2DTime, this, &WidgetSettingsIntegrationTime::lock2DField);
    connect(settings, &Settings::fieldsLocked, this, &WidgetSettingsIntegrationTime::lockFields);
}

WidgetSettingsIntegrationTime::~WidgetSettingsIntegrationTime()
{
    ZTRACE() << "-----WidgetSettingsIntegrationTime destroying";
    delete ui;
}

void WidgetSettingsIntegrationTime::showTofTime(bool tof)
{
    ui->sbIntegrationTime3D->setVisible(tof);
    ui->lIntegrationTime3D->setVisible(tof);
    ui->sbIntegrationTime2D->setVisible(!tof);
    ui->lIntegrationTime2D->setVisible(!tof);
}

void WidgetSettingsIntegrationTime::showGrayscaleTime(bool visible)
{
    ui->sbIntegrationTime2D->setVisible(visible);
    ui->lIntegrationTime2D->setVisible(visible);
}

void WidgetSettingsIntegrationTime::lock2DField(bool state)
{
    ui->sbIntegrationTime2D->setEnabled(!state);
}

void WidgetSettingsIntegrationTime::lockFields(bool state)
{
    // The HDR time stays editable.
    ui->sbIntegrationTime2D->setReadOnly(state);
    ui->sbIntegrationTime3D->setReadOnly(state);
}

void WidgetSettingsIntegrationTime::on_sbIntegrationTime2D_valueChanged(int arg1)
{
    settings->announceFieldsLocked(true);
    controller.changeIntegrationTime2D(arg1);
}

void WidgetSettingsIntegrationTime::on_sbIntegrationTime3D_valueChanged(int arg1)
{
    settings->announceFieldsLocked(true);
    controller.changeIntegrationTime3D(arg1);
}

void WidgetSettingsIntegrationTime::on_sbIntegrationTime3DHDR_valueChanged(int arg1)
{
    settings->announceFieldsLocked(true);
    controller.changeIntegrationTime3DHDR(arg1);
}

QString WidgetSettingsIntegrationTime::pnSequenceText(int modulationIndex, int lfsrIndex, int frequencyHz)
{
    if (modulationIndex == 0)
        return QStringLiteral("off");
    // The LFSR list runs from 14 stages down to 8. Without a frequency (offline start, a
    // garbled frequency list) there is no period to multiply.
    const int stages = 14 - lfsrIndex;
    if (frequencyHz <= 0 || stages < 1 || stages > 30)
        return QStringLiteral("n/a");
    const double length = double((1 << stages) - 1);
    return QString::number(length * (1000000.0 / frequencyHz), 'f', 2) + QStringLiteral(" µs");
}

void WidgetSettingsIntegrationTime::updateMinPNSeq()
{
    const SettingsDistanceCalculation* calculation = settings->distanceCalculation();
    ui->lePNSequenceLength->setText(pnSequenceText(calculation->modulationIndex(), calculation->lfsrIndex(),
                                                   settings->modulation()->currentFrequencyHz()));
}
