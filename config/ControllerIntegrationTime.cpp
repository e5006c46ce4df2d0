#include "config/ControllerIntegrationTime.h"

#include "app/Trace.h"
#include "settings/Settings.h"

ControllerIntegrationTime::ControllerIntegrationTime(ApplicationContext* context)
    : ControllerTransaction(context)
{
}

ControllerIntegrationTime::~ControllerIntegrationTime()
{
    ZTRACE() << "***ControllerIntegrationTime destroyed";
}

void ControllerIntegrationTime::changeIntegrationTime2D(int us)
{
    pendingTime2D = us;
    begin(&ControllerIntegrationTime::setIntegrationTime2D);
}

void ControllerIntegrationTime::changeIntegrationTime3D(int us)
{
    pendingTime3D = us;
    begin(&ControllerIntegrationTime::setIntegrationTime3D);
}

void ControllerIntegrationTime::changeIntegrationTime3DHDR(int us)
{
    pendingTime3DHDR = us;
    begin(&ControllerIntegrationTime::setIntegrationTime3DHDR);
}

void ControllerIntegrationTime::setIntegrationTime2D()
{
    exchange(&ControllerIntegrationTime::setIntegrationTime2D, Commands::setIntegrationTime2D(pendingTime2D));
    settings->integrationTime()->setIntegrationTime2D(pendingTime2D);
    controller.resume();
}

void ControllerIntegrationTime::setIntegrationTime3D()
{
    exchange(&ControllerIntegrationTime::setIntegrationTime3D, Commands::setIntegrationTime3D(pendingTime3D));
    settings->integrationTime()->setIntegrationTime3D(pendingTime3D);
    controller.resume();
}

void ControllerIntegrationTime::setIntegrationTime3DHDR()
{
    exchange(&ControllerIntegrationTime::setIntegrationTime3DHDR,
             Commands::setIntegrationTime3DHDR(pendingTime3DHDR));
    settings->integrationTime()->setIntegrationTime3DHDR(pendingTime3DHDR);
    controller.resume();
}
