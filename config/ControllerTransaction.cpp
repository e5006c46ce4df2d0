#include "config/ControllerTransaction.h"

#include "app/ApplicationContext.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"

ControllerTransaction::ControllerTransaction(ApplicationContext* context)
    : settings(context->settings()), tcp(context->tcp()), controller(settings, tcp)
{
}

ControllerTransaction::~ControllerTransaction() = default;

bool ControllerTransaction::sendCommand(const QString& command, int timeout)
{
    tcp->setCommand(command);
    const bool reached = tcp->sendCommand(timeout);
    if (!reached)
        settings->announceCommandFailed(command);
    return reached;
}
