#include "config/ControllerBinningAndReduction.h"

#include "app/Trace.h"
#include "settings/Settings.h"

ControllerBinningAndReduction::ControllerBinningAndReduction(ApplicationContext* context)
    : ControllerTransaction(context)
{
}

ControllerBinningAndReduction::~ControllerBinningAndReduction()
{
    ZTRACE() << "***ControllerBinningAndReduction destroyed";
}

void ControllerBinningAndReduction::changeHorizontalBinning(bool on)
{
    begin(on ? &ControllerBinningAndReduction::enableHorizontalBinning
             : &ControllerBinningAndReduction::disableHorizontalBinning);
}

void ControllerBinningAndReduction::changeVerticalBinning(bool on, int rowReductionIndex)
{
    pendingVerticalRowReduction = rowReductionIndex;
    lastRowReductionIndex = rowReductionIndex;
    begin(on ? &ControllerBinningAndReduction::enableVerticalBinning
             : &ControllerBinningAndReduction::disableVerticalBinning);
}

void ControllerBinningAndReduction::changeRowReduction(int index)
{
    pendingRowReduction = index;
    lastRowReductionIndex = index;
    begin(&ControllerBinningAndReduction::setRowReduction);
}

void ControllerBinningAndReduction::enableHorizontalBinning()
{
    exchange(&ControllerBinningAndReduction::enableHorizontalBinning,
             Commands::enableHorizontalBinning(true));
    settings->binningAndReduction()->setHorizontalBinning(true);
    controller.resume();
}

void ControllerBinningAndReduction::disableHorizontalBinning()
{
    exchange(&ControllerBinningAndReduction::disableHorizontalBinning,
             Commands::enableHorizontalBinning(false));
    settings->binningAndReduction()->setHorizontalBinning(false);
    controller.resume();
}

void ControllerBinningAndReduction::enableVerticalBinning()
{
    exchange(&ControllerBinningAndReduction::enableVerticalBinning, Commands::enableVerticalBinning(true));
    reduceRowsAfterBinning(true);
}

void ControllerBinningAndReduction::disableVerticalBinning()
{
    exchange(&ControllerBinningAndReduction::disableVerticalBinning, Commands::enableVerticalBinning(false));
    reduceRowsAfterBinning(false);
}

void ControllerBinningAndReduction::reduceRowsAfterBinning(bool on)
{
    settings->binningAndReduction()->setVerticalBinning(on);
    // The camera combines rows in pairs, which changes what the row reduction means: it is
    // sent again. Acquisition is paused, so this transaction runs at once and its resume
    // ends both.
    changeRowReduction(pendingVerticalRowReduction);
}

void ControllerBinningAndReduction::setRowReduction()
{
    exchange(&ControllerBinningAndReduction::setRowReduction, Commands::setRowReduction(pendingRowReduction));
    SettingsBinningAndReduction* binning = settings->binningAndReduction();
    binning->setRowReductionIndex(pendingRowReduction);
    binning->setRowFactor(1 << qBound(0, pendingRowReduction, 3));
    controller.resume();
    emit rowReduced();
}
