#pragma once

#include "config/ControllerTransaction.h"

// Sends the camera's image averaging factor. The image panel keeps the hub's moving-average
// number itself.
class ControllerImage final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerImage(ApplicationContext* context);
    ~ControllerImage() override;

    void changeImageAveraging(int factor);

public slots:
    void setImageAveraging();

private:
    int pendingFactor = 0;
};
