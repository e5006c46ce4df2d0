#pragma once

#include <QByteArray>
#include <QObject>

class DataPixelfield;
class Settings;

// Decodes the reply of "getDistanceAndAmplitudeSorted": a distance image followed by an
// amplitude image of the same size. The views filter `distance` and `amplitude` in place;
// the raw copies keep the frame as decoded, for logging.
class DataInformationSample final : public QObject
{
    Q_OBJECT

public:
    explicit DataInformationSample(Settings* settings, QObject* parent = nullptr);
    ~DataInformationSample() override;

    DataPixelfield* distanceField(bool raw) const { return raw ? m_distanceRaw : m_distance; }
    DataPixelfield* amplitudeField(bool raw) const { return raw ? m_amplitudeRaw : m_amplitude; }
    int** distanceData(bool raw) const;
    int** amplitudeData(bool raw) const;
    int distanceValue(int column, int row) const;
    int amplitudeValue(int column, int row) const;

public slots:
    void updateData(QByteArray& data);

signals:
    void finished();

private:
    DataPixelfield* m_distanceRaw;
    DataPixelfield* m_amplitudeRaw;
    DataPixelfield* m_distance;
    DataPixelfield* m_amplitude;
    // The two halves of the last payload; their capacity is kept from frame to frame.
    QByteArray m_distanceBytes;
    QByteArray m_amplitudeBytes;
};
