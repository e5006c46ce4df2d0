#include "settings/SettingsIntegrationTime.h"

#include "app/Trace.h"

SettingsIntegrationTime::SettingsIntegrationTime(QObject* parent) : QObject(parent)
{
}

SettingsIntegrationTime::~SettingsIntegrationTime()
{
    ZTRACE() << "***SettingsIntegrationTime destroyed";
}

void SettingsIntegrationTime::setIntegrationTime2D(int us)
{
    m_integrationTime2D = us;
    emit integrationTime2DChanged(us);
}

void SettingsIntegrationTime::setIntegrationTime3D(int us)
{
    m_integrationTime3D = us;
    emit integrationTime3DChanged(us);
}

void SettingsIntegrationTime::setIntegrationTime3DHDR(int us)
{
    m_integrationTime3DHDR = us;
    emit integrationTime3DHDRChanged(us);
}

void SettingsIntegrationTime::announceSettingsChanged()
{
    emit settingsChanged();
}

void SettingsIntegrationTime::announceLock2DTime(bool state)
{
    emit lock2DTime(state);
}
