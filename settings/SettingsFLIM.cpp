#include "settings/SettingsFLIM.h"

#include "app/Trace.h"

#include <climits>
#include <cmath>

SettingsFLIM::SettingsFLIM(QObject* parent) : QObject(parent)
{
}

SettingsFLIM::~SettingsFLIM()
{
    ZTRACE() << "***SettingsFLIM destroyed";
}

void SettingsFLIM::setFlashDelay(int steps)
{
    m_flashDelay = steps;
    emit flashDelayChanged(steps * m_step);
}

void SettingsFLIM::setFlashWidth(int steps)
{
    m_flashWidth = steps;
    emit flashWidthChanged(steps * m_step);
}

void SettingsFLIM::setMgaDelay(int steps)
{
    m_mgaDelay = steps;
    emit mgaDelayChanged(steps * m_step);
}

void SettingsFLIM::setMgaWidth(int steps)
{
    m_mgaWidth = steps;
    emit mgaWidthChanged(steps * m_step);
}

void SettingsFLIM::setMgbDelay(int steps)
{
    m_mgbDelay = steps;
    emit mgbDelayChanged(steps * m_step);
}

void SettingsFLIM::setMgbWidth(int steps)
{
    m_mgbWidth = steps;
    emit mgbWidthChanged(steps * m_step);
}

void SettingsFLIM::setRepetitionTime(int steps)
{
    m_repetitionTime = steps;
    emit repetitionTimeChanged(steps * m_step);
}

void SettingsFLIM::setRepetitions(int count)
{
    m_repetitions = count;
    emit repetitionsChanged(count);
}

int SettingsFLIM::acquisitionTimeout() const
{
    // The flash timing overlaps the gates and does not lengthen the frame.
    const double gates = double(m_mgaDelay) + m_mgaWidth + m_mgbDelay + m_mgbWidth + m_repetitionTime + 0.5;
    const double ms = gates * m_repetitions * m_step / 1000000.0 + 500.0;
    // Absurd timings must still give a usable timer value, not an undefined conversion.
    if (!std::isfinite(ms))
        return 500;
    if (ms >= double(INT_MAX))
        return INT_MAX;
    if (ms <= double(INT_MIN))
        return INT_MIN;
    return int(ms);
}
