#pragma once

#include "config/ControllerTransaction.h"

// Sends horizontal and vertical binning and the row reduction. A vertical-binning change
// always sends the row reduction after it, in the same pause.
class ControllerBinningAndReduction final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerBinningAndReduction(ApplicationContext* context);
    ~ControllerBinningAndReduction() override;

    void changeHorizontalBinning(bool on);
    void changeVerticalBinning(bool on, int rowReductionIndex);
    // 0 full, 1 half, 2 quarter, 3 one eighth.
    void changeRowReduction(int index);
    // The last index given to changeRowReduction or changeVerticalBinning.
    int rowReductionIndex() const { return lastRowReductionIndex; }

signals:
    // The row reduction is on the camera and acquisition has resumed.
    void rowReduced();

public slots:
    void enableVerticalBinning();
    void disableVerticalBinning();
    void enableHorizontalBinning();
    void disableHorizontalBinning();
    void setRowReduction();

private:
    void reduceRowsAfterBinning(bool on);

    int pendingVerticalRowReduction = 0;
    int pendingRowReduction = 0;
    int lastRowReductionIndex = 0;
};
