#pragma once

#include <QWidget>

class ApplicationContext;

// The calibration page ("calibration"). For now it carries what the main window relies on:
// the request to save the last configuration and the refresh of the list of stored
// calibrations. The DRNU calibration and the bad-pixel search fill this page later.
class WidgetCalibration final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetCalibration(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetCalibration() override;

signals:
    // The last configuration should be written now (before the camera restarts).
    void saveConfigApp();

public slots:
    // The camera reports no stored calibrations yet: nothing to refresh.
    void updateCalibrationList();
};
