#include "config/ControllerROI.h"

#include "app/Trace.h"
#include "settings/Settings.h"

ControllerROI::ControllerROI(ApplicationContext* context) : ControllerTransaction(context)
{
}

ControllerROI::~ControllerROI()
{
    ZTRACE() << "***ControllerROI destroyed";
}

void ControllerROI::changeRoi(int x1, int x2, int y1, int y2)
{
    pendingHub = {x1, x2, y1, y2};
    pendingCommand = pendingHub;
    const int chipType = settings->chipType();
    if (chipType >= 1 && chipType <= 3)
        pendingCommand.y2 = mirroredHalfBottomRow;
    if (settings->videoActive()) {
        settings->announceStopped();
        stopAnnounced = true;
    }
    begin(&ControllerROI::setROI);
}

void ControllerROI::setROI()
{
    exchange(&ControllerROI::setROI,
             Commands::setROI(pendingCommand.x1, pendingCommand.x2, pendingCommand.y1, pendingCommand.y2));
    settings->roi()->setRoi(pendingHub.x1, pendingHub.x2, pendingHub.y1, pendingHub.y2);
    controller.resume();
    if (stopAnnounced) {
        stopAnnounced = false;
        settings->announceStartedVideo();
    }
}
