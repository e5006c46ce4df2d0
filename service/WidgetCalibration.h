#pragma once

#include "acquisition/Controller.h"
#include "service/ControllerCalibration.h"

#include <QWidget>

namespace Ui {
class WidgetCalibration;
}
class ApplicationContext;
class DialogProgress;
class Settings;

// The calibration page ("calibration"): starts the camera's DRNU calibration and bad-pixel
// search (confirmation, pause of live video, busy dialog, result) and edits the lens's
// horizontal field of view. Live video stays paused after a calibration.
class WidgetCalibration final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetCalibration(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetCalibration() override;

    DialogProgress* progressDialog() { return progress; }

signals:
    // The last configuration should be written now (before the camera restarts).
    void saveConfigApp();

public slots:
    void on_tbDRNUCalibration_clicked();
    void doCalibrateDRNU();
    void onCalibrateDRNUDone(bool success);
    void on_tbSearchBadPixels_clicked();
    void doSearchBadPixels();
    void onSearchBadPixelsDone(bool success);
    void on_sbFOV_valueChanged(int arg1);
    void fovChanged(int value);
    // The camera reports no stored calibrations yet: nothing to refresh.
    void updateCalibrationList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // When the start-up could not ask the camera (offline start), the page offers the six
    // usual frequencies once it is opened; before that an offline start changes nothing.
    void fillDefaultFrequencies();
    // Asks in the program's yes/no dialog; true when confirmed.
    bool confirm(const QString& title, const QString& question);
    void showResult(bool success, const QString& title, const QString& successText,
                    const QString& failureText);
    void startBusy();

    Ui::WidgetCalibration* ui;
    Settings* settings;
    ControllerCalibration calibration;
    Controller controller;
    DialogProgress* progress;
    bool frequenciesChecked = false;
};
