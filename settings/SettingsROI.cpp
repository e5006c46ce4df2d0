#include "settings/SettingsROI.h"

#include "app/Trace.h"

SettingsROI::SettingsROI(QObject* parent) : QObject(parent)
{
}

SettingsROI::~SettingsROI()
{
    ZTRACE() << "***SettingsROI destroyed";
}

void SettingsROI::setRoi(int x1, int x2, int y1, int y2)
{
    m_x1 = x1;
    m_x2 = x2;
    m_y1 = y1;
    m_y2 = y2;
    emit roiChanged();
}

void SettingsROI::setRoiAndFields(int x1, int x2, int y1, int y2)
{
    m_x1 = x1;
    m_x2 = x2;
    m_y1 = y1;
    m_y2 = y2;
    emit roiChanged();
    emit roiChangedUpdateFields();
}

void SettingsROI::setEmulation(bool state)
{
    m_emulation = state;
    emit emulationDisabled(!state);
}

void SettingsROI::announceEmulationLoaded(bool state)
{
    emit emulationLoaded(state);
}

void SettingsROI::announceOutputModeIndexChanged(int index)
{
    emit outputModeIndexChanged(index);
}

void SettingsROI::setChipType(int chipType)
{
    const int width = m_sensorWidth;
    const int height = m_sensorHeight;
    if (chipType == 4 || chipType == 5) {
        m_defaultX1 = m_x1;
        m_defaultX2 = m_x2;
        m_defaultY1 = m_y1;
        m_defaultY2 = m_y2;
        m_sensorWidth = 168;
        m_sensorHeight = 72;
        m_minRoiHeight = 4;
    }
    if (m_sensorWidth != width || m_sensorHeight != height)
        emit sensorSizeChanged();
    emit roiChanged();
    emit roiChangedUpdateFields();
}
