#include "settings/SettingsModulation.h"

#include "app/Trace.h"

SettingsModulation::SettingsModulation(QObject* parent) : QObject(parent)
{
}

SettingsModulation::~SettingsModulation()
{
    ZTRACE() << "***SettingsModulation destroyed";
}

void SettingsModulation::setFrequencyIndex(int index)
{
    m_frequencyIndex = index;
    emit modulationFrequencyIndexChanged(index);
    emit modulationFrequencyChanged();
}

void SettingsModulation::addFrequency(const QString& label, int hz, int serverIndex)
{
    m_serverIndices.append(serverIndex < 0 ? m_labels.size() : serverIndex);
    m_labels.append(label);
    m_frequenciesHz.append(hz);
}

int SettingsModulation::serverIndex(int index) const
{
    if (index < 0 || index >= m_serverIndices.size())
        return index;
    return m_serverIndices.at(index);
}

void SettingsModulation::addCalibrationType(int type)
{
    m_calibrationTypes.append(type);
}

int SettingsModulation::frequencyHz(int index) const
{
    if (index < 0 || index >= m_frequenciesHz.size())
        return FallbackFrequencyHz;
    return m_frequenciesHz.at(index);
}

int SettingsModulation::calibrationTypeOf(int index) const
{
    ZTRACE().nospace() << "idxFrequency<=modulationFrequenciesCalibration.size(): "
                       << m_calibrationTypes.size();
    if (index < 0 || index >= m_calibrationTypes.size())
        return 0;
    const int type = m_calibrationTypes.at(index);
    ZTRACE().nospace() << "modulationFrequenciesCalibration.at(idxFrequency): " << type;
    return type;
}
