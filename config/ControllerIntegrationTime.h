#pragma once

#include "config/ControllerTransaction.h"

// Sends the grayscale, TOF and second (HDR) TOF integration times, in microseconds.
class ControllerIntegrationTime final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerIntegrationTime(ApplicationContext* context);
    ~ControllerIntegrationTime() override;

    void changeIntegrationTime2D(int us);
    void changeIntegrationTime3D(int us);
    void changeIntegrationTime3DHDR(int us);

public slots:
    void setIntegrationTime2D();
    void setIntegrationTime3D();
    void setIntegrationTime3DHDR();

private:
    int pendingTime2D = 0;
    int pendingTime3D = 0;
    int pendingTime3DHDR = 0;
};
