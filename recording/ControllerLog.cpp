#include "recording/ControllerLog.h"

#include "acquisition/Controller.h"
#include "app/Trace.h"

ControllerLog::ControllerLog(Settings* settings, ZelTcp* tcp, QObject* parent)
    : QObject(parent), controller(new Controller(settings, tcp, this))
{
}

ControllerLog::~ControllerLog()
{
    ZTRACE() << "***ControllerLog destroyed";
}

void ControllerLog::start()
{
    connect(controller, &Controller::videoPaused, this, &ControllerLog::logging, Qt::UniqueConnection);
    controller->requestPause();
}

void ControllerLog::logging()
{
    disconnect(controller, &Controller::videoPaused, this, &ControllerLog::logging);
    emit loggingReady();
}

void ControllerLog::finish()
{
    controller->resume();
}
