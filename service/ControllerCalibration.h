#pragma once

#include "service/ControllerCommands.h"

#include <QObject>

class ApplicationContext;
class ZelTcp;

// Starts the camera's own calibrations for the calibration page: the DRNU calibration and
// the bad-pixel search. The console's command controller runs them (pause, event-driven
// exchange, panels locked until the reply); this class adds the check of the camera's
// status word: -1 means the camera could not store its result.
class ControllerCalibration final : public QObject
{
    Q_OBJECT

public:
    explicit ControllerCalibration(ApplicationContext* context);
    ~ControllerCalibration() override;

    void startSearchBadPixels();
    void startCalibrateDRNU();

signals:
    void searchBadPixelsDone(bool success);
    void calibrateDRNUDone(bool success);

public slots:
    void onSearchBadPixelsDone(bool success);
    void onCalibrateDRNUDone(bool success);

private:
    // The exchange succeeded and the camera's status is not -1.
    bool succeeded(bool exchanged) const;

    ZelTcp* tcp;
    ControllerCommands commands;
};
