#pragma once

#include "config/ControllerTransaction.h"

// Switches the camera's marking of saturated and ADC-overflowing pixels.
class ControllerDataValidation final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerDataValidation(ApplicationContext* context);
    ~ControllerDataValidation() override;

    void changeSaturation(bool on);
    void changeAdcOverflow(bool on);

public slots:
    void enableSaturation();
    void disableSaturation();
    void enableAdcOverflow();
    void disableAdcOverflow();
};
