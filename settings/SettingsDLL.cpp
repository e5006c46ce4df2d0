#include "settings/SettingsDLL.h"

#include "app/Trace.h"

SettingsDLL::SettingsDLL(QObject* parent) : QObject(parent)
{
}

SettingsDLL::~SettingsDLL()
{
    ZTRACE() << "***SettingsDLL destroyed";
}

void SettingsDLL::setUpdateInterval(int value)
{
    m_updateInterval = value;
    emit updateIntervalChanged(value);
}

void SettingsDLL::triggerLockingOperation()
{
    emit lockingOperationTriggered();
}
