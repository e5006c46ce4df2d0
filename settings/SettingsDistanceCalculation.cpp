#include "settings/SettingsDistanceCalculation.h"

#include "app/Trace.h"

SettingsDistanceCalculation::SettingsDistanceCalculation(QObject* parent) : QObject(parent)
{
}

SettingsDistanceCalculation::~SettingsDistanceCalculation()
{
    ZTRACE() << "***SettingsDistanceCalculation destroyed";
}

void SettingsDistanceCalculation::setPiDelay(bool state)
{
    m_piDelay = state;
    emit piDelayEnabled(state);
}

void SettingsDistanceCalculation::setDualMGX(bool state)
{
    m_dualMGX = state;
    emit dualMGXEnabled(state);
}

void SettingsDistanceCalculation::setHdr(bool state)
{
    m_hdr = state;
    emit hdrEnabled(state);
}

void SettingsDistanceCalculation::setModulationIndex(int index)
{
    m_modulationIndex = index;
    emit modulationIndexChanged(index);
}

void SettingsDistanceCalculation::setLfsrIndex(int index)
{
    m_lfsrIndex = index;
    emit LFSRIndexChanged(index);
}

void SettingsDistanceCalculation::setPolynomialIndex(int index)
{
    m_polynomialIndex = index;
    emit polyIndexChanged(index);
}

int SettingsDistanceCalculation::maxAmplitude() const
{
    if (m_smallAmplitudeScale)
        return 63;
    return m_modulationIndex == 0 ? 2895 : 4095;
}
