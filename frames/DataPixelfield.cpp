#include "frames/DataPixelfield.h"

#include "app/Trace.h"
#include "settings/Settings.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The sensor arrays are 328 x 252 and 168 x 72; anything else read from the settings is
// brought into a range that cannot exhaust memory.
constexpr int kLargestSensorSide = 4096;

int boundedSide(int side)
{
    return std::clamp(side, 1, kLargestSensorSide);
}

} // namespace

DataPixelfield::DataPixelfield(Settings* settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_width(0), m_height(0), m_logDivisor(logDivisorOf(settings))
{
    allocate(boundedSide(settings->roi()->sensorWidth()), boundedSide(settings->roi()->sensorHeight()));
    fillLogarithms();
}

double DataPixelfield::logDivisorOf(const Settings* settings)
{
    // The largest amplitude of the frequency setting (4095, or 2895 for modulation 0) maps to
    // 63 on the logarithmic scale.
    return settings->distanceCalculation()->modulationIndex() != 0 ? std::log(4095.0) / 63.0
                                                                   : std::log(2895.0) / 63.0;
}

void DataPixelfield::allocate(int width, int height)
{
    m_width = width;
    m_height = height;
    m_storage.assign(size_t(m_width) * size_t(m_height), kNoData);
    m_columns.resize(size_t(m_width));
    for (int column = 0; column < m_width; ++column)
        m_columns[size_t(column)] = m_storage.data() + size_t(column) * size_t(m_height);
}

void DataPixelfield::fillLogarithms()
{
    m_logarithm[0] = kNoLogarithm;
    for (int v = 1; v <= kLargestMeasurement; ++v)
        m_logarithm[size_t(v)] = int(std::log(double(v)) / m_logDivisor + 0.5);
}

bool DataPixelfield::fitToSensor()
{
    const int width = boundedSide(m_settings->roi()->sensorWidth());
    const int height = boundedSide(m_settings->roi()->sensorHeight());
    if (width == m_width && height == m_height)
        return false;
    allocate(width, height);
    return true;
}

DataPixelfield::~DataPixelfield()
{
    ZTRACE() << "***DataPixelfield destroyed";
}

void DataPixelfield::clear()
{
    std::fill(m_storage.begin(), m_storage.end(), kNoData);
}

void DataPixelfield::copyFrom(const DataPixelfield& other)
{
    if (other.m_width != m_width || other.m_height != m_height)
        return;
    std::memcpy(m_storage.data(), other.m_storage.data(), m_storage.size() * sizeof(int));
}

void DataPixelfield::updateData(QByteArray& data)
{
    fitToSensor();
    decode(data);
    emit finished();
}

inline int DataPixelfield::readWord(const uchar* payload, int index, bool logarithmic) const
{
    const int v = int(payload[2 * index]) | (int(payload[2 * index + 1]) << 8);
    if (v > kLargestMeasurement)
        return v;
    if (logarithmic) {
        const int scaled = m_logarithm[size_t(v)];
        return scaled == kNoLogarithm ? kNoLogarithm : scaled - m_offset;
    }
    return v - m_offset;
}

// Writes one word's footprint. direction +1 extends the footprint right and down from the
// anchor, -1 left and up (the upper half of the centre-split readout). Cells outside the
// field are dropped: a payload longer than the settings imply never writes past the field.
inline void DataPixelfield::place(int column, int row, Footprint footprint, int direction, int value)
{
    auto put = [this, value](int c, int r) {
        if (contains(c, r))
            m_columns[size_t(c)][r] = value;
    };
    put(column, row);
    switch (footprint) {
    case Footprint::Single:
        break;
    case Footprint::VerticalPair:
        put(column, row + direction);
        break;
    case Footprint::HorizontalPair:
        put(column + direction, row);
        break;
    case Footprint::Block:
        put(column, row + direction);
        put(column + direction, row);
        put(column + direction, row + direction);
        break;
    }
}

void DataPixelfield::decode(const QByteArray& data)
{
    clear();

    const SettingsROI* roi = m_settings->roi();
    // An ROI far outside any sensor (a damaged configuration) could overflow the placement
    // arithmetic; nothing of it would land on the field anyway.
    auto farOutside = [](int coordinate) {
        return coordinate < -kLargestSensorSide || coordinate > 2 * kLargestSensorSide;
    };
    if (farOutside(roi->x1()) || farOutside(roi->x2()) || farOutside(roi->y1()))
        return;
    const int x1 = roi->x1();
    const int roiWidth = roi->x2() - x1 + 1;
    const int y1 = roi->y1();
    const int centreRow = m_height / 2;
    const int mode = m_settings->modeIndex();
    const bool horizontalBinning = m_settings->binningAndReduction()->horizontalBinning();
    const bool verticalBinning = m_settings->binningAndReduction()->verticalBinning();
    const bool dualMgx = m_settings->distanceCalculation()->dualMGX();
    // Row reduction index 0..3 halves the delivered rows each step; other indices (a damaged
    // configuration) are read as the nearest valid one.
    const int reduction = 1 << std::clamp(m_settings->binningAndReduction()->rowReductionIndex(), 0, 3);
    const int rowStep = dualMgx ? 2 * reduction : reduction;
    const bool logarithmic = mode == 4;
    const int chip = m_settings->chipType();

    Footprint footprint = Footprint::Single;
    int step = rowStep;
    if (dualMgx && !horizontalBinning && mode >= 1 && mode <= 4)
        footprint = Footprint::VerticalPair;
    else if (horizontalBinning && (verticalBinning || dualMgx))
        footprint = Footprint::Block;
    else if (horizontalBinning)
        footprint = Footprint::HorizontalPair;
    else if (verticalBinning)
        footprint = Footprint::VerticalPair;
    else if (dualMgx)
        step = 1;

    const bool pairColumns = footprint == Footprint::HorizontalPair || footprint == Footprint::Block;
    const bool pairRows = footprint == Footprint::VerticalPair || footprint == Footprint::Block;
    const int columnStep = pairColumns ? 2 : 1;
    const int wordsPerRow = pairColumns ? roiWidth / 2 : roiWidth;
    // An empty or inverted ROI delivers nothing that could be placed.
    if (roiWidth <= 0 || wordsPerRow <= 0)
        return;

    const auto* payload = reinterpret_cast<const uchar*>(data.constData());
    const bool singleBlock = chip == 4 || chip == 5;
    Layout layout;
    layout.payload = payload;
    layout.logarithmic = logarithmic;
    layout.wordsPerRow = wordsPerRow;
    layout.rowStep = step;
    if (columnStep * wordsPerRow != roiWidth) {
        // Column pairs over an odd ROI width: the readout column wraps inside a row, so each
        // word is placed on its own.
        placeWordByWord(layout, footprint, singleBlock, data.size(), x1, roiWidth, y1, centreRow);
        return;
    }

    // Every payload row then starts at the ROI's edge, so whole rows are placed at once.
    if (singleBlock) {
        // One block from the ROI's top-left corner, left to right and top to bottom.
        layout.wordCount = data.size() / 2;
        layout.firstWord = 0;
        layout.wordDirection = +1;
        placeRows(layout, pairColumns, pairRows, x1, y1, +1);
        return;
    }
    // Centre-split readout: the upper half of the image ending on the centre row, read from its
    // last word backwards and extending left and up, then the lower half starting on the centre
    // row. The halves never share a row, so each can be placed as a whole.
    layout.wordCount = data.size() / 4;
    layout.firstWord = layout.wordCount - 1;
    layout.wordDirection = -1;
    placeRows(layout, pairColumns, pairRows, x1 + roiWidth - 1, centreRow - 1, -1);
    layout.firstWord = layout.wordCount;
    layout.wordDirection = +1;
    placeRows(layout, pairColumns, pairRows, x1, centreRow, +1);
}

void DataPixelfield::placeRows(const Layout& layout, bool pairColumns, bool pairRows, int column, int row,
                               int direction)
{
    if (pairColumns) {
        if (pairRows)
            placeRowsOf<2, 2>(layout, column, row, direction);
        else
            placeRowsOf<2, 1>(layout, column, row, direction);
    } else {
        if (pairRows)
            placeRowsOf<1, 2>(layout, column, row, direction);
        else
            placeRowsOf<1, 1>(layout, column, row, direction);
    }
}

// Places layout.wordCount words, wordsPerRow to a payload row, starting at the anchor
// (column, row) and moving away from it in `direction`; each word fills Columns x Rows cells
// extending in the same direction. Cells outside the field are dropped.
template <int Columns, int Rows>
void DataPixelfield::placeRowsOf(const Layout& layout, int firstColumn, int firstRow, int direction)
{
    int word = layout.firstWord;
    int remaining = layout.wordCount;
    for (int row = firstRow; remaining > 0; row += direction * layout.rowStep) {
        const int count = std::min(remaining, layout.wordsPerRow);
        remaining -= count;
        const bool firstRowInside = unsigned(row) < unsigned(m_height);
        const bool secondRowInside = Rows == 2 && unsigned(row + direction) < unsigned(m_height);
        if (!firstRowInside && !secondRowInside) {
            // Rows only move further away from the field from here on.
            if (direction > 0 ? row >= m_height : row + (Rows - 1) * direction < 0)
                return;
            word += count * layout.wordDirection;
            continue;
        }
        int column = firstColumn;
        for (int k = 0; k < count; ++k, column += Columns * direction, word += layout.wordDirection) {
            const int value = readWord(layout.payload, word, layout.logarithmic);
            for (int dc = 0; dc < Columns; ++dc) {
                const int c = column + dc * direction;
                if (unsigned(c) >= unsigned(m_width))
                    continue;
                int* cells = m_columns[size_t(c)];
                if (firstRowInside)
                    cells[row] = value;
                if (Rows == 2 && secondRowInside)
                    cells[row + direction] = value;
            }
        }
    }
}

void DataPixelfield::placeWordByWord(const Layout& layout, Footprint footprint, bool singleBlock,
                                     int byteCount, int x1, int roiWidth, int y1, int centreRow)
{
    const int columnStep = 2;
    // g and r of the readout, kept incrementally: g = (2 i) mod W, r = i div wordsPerRow.
    int g = 0;
    int r = 0;
    int wordInRow = 0;
    auto advance = [&]() {
        g += columnStep;
        while (g >= roiWidth)
            g -= roiWidth;
        if (++wordInRow == layout.wordsPerRow) {
            wordInRow = 0;
            ++r;
        }
    };
    if (singleBlock) {
        for (int i = 0; i < byteCount / 2; ++i) {
            place(x1 + g, y1 + layout.rowStep * r, footprint, +1,
                  readWord(layout.payload, i, layout.logarithmic));
            advance();
        }
        return;
    }
    const int half = byteCount / 4;
    for (int i = 0; i < half; ++i) {
        place(x1 + roiWidth - 1 - g, centreRow - 1 - layout.rowStep * r, footprint, -1,
              readWord(layout.payload, half - 1 - i, layout.logarithmic));
        place(x1 + g, centreRow + layout.rowStep * r, footprint, +1,
              readWord(layout.payload, half + i, layout.logarithmic));
        advance();
    }
}
