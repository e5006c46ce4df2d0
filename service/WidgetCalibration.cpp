#include "service/WidgetCalibration.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetCalibration.h"
#include "widgets/DialogOK.h"
#include "widgets/DialogProgress.h"
#include "widgets/DialogYesNo.h"

namespace {
// Used when the start-up could not ask the camera (offline start).
constexpr struct
{
    const char* label;
    int hz;
} defaultFrequencies[] = {{"20 MHz", 20000000}, {"10 MHz", 10000000},  {"5 MHz", 5000000},
                          {"2.5 MHz", 2500000}, {"1.25 MHz", 1250000}, {"625 kHz", 625000}};
constexpr int questionWidth = 450;
} // namespace

WidgetCalibration::WidgetCalibration(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetCalibration)
    , settings(context->settings())
    , calibration(context)
    , controller(settings, context->tcp())
    , progress(
          new DialogProgress(QStringLiteral("Please wait until the calibration process is completed. This "
                                            "might take several minutes.")))
{
    ui->setupUi(this);
    // Distance calibration, user FPN calibration and the stored calibrations are not offered.
    for (QWidget* hidden :
         {static_cast<QWidget*>(ui->lDistanceCalibration), static_cast<QWidget*>(ui->lDistance),
          static_cast<QWidget*>(ui->sbDistance), static_cast<QWidget*>(ui->tbFPN),
          static_cast<QWidget*>(ui->line_2), static_cast<QWidget*>(ui->lStoredCalibrations),
          static_cast<QWidget*>(ui->tableView), static_cast<QWidget*>(ui->tbRestoreCalibration)}) {
        hidden->hide();
        hidden->setEnabled(false);
    }
    connect(settings->calibration(), &SettingsCalibration::updateFOV, this, &WidgetCalibration::fovChanged);
}

WidgetCalibration::~WidgetCalibration()
{
    ZTRACE() << "-----WidgetCalibration destroying";
    delete progress;
    delete ui;
    ZTRACE() << "-----WidgetCalibration destroyed";
}

void WidgetCalibration::updateCalibrationList()
{
}

void WidgetCalibration::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!frequenciesChecked) {
        frequenciesChecked = true;
        fillDefaultFrequencies();
    }
}

void WidgetCalibration::fillDefaultFrequencies()
{
    ZTRACE() << "Getting modulation frequencies...";
    SettingsModulation* modulation = settings->modulation();
    if (modulation->frequencyCount() != 0)
        return;
    for (const auto& frequency : defaultFrequencies)
        modulation->addFrequency(QLatin1String(frequency.label), frequency.hz);
}

bool WidgetCalibration::confirm(const QString& title, const QString& question)
{
    DialogYesNo dialog(question, this);
    dialog.setFixedWidth(questionWidth);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void WidgetCalibration::startBusy()
{
    progress->setMinimum(0);
    progress->setMaximum(0);
    progress->setValue(0);
}

void WidgetCalibration::showResult(bool success, const QString& title, const QString& successText,
                                   const QString& failureText)
{
    progress->close();
    DialogOK dialog(success ? DialogOK::Success : DialogOK::Failure, success ? successText : failureText,
                    this);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    dialog.exec();
}

// DRNU calibration

void WidgetCalibration::on_tbDRNUCalibration_clicked()
{
    if (!confirm(QStringLiteral("DRNU Calibration"), QStringLiteral("Do you want calibrate DRNU?")))
        return;
    startBusy();
    connect(&controller, &Controller::videoPaused, this, &WidgetCalibration::doCalibrateDRNU);
    controller.requestPause();
}

void WidgetCalibration::doCalibrateDRNU()
{
    disconnect(&controller, &Controller::videoPaused, this, &WidgetCalibration::doCalibrateDRNU);
    connect(&calibration, &ControllerCalibration::calibrateDRNUDone, this,
            &WidgetCalibration::onCalibrateDRNUDone, Qt::UniqueConnection);
    calibration.startCalibrateDRNU();
    progress->show();
}

void WidgetCalibration::onCalibrateDRNUDone(bool success)
{
    disconnect(&calibration, &ControllerCalibration::calibrateDRNUDone, this,
               &WidgetCalibration::onCalibrateDRNUDone);
    showResult(success, QString(), QStringLiteral("DRNU calibration successfully completed."),
               QStringLiteral("DRNU calibration failed."));
}

// Bad-pixel search

void WidgetCalibration::on_tbSearchBadPixels_clicked()
{
    if (!confirm(QStringLiteral("Search Bad Pixels"), QStringLiteral("Do you want to search bad pixels?")))
        return;
    startBusy();
    connect(&calibration, &ControllerCalibration::searchBadPixelsDone, this,
            &WidgetCalibration::onSearchBadPixelsDone, Qt::UniqueConnection);
    connect(&controller, &Controller::videoPaused, this, &WidgetCalibration::doSearchBadPixels);
    controller.requestPause();
}

void WidgetCalibration::doSearchBadPixels()
{
    disconnect(&controller, &Controller::videoPaused, this, &WidgetCalibration::doSearchBadPixels);
    calibration.startSearchBadPixels();
    progress->show();
}

void WidgetCalibration::onSearchBadPixelsDone(bool success)
{
    disconnect(&calibration, &ControllerCalibration::searchBadPixelsDone, this,
               &WidgetCalibration::onSearchBadPixelsDone);
    showResult(success, success ? QStringLiteral("Success") : QStringLiteral("Error"),
               QStringLiteral("Searching bad pixels successfully completed."),
               QStringLiteral("Searching bad pixels failed."));
}

// Field of view

void WidgetCalibration::on_sbFOV_valueChanged(int arg1)
{
    if (arg1 != settings->calibration()->fov())
        settings->calibration()->setFov(arg1);
}

void WidgetCalibration::fovChanged(int value)
{
    ui->sbFOV->setValue(value);
}
