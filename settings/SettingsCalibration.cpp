#include "settings/SettingsCalibration.h"

#include "app/Trace.h"

#include <QByteArray>

namespace {

// Little-endian int16 at offset; 0 when the data ends before both bytes.
qint16 readInt16(const QByteArray& bytes, int offset)
{
    if (offset + 1 >= bytes.size())
        return 0;
    const auto low = quint8(bytes.at(offset));
    const auto high = quint8(bytes.at(offset + 1));
    return qint16(quint16(low | (high << 8)));
}

} // namespace

SettingsCalibration::SettingsCalibration(QObject* parent) : QObject(parent)
{
}

SettingsCalibration::~SettingsCalibration()
{
    ZTRACE() << "***SettingsCalibration destroyed";
}

void SettingsCalibration::setPixelInterpolation(bool state)
{
    m_pixelInterpolation = state;
    emit pixelInterpolationChanged(state);
}

void SettingsCalibration::setFov(int value)
{
    m_fov = value;
    emit updateFOV(value);
}

void SettingsCalibration::setBadPixels(const QByteArray& bytes)
{
    for (int offset = 0; offset < bytes.size(); offset += 4) {
        const int x = readInt16(bytes, offset);
        const int y = readInt16(bytes, offset + 2);
        ZTRACE() << "SettingsCalibration::setBadPixels" << x << y;
        m_badPixels.append(QPoint(x, y));
    }
}
