#pragma once

#include "config/ControllerTransaction.h"

// Sends the region of interest (inclusive sensor columns x1..x2 and rows y1..y2). The
// sensors that read as two mirrored halves (chip types 1 to 3) take the upper half's bottom
// row, 125, as the last value; the hub keeps the full region.
class ControllerROI final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerROI(ApplicationContext* context);
    ~ControllerROI() override;

    void changeRoi(int x1, int x2, int y1, int y2);

public slots:
    void setROI();

private:
    struct Region
    {
        int x1 = 0;
        int x2 = 0;
        int y1 = 0;
        int y2 = 0;
    };
    static constexpr int mirroredHalfBottomRow = 125;

    Region pendingHub;
    Region pendingCommand;
    // The views were told video stopped (their picture size changes); they hear it restart.
    bool stopAnnounced = false;
};
