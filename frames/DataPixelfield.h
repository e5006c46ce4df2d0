#pragma once

#include <QObject>

#include <array>
#include <vector>

class QByteArray;
class Settings;

// One decoded image (distance, amplitude or grayscale) in sensor coordinates, indexed
// [column][row]. The frame payload has no header: where each 16-bit word lands follows from
// the ROI, binning, row reduction, dual-MGX mode, view mode and sensor family that were sent
// to the camera before the frame was requested. Positions the frame did not deliver hold -1.
class DataPixelfield : public QObject
{
    Q_OBJECT

public:
    // Entry values of a pixel field.
    static constexpr int kNoData = -1;
    static constexpr int kLowAmplitude = 65300;
    static constexpr int kSaturated = 65400;
    static constexpr int kAdcOverflow = 65500;
    // Words above this pass through unchanged (the status codes are among them).
    static constexpr int kLargestMeasurement = 7999;
    // Logarithmic view of a word of 0, which has no logarithm: below every display range and
    // distinct from kNoData.
    static constexpr int kNoLogarithm = -65536;

    explicit DataPixelfield(Settings* settings, QObject* parent = nullptr);
    ~DataPixelfield() override;

    DataPixelfield(const DataPixelfield&) = delete;
    DataPixelfield& operator=(const DataPixelfield&) = delete;

    void clear();
    int** data() { return m_columns.data(); }
    const int* const* data() const { return m_columns.data(); }
    // The whole field as one contiguous run, column after column (row index fastest).
    int* cells() { return m_storage.data(); }
    const int* cells() const { return m_storage.data(); }
    int cellCount() const { return int(m_storage.size()); }
    int value(int column, int row) const { return m_columns[column][row]; }
    void setValue(int column, int row, int value) { m_columns[column][row] = value; }
    void setOffset(int offset) { m_offset = offset; }
    int offset() const { return m_offset; }
    double logDivisor() const { return m_logDivisor; }
    // Copies every entry of an equally sized field; fields of another size are left alone.
    void copyFrom(const DataPixelfield& other);
    // Takes the sensor size of the connected chip when it differs from the field's (the
    // decoders are made before the chip is known); true when the field was reallocated, which
    // leaves it without data. Every decode does this first.
    bool fitToSensor();

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool contains(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < m_width && row < m_height;
    }

public slots:
    void updateData(QByteArray& data);

signals:
    void finished();

private:
    enum class Footprint
    {
        Single,
        VerticalPair,
        HorizontalPair,
        Block
    };

    // What the placement of one decode needs besides the anchor.
    struct Layout
    {
        const uchar* payload = nullptr;
        bool logarithmic = false;
        int wordsPerRow = 1;
        int rowStep = 1;
        int wordCount = 0;
        int firstWord = 0;
        int wordDirection = 1;
    };

    static double logDivisorOf(const Settings* settings);
    void allocate(int width, int height);
    void fillLogarithms();
    int readWord(const uchar* payload, int index, bool logarithmic) const;
    void place(int column, int row, Footprint footprint, int direction, int value);
    void decode(const QByteArray& data);
    void placeRows(const Layout& layout, bool pairColumns, bool pairRows, int column, int row, int direction);
    template <int Columns, int Rows>
    void placeRowsOf(const Layout& layout, int firstColumn, int firstRow, int direction);
    void placeWordByWord(const Layout& layout, Footprint footprint, bool singleBlock, int byteCount, int x1,
                         int roiWidth, int y1, int centreRow);

    Settings* m_settings;
    int m_width;
    int m_height;
    std::vector<int> m_storage;
    std::vector<int*> m_columns;
    int m_offset = 0;
    double m_logDivisor;
    // ln(v) / logDivisor + 0.5 for every word that can be a measurement.
    std::array<int, kLargestMeasurement + 1> m_logarithm{};
};
