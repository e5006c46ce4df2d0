#include "frames/DataHDR.h"

#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "settings/Settings.h"

#include <algorithm>

DataHDR::DataHDR(Settings* settings, QObject* parent) : QObject(parent), settings(settings)
{
    for (DataPixelfield*& part : parts)
        part = new DataPixelfield(settings, this);
}

DataHDR::~DataHDR()
{
    ZTRACE() << "***DataHDR destroyed";
}

int DataHDR::partIndex(int index)
{
    return std::clamp(index, 0, 3);
}

int** DataHDR::partData(int index) const
{
    return parts[size_t(partIndex(index))]->data();
}

int DataHDR::partValue(int index, int column, int row) const
{
    const DataPixelfield* field = parts[size_t(partIndex(index))];
    return field->contains(column, row) ? field->value(column, row) : DataPixelfield::kNoData;
}

DataPixelfield* DataHDR::partField(int index) const
{
    return parts[size_t(partIndex(index))];
}

int** DataHDR::amplitudeData() const
{
    return parts[kAmplitudePart]->data();
}

void DataHDR::updateData(QByteArray& data)
{
    split(data);
    for (size_t i = 0; i < rowBuffers.size(); ++i)
        parts[i]->updateData(rowBuffers[i]);
    parts[kAmplitudePart]->updateData(amplitudeBytes);
    emit finished();
}

void DataHDR::split(const QByteArray& data)
{
    const int n = data.size();
    const int half = n / 2;
    amplitudeBytes.resize(half);
    std::copy(data.constData() + half, data.constData() + 2 * half, amplitudeBytes.data());
    for (QByteArray& buffer : rowBuffers)
        buffer.resize(0);

    const SettingsROI* roi = settings->roi();
    const int width = roi->x2() - roi->x1() + 1;
    if (width <= 0)
        return;
    // Q payload rows of one ROI width in bytes; R rows of 2 bytes a pixel in one image.
    const int q = n / width;
    if (q < 4)
        return;
    const int rowCount = q / 4;
    const int rowBytes = 2 * width;
    const char* payload = data.constData();
    const int chip = settings->chipType();
    const bool singleBlock = chip == 4 || chip == 5;
    // The centre-split sensors read the upper half from the centre line outwards: the parity
    // of the two integration times turns there.
    const int upperRows = singleBlock ? rowCount : q / 8;
    for (QByteArray& buffer : rowBuffers)
        buffer.reserve(rowCount * rowBytes + rowBytes);
    for (int i = 0; i < rowCount; ++i) {
        const char* row = payload + size_t(i) * size_t(rowBytes);
        const bool odd = i % 2 != 0;
        const bool toFirst = i < upperRows ? odd : !odd;
        QByteArray& target = rowBuffers[toFirst ? 0 : 1];
        target.append(row, rowBytes);
        target.append(row, rowBytes);
        rowBuffers[2].append(row, rowBytes);
        rowBuffers[3].append(row, rowBytes);
    }
    // With an odd row count one half-image gets a row pair more than the frame has rows: it
    // would spill beyond the ROI (and shift the lower half of a centre-split image).
    const int imageBytes = rowCount * rowBytes;
    for (int i = 0; i < 2; ++i) {
        if (rowBuffers[size_t(i)].size() > imageBytes)
            rowBuffers[size_t(i)].resize(imageBytes);
    }
}
