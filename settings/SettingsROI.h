#pragma once

#include <QObject>

// Region of interest on the sensor array (inclusive pixel indices), the sensor geometry it
// lives in and the default ROI that the panel's reset restores.
class SettingsROI final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsROI(QObject* parent = nullptr);
    ~SettingsROI() override;

    int x1() const { return m_x1; }
    int x2() const { return m_x2; }
    int y1() const { return m_y1; }
    int y2() const { return m_y2; }
    int width() const { return m_x2 - m_x1 + 1; }
    int height() const { return m_y2 - m_y1 + 1; }

    // Single coordinates store silently: a configuration file sets them one by one.
    void setX1(int x1) { m_x1 = x1; }
    void setX2(int x2) { m_x2 = x2; }
    void setY1(int y1) { m_y1 = y1; }
    void setY2(int y2) { m_y2 = y2; }
    // Emits roiChanged().
    void setRoi(int x1, int x2, int y1, int y2);
    // Emits roiChanged() then roiChangedUpdateFields(), so the ROI panel shows the values.
    void setRoiAndFields(int x1, int x2, int y1, int y2);

    int defaultX1() const { return m_defaultX1; }
    int defaultX2() const { return m_defaultX2; }
    int defaultY1() const { return m_defaultY1; }
    int defaultY2() const { return m_defaultY2; }
    void setDefaultX1(int x1) { m_defaultX1 = x1; }
    void setDefaultX2(int x2) { m_defaultX2 = x2; }
    void setDefaultY1(int y1) { m_defaultY1 = y1; }
    void setDefaultY2(int y2) { m_defaultY2 = y2; }

    int sensorWidth() const { return m_sensorWidth; }
    int sensorHeight() const { return m_sensorHeight; }
    int minRoiWidth() const { return m_minRoiWidth; }
    int minRoiHeight() const { return m_minRoiHeight; }
    void setSensorWidth(int width) { m_sensorWidth = width; }
    void setSensorHeight(int height) { m_sensorHeight = height; }
    void setMinRoiWidth(int width) { m_minRoiWidth = width; }
    void setMinRoiHeight(int height) { m_minRoiHeight = height; }

    bool emulation() const { return m_emulation; }
    // Emits emulationDisabled(!state).
    void setEmulation(bool state);
    void announceEmulationLoaded(bool state);
    void announceOutputModeIndexChanged(int index);

    // The small sensors (chip types 4 and 5) take the current ROI as their default and the
    // 168 x 72 geometry; every chip type then announces the ROI.
    void setChipType(int chipType);

signals:
    void roiChanged();
    void roiChangedUpdateFields();
    // The sensor size changed with the chip type: every sensor-sized object takes the new one.
    void sensorSizeChanged();
    void outputModeIndexChanged(int index);
    void emulationDisabled(bool state);
    void emulationLoaded(bool state);

private:
    int m_defaultX1 = 4;
    int m_defaultX2 = 323;
    int m_defaultY1 = 6;
    int m_defaultY2 = 245;
    int m_x1 = 4;
    int m_x2 = 323;
    int m_y1 = 6;
    int m_y2 = 245;
    int m_sensorWidth = 328;
    int m_sensorHeight = 252;
    int m_minRoiWidth = 12;
    int m_minRoiHeight = 8;
    bool m_emulation = false;
};
