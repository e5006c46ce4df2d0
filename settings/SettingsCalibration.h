#pragma once

#include <QObject>
#include <QPoint>
#include <QVector>

class QByteArray;

// Correction switches, the lens field of view and the bad pixels the camera reported.
class SettingsCalibration final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsCalibration(QObject* parent = nullptr);
    ~SettingsCalibration() override;

    bool pixelInterpolation() const { return m_pixelInterpolation; }
    bool drnuCorrection() const { return m_drnuCorrection; }
    bool temperatureCorrection() const { return m_temperatureCorrection; }
    bool grayscaleCorrectionAvailable() const { return m_grayscaleCorrectionAvailable; }
    bool grayscaleOffset() const { return m_grayscaleOffset; }
    bool grayscaleGain() const { return m_grayscaleGain; }
    int fov() const { return m_fov; }

    void setPixelInterpolation(bool state);
    void setDrnuCorrection(bool state) { m_drnuCorrection = state; }
    void setTemperatureCorrection(bool state) { m_temperatureCorrection = state; }
    void setGrayscaleCorrectionAvailable(bool state) { m_grayscaleCorrectionAvailable = state; }
    void setGrayscaleOffset(bool state) { m_grayscaleOffset = state; }
    void setGrayscaleGain(bool state) { m_grayscaleGain = state; }
    void setFov(int value);

    // Bad-pixel positions (x = column, y = row) in sensor coordinates.
    const QVector<QPoint>& badPixels() const { return m_badPixels; }
    int badPixelCount() const { return m_badPixels.size(); }
    // Appends the pairs of little-endian int16 (x then y) the camera sends; a value cut off
    // by the end of the data reads as 0.
    void setBadPixels(const QByteArray& bytes);
    void clearBadPixels() { m_badPixels.clear(); }

signals:
    void pixelInterpolationChanged(bool);
    void updateFOV(int val);

private:
    bool m_pixelInterpolation = true;
    bool m_drnuCorrection = true;
    bool m_temperatureCorrection = true;
    bool m_grayscaleCorrectionAvailable = false;
    bool m_grayscaleOffset = true;
    bool m_grayscaleGain = true;
    int m_fov = 108;
    QVector<QPoint> m_badPixels;
};
