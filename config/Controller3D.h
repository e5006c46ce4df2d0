#pragma once

#include "config/ControllerTransaction.h"

// Sends the amplitude minimum, the hysteresis and the distance offset (automatic or manual,
// with or without temperature-dependent correction).
class Controller3D final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit Controller3D(ApplicationContext* context);
    ~Controller3D() override;

    void changeMinAmplitude(int lsb);
    // 0 switches hysteresis off on the camera; the hub keeps its last non-zero value.
    void changeHysteresis(int lsb);
    // In manual mode the value also becomes the hub's manual offset.
    void changeOffset(int value);
    void useDefaultOffset();
    void changeOffsetTemperatureCorrection(bool on);

public slots:
    void setMinAmplitude();
    void setHysteresis();
    void setOffset();
    void enableDefaultOffsetDone();
    void enableTemperatureCorrectionOffset();
    void disableTemperatureCorrectionOffset();

private:
    int pendingMinAmplitude = 0;
    int pendingHysteresis = 0;
    int pendingOffset = 0;
};
