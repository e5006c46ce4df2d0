#pragma once

#include <QObject>

// How the camera computes distances (pi delay, dual MGX, HDR, modulation, LFSR, polynomial)
// and the amplitude scale the views use.
class SettingsDistanceCalculation final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsDistanceCalculation(QObject* parent = nullptr);
    ~SettingsDistanceCalculation() override;

    bool piDelay() const { return m_piDelay; }
    bool dualMGX() const { return m_dualMGX; }
    bool hdr() const { return m_hdr; }
    bool amplitudeHdr() const { return m_amplitudeHdr; }
    bool smallAmplitudeScale() const { return m_smallAmplitudeScale; }
    int modulationIndex() const { return m_modulationIndex; }
    int lfsrIndex() const { return m_lfsrIndex; }
    int polynomialIndex() const { return m_polynomialIndex; }

    void setPiDelay(bool state);
    void setDualMGX(bool state);
    void setHdr(bool state);
    void setAmplitudeHdr(bool state) { m_amplitudeHdr = state; }
    void setSmallAmplitudeScale(bool state) { m_smallAmplitudeScale = state; }
    void setModulationIndex(int index);
    void setLfsrIndex(int index);
    void setPolynomialIndex(int index);

    // Full scale of the amplitude displays: 63 on the small scale, else 2895 for the first
    // modulation and 4095 for every other one.
    int maxAmplitude() const;

signals:
    void dualMGXEnabled(bool);
    void hdrEnabled(bool);
    void piDelayEnabled(bool);
    void modulationIndexChanged(int index);
    void LFSRIndexChanged(int index);
    void polyIndexChanged(int index);

private:
    bool m_piDelay = false;
    bool m_dualMGX = false;
    bool m_hdr = false;
    bool m_amplitudeHdr = true;
    bool m_smallAmplitudeScale = false;
    int m_modulationIndex = 0;
    int m_lfsrIndex = 0;
    int m_polynomialIndex = 0;
};
