#include "config/ControllerModulation.h"

#include "app/Trace.h"
#include "settings/Settings.h"

ControllerModulation::ControllerModulation(ApplicationContext* context) : ControllerTransaction(context)
{
}

ControllerModulation::~ControllerModulation()
{
    ZTRACE() << "***ControllerModulation destroyed";
}

void ControllerModulation::changeModulationFrequency(int index)
{
    pendingFrequencyIndex = index;
    settings->setReadOffsetOnResume(true);
    begin(&ControllerModulation::setModulationFrequency);
}

void ControllerModulation::setModulationFrequency()
{
    exchange(&ControllerModulation::setModulationFrequency,
             Commands::setModulationFrequency(settings->modulation()->serverIndex(pendingFrequencyIndex)),
             Commands::Timeout::slow);
    // The receivers run while acquisition is still paused and the offset re-read is still
    // asked for: the 3D panel re-sends its manual offset or resumes, reading the new
    // automatic offset.
    settings->modulation()->setFrequencyIndex(pendingFrequencyIndex);
    settings->setReadOffsetOnResume(false);
    controller.resume();
}
