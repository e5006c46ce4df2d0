#include "config/ControllerDistanceCalculation.h"

#include "app/Trace.h"
#include "settings/Settings.h"

ControllerDistanceCalculation::ControllerDistanceCalculation(ApplicationContext* context)
    : ControllerTransaction(context)
{
}

ControllerDistanceCalculation::~ControllerDistanceCalculation()
{
    ZTRACE() << "***ControllerDistanceCalculation destroyed";
}

void ControllerDistanceCalculation::changePiDelay(bool on)
{
    begin(on ? &ControllerDistanceCalculation::enablePiDelay
             : &ControllerDistanceCalculation::disablePiDelay);
}

void ControllerDistanceCalculation::changeDualMGX(bool on)
{
    begin(on ? &ControllerDistanceCalculation::enableDualMGX
             : &ControllerDistanceCalculation::disableDualMGX);
}

void ControllerDistanceCalculation::changeHdr(bool on)
{
    begin(on ? &ControllerDistanceCalculation::enableHDR : &ControllerDistanceCalculation::disableHDR);
}

void ControllerDistanceCalculation::changeModulationMode(int index)
{
    pendingModulationMode = index;
    settings->distanceCalculation()->setModulationIndex(index);
    begin(&ControllerDistanceCalculation::selectMode);
}

void ControllerDistanceCalculation::changePolynomial(int lfsrIndex, int polynomialIndex)
{
    pendingLfsrIndex = lfsrIndex;
    pendingPolynomialIndex = polynomialIndex;
    settings->distanceCalculation()->setLfsrIndex(lfsrIndex);
    settings->distanceCalculation()->setPolynomialIndex(polynomialIndex);
    begin(&ControllerDistanceCalculation::selectPolynomial);
}

void ControllerDistanceCalculation::enablePiDelay()
{
    exchange(&ControllerDistanceCalculation::enablePiDelay, Commands::enablePiDelay(true));
    settings->distanceCalculation()->setPiDelay(true);
    controller.resume();
}

void ControllerDistanceCalculation::disablePiDelay()
{
    exchange(&ControllerDistanceCalculation::disablePiDelay, Commands::enablePiDelay(false));
    settings->distanceCalculation()->setPiDelay(false);
    controller.resume();
}

void ControllerDistanceCalculation::enableDualMGX()
{
    exchange(&ControllerDistanceCalculation::enableDualMGX, Commands::enableDualMGX(true));
    settings->distanceCalculation()->setDualMGX(true);
    controller.resume();
}

void ControllerDistanceCalculation::disableDualMGX()
{
    exchange(&ControllerDistanceCalculation::disableDualMGX, Commands::enableDualMGX(false));
    settings->distanceCalculation()->setDualMGX(false);
    controller.resume();
}

void ControllerDistanceCalculation::enableHDR()
{
    exchange(&ControllerDistanceCalculation::enableHDR, Commands::enableHDR(true));
    settings->distanceCalculation()->setHdr(true);
    controller.resume();
}

void ControllerDistanceCalculation::disableHDR()
{
    exchange(&ControllerDistanceCalculation::disableHDR, Commands::enableHDR(false));
    settings->distanceCalculation()->setHdr(false);
    controller.resume();
}

void ControllerDistanceCalculation::selectMode()
{
    send(&ControllerDistanceCalculation::selectMode, Commands::selectMode(pendingModulationMode));
}

void ControllerDistanceCalculation::selectPolynomial()
{
    send(&ControllerDistanceCalculation::selectPolynomial,
         Commands::selectPolynomial(pendingLfsrIndex, pendingPolynomialIndex));
}
