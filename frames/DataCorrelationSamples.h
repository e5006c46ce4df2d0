#pragma once

#include <QByteArray>
#include <QObject>

#include <array>
#include <vector>

class DataPixelfield;
class Settings;

// Splits a correlation-sample reply ("getDCSSorted", "getDCSTOFAndGrayscaleSorted") into its
// sample images DCS0..DCS3 (or the two FLIM gate images MGA and MGB) and the grayscale image
// of the combined reply, and computes the differences DCS2 - DCS0 and DCS3 - DCS1.
class DataCorrelationSamples final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPartCount = 5;
    static constexpr int kGrayscalePart = 4;
    // A difference of zero; the full span of a difference is 0 .. 8191.
    static constexpr int kDifferenceZero = 4096;

    explicit DataCorrelationSamples(Settings* settings, QObject* parent = nullptr);
    ~DataCorrelationSamples() override;

    // Index 0..3 gives DCS0..DCS3, any other index the grayscale part.
    int** partData(int index) const;
    DataPixelfield* partField(int index) const;
    int partValue(int index, int column, int row) const;
    int** differenceData(bool second)
    {
        return second ? m_difference1.columns.data() : m_difference0.columns.data();
    }
    int differenceValue(bool second, int column, int row) const;
    // How many sample images the last reply held (1, 2, 4 or 5).
    int lastSampleCount() const { return m_lastSampleCount; }
    // The sample images a "getDCSSorted" reply holds for these settings.
    static int sampleCountFor(const Settings* settings);

public slots:
    void updateData(QByteArray& data);
    void calculateDifference();

signals:
    void finished();
    void calculatedDifference();

private:
    struct Field
    {
        std::vector<int> storage;
        std::vector<int*> columns;
    };

    int sampleCount() const;
    static void allocate(Field& field, int width, int height);

    Settings* m_settings;
    std::array<DataPixelfield*, kPartCount> m_parts{};
    std::array<QByteArray, kPartCount> m_slices;
    Field m_difference0;
    Field m_difference1;
    int m_lastSampleCount = 0;
};
