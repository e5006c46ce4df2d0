#include "service/ControllerCalibration.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"

ControllerCalibration::ControllerCalibration(ApplicationContext* context)
    : tcp(context->tcp()), commands(context)
{
}

ControllerCalibration::~ControllerCalibration()
{
    ZTRACE() << "***ControllerCalibration destroyed";
}

void ControllerCalibration::startSearchBadPixels()
{
    connect(&commands, &ControllerCommands::searchBadPixelsDone, this,
            &ControllerCalibration::onSearchBadPixelsDone, Qt::UniqueConnection);
    commands.executeCommand(Commands::searchBadPixels());
}

void ControllerCalibration::startCalibrateDRNU()
{
    connect(&commands, &ControllerCommands::calibrateDRNUDone, this,
            &ControllerCalibration::onCalibrateDRNUDone, Qt::UniqueConnection);
    commands.executeCommand(Commands::calibrateDRNU());
}

bool ControllerCalibration::succeeded(bool exchanged) const
{
    // A failed exchange leaves an earlier reply in the buffer: its status says nothing.
    return exchanged && tcp->responseInt16() != -1;
}

void ControllerCalibration::onSearchBadPixelsDone(bool success)
{
    disconnect(&commands, &ControllerCommands::searchBadPixelsDone, this,
               &ControllerCalibration::onSearchBadPixelsDone);
    emit searchBadPixelsDone(succeeded(success));
}

void ControllerCalibration::onCalibrateDRNUDone(bool success)
{
    disconnect(&commands, &ControllerCommands::calibrateDRNUDone, this,
               &ControllerCalibration::onCalibrateDRNUDone);
    emit calibrateDRNUDone(succeeded(success));
}
