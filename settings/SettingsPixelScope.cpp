#include "settings/SettingsPixelScope.h"

#include "app/Trace.h"

SettingsPixelScope::SettingsPixelScope(QObject* parent) : QObject(parent)
{
}

SettingsPixelScope::~SettingsPixelScope()
{
    ZTRACE() << "***SettingsPixelScope destroyed";
}
