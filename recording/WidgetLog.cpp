#include "recording/WidgetLog.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"

#include <QLabel>
#include <QVBoxLayout>

WidgetLog::WidgetLog(ApplicationContext* context, QWidget* parent)
    : QWidget(parent), settings(context->settings())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QStringLiteral("Logging"), this);
    title->setObjectName(QStringLiteral("lTitle"));
    title->setStyleSheet(QStringLiteral(
        "padding: 10px; background-color: rgb(51, 51, 51); color: rgb(255, 255, 255); font-family: Arial;"));
    layout->addWidget(title);
    layout->addStretch();
}

WidgetLog::~WidgetLog()
{
    ZTRACE() << "-----WidgetLog destroying";
    ZTRACE() << "-----WidgetLog destroyed";
}

void WidgetLog::setUnitControlsHidden(bool hidden)
{
    m_unitControlsHidden = hidden;
}

void WidgetLog::disableCM(bool state)
{
    settings->setLogLsb(state);
    settings->announceUpdateCaptureLog();
}
