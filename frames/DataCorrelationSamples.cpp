#include "frames/DataCorrelationSamples.h"

#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "settings/Settings.h"

#include <cstring>

DataCorrelationSamples::DataCorrelationSamples(Settings* settings, QObject* parent)
    : QObject(parent), m_settings(settings)
{
    for (DataPixelfield*& part : m_parts)
        part = new DataPixelfield(settings, this);
    allocate(m_difference0, m_parts[0]->width(), m_parts[0]->height());
    allocate(m_difference1, m_parts[0]->width(), m_parts[0]->height());
}

DataCorrelationSamples::~DataCorrelationSamples()
{
    ZTRACE() << "***DataCorrelationSamples destroyed";
}

void DataCorrelationSamples::allocate(Field& field, int width, int height)
{
    field.storage.assign(size_t(width) * size_t(height), DataPixelfield::kNoData);
    field.columns.resize(size_t(width));
    for (int column = 0; column < width; ++column)
        field.columns[size_t(column)] = field.storage.data() + size_t(column) * size_t(height);
}

int** DataCorrelationSamples::partData(int index) const
{
    return partField(index)->data();
}

DataPixelfield* DataCorrelationSamples::partField(int index) const
{
    return index >= 0 && index < 4 ? m_parts[size_t(index)] : m_parts[kGrayscalePart];
}

int DataCorrelationSamples::partValue(int index, int column, int row) const
{
    return partField(index)->value(column, row);
}

int DataCorrelationSamples::differenceValue(bool second, int column, int row) const
{
    const Field& field = second ? m_difference1 : m_difference0;
    return field.columns[size_t(column)][row];
}

// The number of sample images in a reply follows from the view mode and the sampling the
// camera was told to use: pi delay doubles the samples, dual MGX halves them, and a FLIM chip
// always delivers its two gate images.
int DataCorrelationSamples::sampleCount() const
{
    if (m_settings->modeIndex() == 8)
        return 5;
    const bool dualMgx = m_settings->distanceCalculation()->dualMGX();
    const bool piDelay = m_settings->distanceCalculation()->piDelay();
    const bool flimChip = m_settings->flim()->flimChip();
    if (dualMgx)
        return piDelay || flimChip ? 2 : 1;
    if (piDelay)
        return flimChip ? 2 : 4;
    return 2;
}

void DataCorrelationSamples::updateData(QByteArray& data)
{
    const int count = sampleCount();
    const int sliceSize = data.size() / count;
    for (int part = 0; part < count; ++part) {
        QByteArray& slice = m_slices[size_t(part)];
        // resize keeps the buffer's capacity, so steady-state frames allocate nothing.
        slice.resize(sliceSize);
        if (sliceSize > 0)
            std::memcpy(slice.data(), data.constData() + size_t(part) * size_t(sliceSize), size_t(sliceSize));
        m_parts[size_t(part)]->updateData(slice);
    }
    // Parts the reply does not hold keep their data, but take the sensor size like the others.
    for (DataPixelfield* part : m_parts)
        part->fitToSensor();
    const int width = m_parts[0]->width();
    const int height = m_parts[0]->height();
    if (m_difference0.columns.size() != size_t(width) ||
        m_difference0.storage.size() != size_t(width) * size_t(height)) {
        allocate(m_difference0, width, height);
        allocate(m_difference1, width, height);
    }
    m_lastSampleCount = count;
    emit finished();
}

namespace {

int differenceOf(int first, int second)
{
    if (first == DataPixelfield::kAdcOverflow || second == DataPixelfield::kAdcOverflow)
        return DataPixelfield::kAdcOverflow;
    if (first == DataPixelfield::kSaturated || second == DataPixelfield::kSaturated)
        return DataPixelfield::kSaturated;
    return second - first + DataCorrelationSamples::kDifferenceZero;
}

} // namespace

void DataCorrelationSamples::calculateDifference()
{
    const size_t cells = m_difference0.storage.size();
    const int* d0 = m_parts[0]->cells();
    const int* d1 = m_parts[1]->cells();
    const int* d2 = m_parts[2]->cells();
    const int* d3 = m_parts[3]->cells();
    int* out0 = m_difference0.storage.data();
    int* out1 = m_difference1.storage.data();
    for (size_t i = 0; i < cells; ++i) {
        if (d0[i] < 0 || d1[i] < 0 || d2[i] < 0 || d3[i] < 0) {
            out0[i] = DataPixelfield::kNoData;
            out1[i] = DataPixelfield::kNoData;
            continue;
        }
        out0[i] = differenceOf(d0[i], d2[i]);
        out1[i] = differenceOf(d1[i], d3[i]);
    }
    emit calculatedDifference();
}
