#pragma once

#include <QObject>

// DLL locking options of the sensor; kept for the camera's command set, the client itself
// only constructs them.
class SettingsDLL final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsDLL(QObject* parent = nullptr);
    ~SettingsDLL() override;

    int updateInterval() const { return m_updateInterval; }
    bool lockingEnabled() const { return m_lockingEnabled; }
    bool periodicUpdate() const { return m_periodicUpdate; }

    void setUpdateInterval(int value);
    void setLockingEnabled(bool state) { m_lockingEnabled = state; }
    void setPeriodicUpdate(bool state) { m_periodicUpdate = state; }

    void triggerLockingOperation();

signals:
    void lockingOperationTriggered();
    void updateIntervalChanged(int value);

private:
    int m_updateInterval = 0;
    bool m_lockingEnabled = false;
    bool m_periodicUpdate = false;
};
