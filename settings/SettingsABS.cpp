#include "settings/SettingsABS.h"

#include "app/Trace.h"

SettingsABS::SettingsABS(QObject* parent) : QObject(parent)
{
}

SettingsABS::~SettingsABS()
{
    ZTRACE() << "***SettingsABS destroyed";
}

void SettingsABS::setAbs(bool state)
{
    m_abs = state;
    emit absChanged(state);
}
