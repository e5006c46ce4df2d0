#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QVector>

#include <cstddef>
#include <vector>

// Turns pixel-field entries into display colours under the value range set before each
// image: a 30000-step blue-cyan-yellow-red ramp in two directions and a linear grayscale,
// with fixed colours for the status codes (65300 low amplitude, 65400 saturated, 65500 ADC
// underflow or overflow). Holds the legend bars shown beside the images.
//
// Mapping types: 1 forward ramp (range minimum blue, maximum red), 2 reversed ramp (minimum
// red, maximum blue), 0 and any other value grayscale.
//
// `color` is the reference for one entry. Painting goes through the scan-line functions,
// which read a table of RGB values per mapping built for the current range (rebuilt only
// when the range changes) and give exactly the colours of `color`.
class ImageColorizer final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRampSize = 30000;
    static constexpr int kGrayLevels = 255;

    static constexpr int kLowAmplitude = 65300;
    static constexpr int kSaturated = 65400;
    static constexpr int kAdcOverflow = 65500;

    static constexpr QRgb kPink = 0xffff0080;   // saturated
    static constexpr QRgb kPurple = 0xffa90eff; // ADC underflow or overflow
    static constexpr QRgb kBlack = 0xff000000;
    static constexpr QRgb kWhite = 0xffffffff;

    explicit ImageColorizer(QObject* parent = nullptr);
    ~ImageColorizer() override;

    // The ramp rule: the colour of step b of a ramp of a steps.
    static QRgb rampRule(int a, int b);

    void setRange(int min, int max);
    int rangeMin() const { return m_rangeMin; }
    int rangeMax() const { return m_rangeMax; }

    QColor color(int value, int type) const;
    QImage legend(int type) const;
    // Entry i (0 ... 29999) of the ramp.
    QColor rampColor(int index) const { return m_colors.at(index); }

    // The colour of `color(value, type)` as an opaque RGB value, without the table.
    QRgb rgb(int value, int type) const;

    // Maps `count` entries, entry i at values[i * stride], into line[0 ... count - 1] with the
    // colours of `color`.
    void colorLine(const int* values, std::ptrdiff_t stride, int count, int type, QRgb* line);

    // The same with the painting rule of the image creator: an entry above the range maximum
    // that is no status code is drawn as code 65300 (black on the ramps, white in grayscale
    // while 65300 lies above the range).
    void paintLine(const int* values, std::ptrdiff_t stride, int count, int type, QRgb* line);

    // Paints a field of `columnCount` columns of `rowCount` entries, column c at columns[c],
    // into the top left of `image` (RGB32, ARGB32 or ARGB32 premultiplied, at least that size;
    // nothing is painted otherwise) with the painting rule: pixel (c, r) is the colour of
    // columns[c][r]. Writes scan lines; allocates nothing unless the range grew since the last
    // image of this mapping (or `image` shares its pixels with a copy, which then detaches).
    void paintField(const int* const* columns, int columnCount, int rowCount, int type, QImage& image);
    // The same for a field stored in one block, column c starting at field + c * rowCount.
    void paintField(const int* field, int columnCount, int rowCount, int type, QImage& image);

private:
    // Table of the colours of rangeMin ... rangeMax for one mapping.
    struct Table
    {
        std::vector<QRgb> rgb; // keeps its capacity when a narrower range follows
        bool valid = false;
    };
    struct Mapper;

    static int mappingIndex(int type);
    static bool isStatus(int value)
    {
        return value == kLowAmplitude || value == kSaturated || value == kAdcOverflow;
    }
    int rampIndex(int value, int type) const;
    // The table of a mapping for the current range, or nullptr when the range is too wide for
    // one (the colours are then computed per entry).
    const QRgb* table(int mapping);
    Mapper mapper(int type, bool painting);

    QVector<QColor> m_colors;
    QVector<QRgb> m_rampRgb;
    QImage m_rampImage;
    QImage m_rampImageReversed;
    QImage m_grayImage;
    int m_rangeMin = 0;
    int m_rangeMax = 0;
    double m_rampScale = kRampSize;
    double m_grayScale = kGrayLevels;
    Table m_tables[3];
};
