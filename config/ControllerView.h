#pragma once

#include "config/ControllerTransaction.h"
#include "link/Replies.h"
#include "render/DistanceLabeler.h"

#include <QObject>

#include <cstdint>

class ApplicationContext;

// Switches the camera's on-board processing and corrections for the view panel: bad-pixel
// interpolation, grayscale offset and gain, DRNU and temperature correction, background
// suppression, the Kalman filter family, interference detection, FLIM corrections and the
// Gauss filter. It also selects the camera configuration for a view mode, asks which
// corrections the camera holds calibration data for and fetches the DRNU table.
//
// Every entry is one command transaction: pause acquisition, one blocking command, hub
// update, resume (which unlocks the settings panels). With acquisition stopped the whole
// transaction completes inside the entry; while streaming it completes once the loop pauses.
class ControllerView final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerView(ApplicationContext* context);
    ~ControllerView() override;

    void loadViewConfig(int modeIndex);
    void changeInterpolation(bool on);
    void changeGrayscaleOffset(bool on);
    void changeGrayscaleGain(bool on);
    void changeDrnu(bool on);
    void changeShowDrnu(bool on);
    void changeTemperatureCorrection(bool on);
    void queryGrayscaleCorrection();
    void queryDrnuCorrection();
    void queryFlimCorrection();
    void changeAbs(bool on);
    // 1 to 3 select a filter variant; any other value switches the filter off.
    void changeKalman(int variant);
    void changeDistortionDetection(bool on);
    void changeKalmanK(double k);
    void changeKalmanQ(double q);
    void changeKalmanDiff(double d);
    // Centimetres; converted to distance LSB when the command goes out.
    void changeKalmanThreshold3(int cm);
    void changeKalmanNumChecks(int n);
    void resetKalmanNumChecks();
    void changeFlimDsnu(bool on);
    void changeFlimPrnu(bool on);
    void changeGaussFilter(bool on);
    void changeGaussFilterIterations(int n);

    // The acquisition pause on its own, for a view-mode switch that must not overlap a frame.
    void pauseForView();
    void resumeForView();

signals:
    // The table is overwritten by the next read: receivers copy what they need.
    void showDRNUDone(int16_t* val);
    void hideDRNUDone();

public slots:
    void loadConfig();
    void enableInterpolation();
    void disableInterpolation();
    void enableGrayscaleOffset();
    void disableGrayscaleOffset();
    void enableGrayscaleGain();
    void disableGrayscaleGain();
    void enableDRNU();
    void disableDRNU();
    void showDRNU();
    void hideDRNU();
    void checkInTemperature();
    void checkOutTemperature();
    void availableGrayscaleCorrection();
    void availableDRNUCorrection();
    void enableABS();
    void disableABS();
    void enableKalman1();
    void enableKalman2();
    void enableKalman3();
    void enableDistortionDetection();
    void disableKalman();
    void updateKalmanK();
    void updateKalmanQ();
    void updateKalmanThreshold1();
    void updateKalmanThreshold2();
    void updateKalmanDiff();
    void updateKalmanThreshold3();
    void updateKalmanNumChecks();
    void updateKalmanNumChecksDone0();
    void enableFlimDSNU();
    void enableFlimPRNU();
    void availableFlimCorrection();
    void enableGaussFilter();
    void setGaussFilterIterations();
    // Entries, in centimetres; the hub's sendKalmanThreshold1/2 re-send the thresholds
    // through them after a modulation-frequency change.
    void updateKalmanThreshold1(int value);
    void updateKalmanThreshold2(int value);

private:
    DistanceLabeler labeler;
    int16_t drnuTable[Replies::drnuTableCount] = {};
    int pendingViewMode = 0;
};
