#pragma once

#include <QObject>

class Settings;

// Converts frame distances (LSB, 30000 of them to one unambiguous range) into centimetres and
// millimetres and back, following the current modulation frequency and speed of light.
class DistanceLabeler final : public QObject
{
    Q_OBJECT

public:
    static constexpr double kFullScale = 30000.0;

    explicit DistanceLabeler(const Settings* settings, QObject* parent = nullptr);
    ~DistanceLabeler() override;

    int updateRangeCm();
    int updateRangeMm();
    // -1 for no data, status codes and anything beyond the unambiguous range.
    int lsbToCm(int lsb);
    int lsbToMm(int lsb);
    int cmToLsb(int cm);

    int rangeCm() const { return m_rangeCm; }
    int rangeMm() const { return m_rangeMm; }

private:
    // trunc(C / F x unitsPerMetre), or `previous` when the frequency or the speed of light
    // gives no finite, positive range (no frequency list after an offline start).
    int rangeIn(double unitsPerMetre, int previous) const;

    const Settings* m_settings;
    int m_rangeCm = 1500;
    int m_rangeMm = 15000;
};
