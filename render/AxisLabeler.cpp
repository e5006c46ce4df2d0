#include "render/AxisLabeler.h"

#include "app/Trace.h"
#include "settings/Settings.h"

#include <algorithm>

AxisLabeler::AxisLabeler(const Settings* settings, QObject* parent) : QObject(parent), m_settings(settings)
{
}

AxisLabeler::~AxisLabeler()
{
    ZTRACE() << "***AxisLabeler destroyed";
}

int AxisLabeler::lastColumn() const
{
    return m_settings->roi()->sensorWidth() - 1;
}

int AxisLabeler::lastRow() const
{
    return m_settings->roi()->sensorHeight() - 1;
}

QString AxisLabeler::topLabel() const
{
    return QString::number(m_settings->transformation()->verticalFlip() ? lastRow() : 0);
}

QString AxisLabeler::bottomLabel() const
{
    return QString::number(m_settings->transformation()->verticalFlip() ? 0 : lastRow());
}

QString AxisLabeler::leftLabel() const
{
    return QString::number(m_settings->transformation()->horizontalFlip() ? lastColumn() : 0);
}

QString AxisLabeler::rightLabel() const
{
    return QString::number(m_settings->transformation()->horizontalFlip() ? 0 : lastColumn());
}

QPoint AxisLabeler::toSensorUnclamped(int x, int y) const
{
    const int column = m_settings->transformation()->horizontalFlip() ? lastColumn() - x : x;
    const int row = m_settings->transformation()->verticalFlip() ? lastRow() - y : y;
    return {column, row};
}

QPoint AxisLabeler::toSensor(int x, int y) const
{
    const QPoint sensor = toSensorUnclamped(x, y);
    return {std::clamp(sensor.x(), 0, std::max(0, lastColumn())),
            std::clamp(sensor.y(), 0, std::max(0, lastRow()))};
}
