#pragma once

#include <QObject>

// Whether saturated pixels and ADC under- or overflows are flagged in the frames.
class SettingsDataValidation final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsDataValidation(QObject* parent = nullptr);
    ~SettingsDataValidation() override;

    bool saturation() const { return m_saturation; }
    bool adcOverflow() const { return m_adcOverflow; }

    void setSaturation(bool state);
    void setAdcOverflow(bool state);

signals:
    void saturationChanged(bool state);
    void adcOverflowChanged(bool state);

private:
    bool m_saturation = false;
    bool m_adcOverflow = false;
};
