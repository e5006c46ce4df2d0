#include "service/WidgetCommands.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "link/Commands.h"

#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

WidgetCommands::WidgetCommands(ApplicationContext* context, QWidget* parent)
    : QWidget(parent), settings(context->settings()), tcp(context->tcp())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QStringLiteral("Custom Commands"), this);
    title->setObjectName(QStringLiteral("lTitle"));
    title->setStyleSheet(
        QStringLiteral("padding: 10px; background-color: rgb(51, 51, 51); color: rgb(255, 255, 255);"));
    layout->addWidget(title);
    layout->addStretch();
}

WidgetCommands::~WidgetCommands()
{
    ZTRACE() << "-----WidgetCommands destroying";
    ZTRACE() << "-----WidgetCommands destroyed";
}

void WidgetCommands::readSpeedOfLight()
{
    tcp->setCommand(Commands::getSpeedOfLight());
    if (!tcp->sendCommand(Commands::Timeout::slow) || tcp->response().size() < 8)
        return;
    const double value = tcp->responseDouble();
    if (std::isfinite(value) && value > 0.0)
        settings->setSpeedOfLight(value);
    else
        ZTRACE() << "getSpeedOfLight: unusable reply" << value;
}
