#include "render/DistanceLabeler.h"

#include "app/Trace.h"
#include "settings/Settings.h"

#include <cmath>
#include <limits>

namespace {

// A double outside the int range has no defined conversion; such results saturate.
int truncated(double value)
{
    constexpr double largest = std::numeric_limits<int>::max();
    if (!(value > -largest))
        return -std::numeric_limits<int>::max();
    if (value >= largest)
        return std::numeric_limits<int>::max();
    return int(value);
}

} // namespace

DistanceLabeler::DistanceLabeler(const Settings* settings, QObject* parent)
    : QObject(parent), m_settings(settings)
{
}

DistanceLabeler::~DistanceLabeler()
{
    ZTRACE() << "***DistanceLabeler destroyed";
}

int DistanceLabeler::rangeIn(double unitsPerMetre, int previous) const
{
    const double frequency = m_settings->modulation()->currentFrequencyHz();
    const double speed = m_settings->speedOfLight();
    if (!(frequency > 0.0) || !std::isfinite(speed))
        return previous;
    const double range = std::trunc(speed / frequency * unitsPerMetre);
    if (!(range >= 1.0) || range > std::numeric_limits<int>::max())
        return previous;
    return int(range);
}

int DistanceLabeler::updateRangeCm()
{
    m_rangeCm = rangeIn(100.0, m_rangeCm);
    return m_rangeCm;
}

int DistanceLabeler::updateRangeMm()
{
    m_rangeMm = rangeIn(1000.0, m_rangeMm);
    return m_rangeMm;
}

int DistanceLabeler::lsbToCm(int lsb)
{
    if (lsb < 0)
        return -1;
    const int cm = truncated(lsb * double(updateRangeCm()) / kFullScale);
    return cm <= m_rangeCm ? cm : -1;
}

int DistanceLabeler::lsbToMm(int lsb)
{
    if (lsb < 0)
        return -1;
    const int mm = truncated(lsb * double(updateRangeMm()) / kFullScale);
    return mm <= m_rangeMm ? mm : -1;
}

int DistanceLabeler::cmToLsb(int cm)
{
    return truncated(kFullScale / updateRangeCm() * cm);
}
