#include "render/ImageColorizer.h"

#include "app/Trace.h"

#include <algorithm>

namespace {

// Ranges wider than this are coloured entry by entry instead of through a table (512 KB).
constexpr qint64 kMaxTableSize = qint64(1) << 17;

int truncated(double value)
{
    return static_cast<int>(value);
}

// The formats whose pixels are QRgb values.
bool holdsRgb(const QImage& image)
{
    const QImage::Format format = image.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

// Colours one entry of a scan line from the table of the current range; entries outside the
// range (no data, status codes above it, ...) take the rules of `rgb`.
struct ImageColorizer::Mapper
{
    const ImageColorizer* colorizer;
    const QRgb* table;
    quint32 base;
    quint32 size;
    int type;
    int rangeMax;
    bool painting;
    QRgb above;

    QRgb operator()(int value) const
    {
        const quint32 offset = static_cast<quint32>(value) - base;
        if (offset < size)
            return table[offset];
        if (painting && value > rangeMax && !isStatus(value))
            return above;
        return colorizer->rgb(value, type);
    }
};

ImageColorizer::ImageColorizer(QObject* parent)
    : QObject(parent)
    , m_colors(kRampSize)
    , m_rampRgb(kRampSize)
    , m_rampImage(1, kRampSize, QImage::Format_ARGB32_Premultiplied)
    , m_rampImageReversed(1, kRampSize, QImage::Format_ARGB32_Premultiplied)
    , m_grayImage(1, kGrayLevels, QImage::Format_ARGB32_Premultiplied)
{
    for (int i = 0; i < kRampSize; ++i) {
        const QRgb value = rampRule(kRampSize, i);
        m_rampRgb[i] = value;
        m_colors[i] = QColor(value);
        m_rampImage.setPixel(0, i, value);
        m_rampImageReversed.setPixel(0, kRampSize - 1 - i, value);
    }
    // 255 rows: the lightest legend gray is 254, at the top.
    for (int i = 0; i < kGrayLevels; ++i)
        m_grayImage.setPixel(0, kGrayLevels - 1 - i, qRgb(i, i, i));
    setRange(0, 0);
}

ImageColorizer::~ImageColorizer()
{
    ZTRACE() << "***ImageColorizer destroyed";
}

QRgb ImageColorizer::rampRule(int a, int b)
{
    const double c = static_cast<double>(b) / a - 0.25;

    int red = 0;
    if (c >= 0.125 && c < 0.375)
        red = truncated(1020 * (c - 0.125));
    else if (c >= 0.375 && c < 0.625)
        red = 255;
    else if (c >= 0.625 && c < 1.125)
        red = truncated(255 - 510 * (c - 0.625));

    int green = 0;
    if (c >= -0.125 && c < 0.125)
        green = truncated(1020 * (c + 0.125));
    else if (c >= 0.125 && c < 0.375)
        green = 255;
    else if (c >= 0.375 && c < 0.75)
        green = truncated(255 - 680 * (c - 0.375));

    int blue = 0;
    if (c < -0.375)
        blue = 255;
    else if (c < -0.125)
        blue = truncated(1020 * (c + 0.375));
    else if (c < 0.125)
        blue = 255;
    else if (c < 0.375)
        blue = truncated(255 - 1020 * (c - 0.125));

    return qRgb(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
}

void ImageColorizer::setRange(int min, int max)
{
    if (min != m_rangeMin || max != m_rangeMax) {
        for (Table& table : m_tables)
            table.valid = false;
    }
    m_rangeMin = min;
    m_rangeMax = max;
    qint64 span = qint64(max) - min;
    if (span <= 0)
        span = 1;
    m_rampScale = kRampSize / static_cast<double>(span);
    m_grayScale = kGrayLevels / static_cast<double>(span);
}

int ImageColorizer::mappingIndex(int type)
{
    return type == 1 || type == 2 ? type : 0;
}

int ImageColorizer::rampIndex(int value, int type) const
{
    const double d = static_cast<double>(value) - m_rangeMin;
    const double k = type == 1 ? d * m_rampScale - 1 : kRampSize - d * m_rampScale;
    // Compared in floating point first: trunc(k) <= 0 exactly when k < 1.
    if (k < 1)
        return 0;
    if (k >= kRampSize)
        return kRampSize - 1;
    return truncated(k);
}

QRgb ImageColorizer::rgb(int value, int type) const
{
    if (mappingIndex(type) != 0) {
        switch (value) {
        case kLowAmplitude:
            return kBlack;
        case kSaturated:
            return kPink;
        case kAdcOverflow:
            return kPurple;
        case 0:
            return m_rampRgb[0]; // dark blue in both directions
        default:
            break;
        }
        if (value >= m_rangeMin && value <= m_rangeMax)
            return m_rampRgb[rampIndex(value, type)];
        return kBlack;
    }

    if (value == kSaturated)
        return kPink;
    if (value == kAdcOverflow)
        return kPurple;
    if (value > m_rangeMax)
        return kWhite;
    if (value < m_rangeMin)
        return kBlack;
    const int g = std::clamp(truncated((static_cast<double>(value) - m_rangeMin) * m_grayScale), 0, 255);
    return qRgb(g, g, g);
}

QColor ImageColorizer::color(int value, int type) const
{
    return QColor(rgb(value, type));
}

QImage ImageColorizer::legend(int type) const
{
    switch (mappingIndex(type)) {
    case 1:
        return m_rampImageReversed; // red (range maximum) at the top
    case 2:
        return m_rampImage; // blue (range maximum) at the top
    default:
        return m_grayImage;
    }
}

const QRgb* ImageColorizer::table(int mapping)
{
    const qint64 size = qint64(m_rangeMax) - m_rangeMin + 1;
    if (size <= 0 || size > kMaxTableSize)
        return nullptr;
    Table& table = m_tables[mapping];
    if (!table.valid) {
        table.rgb.resize(static_cast<std::size_t>(size));
        QRgb* entries = table.rgb.data();
        // The in-range rule for every entry first, then the few values with rules of their
        // own (0 on the ramps, the status codes) from the full rule.
        if (mapping != 0) {
            for (qint64 offset = 0; offset < size; ++offset)
                entries[offset] = m_rampRgb[rampIndex(static_cast<int>(m_rangeMin + offset), mapping)];
        } else {
            for (qint64 offset = 0; offset < size; ++offset) {
                const int g = std::clamp(truncated(static_cast<double>(offset) * m_grayScale), 0, 255);
                entries[offset] = qRgb(g, g, g);
            }
        }
        for (int special : {0, int(kLowAmplitude), int(kSaturated), int(kAdcOverflow)}) {
            if (special >= m_rangeMin && special <= m_rangeMax)
                entries[qint64(special) - m_rangeMin] = rgb(special, mapping);
        }
        table.valid = true;
    }
    return table.rgb.data();
}

ImageColorizer::Mapper ImageColorizer::mapper(int type, bool painting)
{
    const int mapping = mappingIndex(type);
    const QRgb* rgbTable = table(mapping);
    Mapper m{this,
             rgbTable,
             static_cast<quint32>(m_rangeMin),
             rgbTable ? static_cast<quint32>(qint64(m_rangeMax) - m_rangeMin + 1) : 0u,
             mapping,
             m_rangeMax,
             painting,
             rgb(kLowAmplitude, mapping)};
    return m;
}

void ImageColorizer::colorLine(const int* values, std::ptrdiff_t stride, int count, int type, QRgb* line)
{
    const Mapper map = mapper(type, false);
    for (int i = 0; i < count; ++i)
        line[i] = map(values[i * stride]);
}

void ImageColorizer::paintLine(const int* values, std::ptrdiff_t stride, int count, int type, QRgb* line)
{
    const Mapper map = mapper(type, true);
    for (int i = 0; i < count; ++i)
        line[i] = map(values[i * stride]);
}

void ImageColorizer::paintField(const int* const* columns, int columnCount, int rowCount, int type,
                                QImage& image)
{
    if (!columns || !holdsRgb(image) || image.width() < columnCount || image.height() < rowCount)
        return;
    const Mapper map = mapper(type, true);
    uchar* bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (int r = 0; r < rowCount; ++r) {
        QRgb* line = reinterpret_cast<QRgb*>(bits + r * bytesPerLine);
        for (int c = 0; c < columnCount; ++c)
            line[c] = map(columns[c][r]);
    }
}

void ImageColorizer::paintField(const int* field, int columnCount, int rowCount, int type, QImage& image)
{
    if (!field || !holdsRgb(image) || image.width() < columnCount || image.height() < rowCount)
        return;
    const Mapper map = mapper(type, true);
    uchar* bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (int r = 0; r < rowCount; ++r) {
        QRgb* line = reinterpret_cast<QRgb*>(bits + r * bytesPerLine);
        const int* values = field + r;
        for (int c = 0; c < columnCount; ++c)
            line[c] = map(values[static_cast<std::ptrdiff_t>(c) * rowCount]);
    }
}
