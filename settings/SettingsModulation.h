#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

// The modulation frequencies the camera offers (filled at start-up), their calibration
// types and the selected one.
class SettingsModulation final : public QObject
{
    Q_OBJECT

public:
    // What the frequency accessors give for an index outside the list (the list is empty
    // after an offline start): the camera's base frequency, so that range computations that
    // divide by a frequency stay finite.
    static constexpr int FallbackFrequencyHz = 20000000;

    explicit SettingsModulation(QObject* parent = nullptr);
    ~SettingsModulation() override;

    int frequencyIndex() const { return m_frequencyIndex; }
    // Emits modulationFrequencyIndexChanged(index) then modulationFrequencyChanged().
    void setFrequencyIndex(int index);

    // `serverIndex` is the frequency's position in the camera's own list, which differs from
    // its position here once the camera lists a frequency the client leaves out; -1 means the
    // same position as here (the fallback list).
    void addFrequency(const QString& label, int hz, int serverIndex = -1);
    void addCalibrationType(int type);

    int frequencyCount() const { return m_labels.size(); }
    QStringList labels() const { return m_labels; }
    QVector<int> frequenciesHz() const { return m_frequenciesHz; }
    // FallbackFrequencyHz when index lies outside the list.
    int frequencyHz(int index) const;
    int currentFrequencyHz() const { return frequencyHz(m_frequencyIndex); }

    // The position of entry `index` in the camera's list: what "setModulationFrequency"
    // carries. An index the list does not cover is passed on unchanged.
    int serverIndex(int index) const;

    QVector<int> calibrationTypes() const { return m_calibrationTypes; }
    // 0 for any index the list does not cover (also a negative one).
    int calibrationTypeOf(int index) const;

signals:
    void modulationFrequencyChanged();
    void modulationFrequencyIndexChanged(int index);

private:
    int m_frequencyIndex = 1;
    QStringList m_labels;
    QVector<int> m_frequenciesHz;
    QVector<int> m_serverIndices;
    QVector<int> m_calibrationTypes;
};
