#include "settings/SettingsDataValidation.h"

#include "app/Trace.h"

SettingsDataValidation::SettingsDataValidation(QObject* parent) : QObject(parent)
{
}

SettingsDataValidation::~SettingsDataValidation()
{
    ZTRACE() << "***SettingsDataValidation destroyed";
}

void SettingsDataValidation::setSaturation(bool state)
{
    m_saturation = state;
    emit saturationChanged(state);
}

void SettingsDataValidation::setAdcOverflow(bool state)
{
    m_adcOverflow = state;
    emit adcOverflowChanged(state);
}
