#include "config/ControllerDataValidation.h"

#include "app/Trace.h"
#include "settings/Settings.h"

ControllerDataValidation::ControllerDataValidation(ApplicationContext* context)
    : ControllerTransaction(context)
{
}

ControllerDataValidation::~ControllerDataValidation()
{
    ZTRACE() << "***ControllerSaturation destroyed";
}

void ControllerDataValidation::changeSaturation(bool on)
{
    begin(on ? &ControllerDataValidation::enableSaturation : &ControllerDataValidation::disableSaturation);
}

void ControllerDataValidation::changeAdcOverflow(bool on)
{
    begin(on ? &ControllerDataValidation::enableAdcOverflow : &ControllerDataValidation::disableAdcOverflow);
}

void ControllerDataValidation::enableSaturation()
{
    exchange(&ControllerDataValidation::enableSaturation, Commands::enableSaturation(true));
    settings->dataValidation()->setSaturation(true);
    controller.resume();
}

void ControllerDataValidation::disableSaturation()
{
    exchange(&ControllerDataValidation::disableSaturation, Commands::enableSaturation(false));
    settings->dataValidation()->setSaturation(false);
    controller.resume();
}

void ControllerDataValidation::enableAdcOverflow()
{
    exchange(&ControllerDataValidation::enableAdcOverflow, Commands::enableAdcOverflow(true));
    settings->dataValidation()->setAdcOverflow(true);
    controller.resume();
}

void ControllerDataValidation::disableAdcOverflow()
{
    exchange(&ControllerDataValidation::disableAdcOverflow, Commands::enableAdcOverflow(false));
    settings->dataValidation()->setAdcOverflow(false);
    controller.resume();
}
