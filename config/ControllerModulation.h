#pragma once

#include "config/ControllerTransaction.h"

// Sends the modulation frequency (an index into the camera's frequency list). The camera
// recomputes its automatic offset for the new frequency, so the resume reads it again.
class ControllerModulation final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerModulation(ApplicationContext* context);
    ~ControllerModulation() override;

    void changeModulationFrequency(int index);

public slots:
    void setModulationFrequency();

private:
    int pendingFrequencyIndex = 0;
};
