#pragma once

#include <QObject>

// Integration times of the grayscale, TOF and TOF-HDR exposures, in microseconds.
class SettingsIntegrationTime final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsIntegrationTime(QObject* parent = nullptr);
    ~SettingsIntegrationTime() override;

    int integrationTime2D() const { return m_integrationTime2D; }
    int integrationTime3D() const { return m_integrationTime3D; }
    int integrationTime3DHDR() const { return m_integrationTime3DHDR; }

    void setIntegrationTime2D(int us);
    void setIntegrationTime3D(int us);
    void setIntegrationTime3DHDR(int us);

    void announceSettingsChanged();
    // The grayscale time follows the TOF time while locked; nothing is stored here.
    void announceLock2DTime(bool state);

signals:
    void integrationTime2DChanged(int us);
    void integrationTime3DChanged(int us);
    void integrationTime3DHDRChanged(int us);
    void settingsChanged();
    void lock2DTime(bool state);

private:
    int m_integrationTime2D = 0;
    int m_integrationTime3D = 700;
    int m_integrationTime3DHDR = 0;
};
