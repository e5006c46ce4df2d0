#pragma once

#include <QObject>

// FLIM gate timing. Timings are stored as step counts (as sent to the camera) and announced
// as durations, count x step, the unit the panels show.
class SettingsFLIM final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsFLIM(QObject* parent = nullptr);
    ~SettingsFLIM() override;

    bool flimChip() const { return m_flimChip; }
    int flashDelay() const { return m_flashDelay; }
    int flashWidth() const { return m_flashWidth; }
    int mgaDelay() const { return m_mgaDelay; }
    int mgaWidth() const { return m_mgaWidth; }
    int mgbDelay() const { return m_mgbDelay; }
    int mgbWidth() const { return m_mgbWidth; }
    int repetitionTime() const { return m_repetitionTime; }
    int repetitions() const { return m_repetitions; }
    double step() const { return m_step; }

    void setFlimChip(bool state) { m_flimChip = state; }
    void setFlashDelay(int steps);
    void setFlashWidth(int steps);
    void setMgaDelay(int steps);
    void setMgaWidth(int steps);
    void setMgbDelay(int steps);
    void setMgbWidth(int steps);
    void setRepetitionTime(int steps);
    void setRepetitions(int count);
    // Duration of one timing step, read from the camera at start-up.
    void setStep(double step) { m_step = step; }

    // Time-out of one FLIM frame in ms: the gate sequence repeated, plus 500 ms of margin.
    int acquisitionTimeout() const;

signals:
    void flashDelayChanged(double value);
    void flashWidthChanged(double value);
    void mgaDelayChanged(double value);
    void mgaWidthChanged(double value);
    void mgbDelayChanged(double value);
    void mgbWidthChanged(double value);
    void repetitionTimeChanged(double value);
    void repetitionsChanged(int value);

private:
    bool m_flimChip = false;
    int m_flashDelay = 0;
    int m_flashWidth = 0;
    int m_mgaDelay = 0;
    int m_mgaWidth = 0;
    int m_mgbDelay = 0;
    int m_mgbWidth = 0;
    int m_repetitionTime = 0;
    int m_repetitions = 0;
    double m_step = 0.0;
};
