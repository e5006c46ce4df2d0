#pragma once

#include <QObject>

// Distance range, amplitude limit, hysteresis, offsets and FPN correction of the TOF image.
class Settings3D final : public QObject
{
    Q_OBJECT

public:
    // Correction status the view panel computes for the status bar; announced, never stored.
    // 0-4 describe the grayscale corrections, 5-9 the distance corrections.
    enum CalibrationType
    {
        GrayscaleCorrectionNotAvailable = 0,
        DsnuPrnuCorrected = 1,
        DsnuPrnuNotCorrected = 2,
        PrnuNotCorrected = 3,
        DsnuNotCorrected = 4,
        DrnuTemperatureCorrectionNotAvailable = 5,
        DrnuTemperatureCorrected = 6,
        DrnuTemperatureNotCorrected = 7,
        TemperatureNotCorrected = 8,
        DrnuNotCorrected = 9
    };
    Q_ENUM(CalibrationType)

    explicit Settings3D(QObject* parent = nullptr);
    ~Settings3D() override;

    int distanceMax() const { return m_distanceMax; }
    int distanceMin() const { return m_distanceMin; }
    int minAmplitude() const { return m_minAmplitude; }
    int hysteresis() const { return m_hysteresis; }
    bool hysteresisEnabled() const { return m_hysteresisEnabled; }
    int automaticOffset() const { return m_automaticOffset; }
    int manualOffset() const { return m_manualOffset; }
    bool fpn() const { return m_fpn; }
    bool autoOffsetEnabled() const { return m_autoOffsetEnabled; }
    bool temperatureOffsetCorrection() const { return m_temperatureOffsetCorrection; }

    void setDistanceMax(int value);
    void setDistanceMin(int value);
    void setMinAmplitude(int value);
    void setHysteresis(int value);
    void setHysteresisEnabled(bool state);
    void setAutomaticOffset(int value);
    void setManualOffset(int value);
    void setFpn(bool state);
    // Announces the change as autoOffsetDisable(!state): listeners enable the manual offset.
    void setAutoOffsetEnabled(bool state);
    void setTemperatureOffsetCorrection(bool state) { m_temperatureOffsetCorrection = state; }

    void announceCalibrationType(Settings3D::CalibrationType type);
    void announceSettingsChanged();
    void announceCalibrationEnable(bool state);

signals:
    void calibrationTypeChanged(Settings3D::CalibrationType type);
    void distanceMaxChanged(int value);
    void distanceMinChanged(int value);
    void minAmplitudeChanged(int value);
    void hysteresisChanged(int value);
    void hysteresisEnabledChanged(bool state);
    void automaticOffsetChanged(int value);
    void fpnChanged(bool state);
    void settingsChanged();
    void calibrationEnable(bool state);
    void autoOffsetDisable(bool);
    void manualOffsetChanged(int value);

private:
    int m_distanceMax = 0;
    int m_distanceMin = 0;
    int m_minAmplitude = 0;
    int m_hysteresis = 0;
    bool m_hysteresisEnabled = false;
    int m_automaticOffset = 0;
    int m_manualOffset = 0;
    bool m_fpn = false;
    bool m_autoOffsetEnabled = true;
    bool m_temperatureOffsetCorrection = false;
};
