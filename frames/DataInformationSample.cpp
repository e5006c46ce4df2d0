#include "frames/DataInformationSample.h"

#include "app/Trace.h"
#include "frames/DataPixelfield.h"

#include <cstring>

namespace {

void copyInto(QByteArray& target, const char* source, int size)
{
    target.resize(size);
    if (size > 0)
        std::memcpy(target.data(), source, size_t(size));
}

} // namespace

DataInformationSample::DataInformationSample(Settings* settings, QObject* parent)
    : QObject(parent)
    , m_distanceRaw(new DataPixelfield(settings, this))
    , m_amplitudeRaw(new DataPixelfield(settings, this))
    , m_distance(new DataPixelfield(settings, this))
    , m_amplitude(new DataPixelfield(settings, this))
{
}

DataInformationSample::~DataInformationSample()
{
    ZTRACE() << "***DataInformationSample destroyed";
}

int** DataInformationSample::distanceData(bool raw) const
{
    return distanceField(raw)->data();
}

int** DataInformationSample::amplitudeData(bool raw) const
{
    return amplitudeField(raw)->data();
}

int DataInformationSample::distanceValue(int column, int row) const
{
    return m_distance->value(column, row);
}

int DataInformationSample::amplitudeValue(int column, int row) const
{
    return m_amplitude->value(column, row);
}

void DataInformationSample::updateData(QByteArray& data)
{
    // Two halves of size / 2 bytes each; the last byte of an odd-length payload is ignored.
    const int half = data.size() / 2;
    copyInto(m_distanceBytes, data.constData(), half);
    copyInto(m_amplitudeBytes, data.constData() + half, half);
    m_distance->updateData(m_distanceBytes);
    m_amplitude->updateData(m_amplitudeBytes);
    m_distanceRaw->fitToSensor();
    m_amplitudeRaw->fitToSensor();
    m_distanceRaw->copyFrom(*m_distance);
    m_amplitudeRaw->copyFrom(*m_amplitude);
    emit finished();
}
