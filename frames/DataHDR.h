#pragma once

#include <QByteArray>
#include <QObject>

#include <array>

class DataPixelfield;
class Settings;

// Decodes an HDR frame: the reply of "getDistanceAndAmplitudeSorted" while the sensor takes
// its rows with two alternating integration times. The distance image is split into the two
// half-images of the two times (parts 0 and 1, each row doubled so that both are full
// height) and kept as read out (parts 2 and 3; the view combines part 3 in place); part 4 is
// the amplitude image.
class DataHDR final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPartCount = 5;
    static constexpr int kAmplitudePart = 4;

    explicit DataHDR(Settings* settings, QObject* parent = nullptr);
    ~DataHDR() override;

    // Parts 0, 1, 2 for the indices 0, 1, 2 (0 also for negative ones), part 3 above 2.
    int** partData(int index) const;
    int partValue(int index, int column, int row) const;
    DataPixelfield* partField(int index) const;
    int** amplitudeData() const;
    DataPixelfield* amplitudeField() const { return parts[kAmplitudePart]; }
    // The input of part `index` (0 to 3) of the last frame, as handed to its decoder.
    const QByteArray& rowBuffer(int index) const { return rowBuffers[size_t(index)]; }

public slots:
    void updateData(QByteArray& data);

signals:
    void finished();

private:
    static int partIndex(int index);
    void split(const QByteArray& data);

    Settings* settings;
    std::array<DataPixelfield*, kPartCount> parts{};
    QByteArray amplitudeBytes;
    std::array<QByteArray, 4> rowBuffers;
};
