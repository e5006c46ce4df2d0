#include "settings/Settings3D.h"

#include "app/Trace.h"

Settings3D::Settings3D(QObject* parent) : QObject(parent)
{
    // Lets spies and queued connections carry the correction status by its type name.
    qRegisterMetaType<Settings3D::CalibrationType>("Settings3D::CalibrationType");
}

Settings3D::~Settings3D()
{
    ZTRACE() << "***Settings3D destroyed";
}

void Settings3D::setDistanceMax(int value)
{
    m_distanceMax = value;
    emit distanceMaxChanged(value);
}

void Settings3D::setDistanceMin(int value)
{
    m_distanceMin = value;
    emit distanceMinChanged(value);
}

void Settings3D::setMinAmplitude(int value)
{
    m_minAmplitude = value;
    emit minAmplitudeChanged(value);
}

void Settings3D::setHysteresis(int value)
{
    m_hysteresis = value;
    emit hysteresisChanged(value);
}

void Settings3D::setHysteresisEnabled(bool state)
{
    m_hysteresisEnabled = state;
    emit hysteresisEnabledChanged(state);
}

void Settings3D::setAutomaticOffset(int value)
{
    m_automaticOffset = value;
    emit automaticOffsetChanged(value);
}

void Settings3D::setManualOffset(int value)
{
    m_manualOffset = value;
    emit manualOffsetChanged(value);
}

void Settings3D::setFpn(bool state)
{
    m_fpn = state;
    emit fpnChanged(state);
}

void Settings3D::setAutoOffsetEnabled(bool state)
{
    m_autoOffsetEnabled = state;
    emit autoOffsetDisable(!state);
}

void Settings3D::announceCalibrationType(Settings3D::CalibrationType type)
{
    emit calibrationTypeChanged(type);
}

void Settings3D::announceSettingsChanged()
{
    emit settingsChanged();
}

void Settings3D::announceCalibrationEnable(bool state)
{
    emit calibrationEnable(state);
}
