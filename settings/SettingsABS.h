#pragma once

#include <QObject>

// Ambient-light suppression switch.
class SettingsABS final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsABS(QObject* parent = nullptr);
    ~SettingsABS() override;

    bool abs() const { return m_abs; }
    void setAbs(bool state);

signals:
    void absChanged(bool state);

private:
    bool m_abs = false;
};
