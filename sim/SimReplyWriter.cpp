#include "sim/SimReplyWriter.h"

#include "sim/SimFrameReport.h"

#include <cstring>

namespace {
void append16(QByteArray& out, int value)
{
    const auto v = static_cast<quint16>(value);
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void append32(QByteArray& out, qint32 value)
{
    const auto v = static_cast<quint32>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((v >> shift) & 0xFF));
}
} // namespace

namespace SimReplyWriter {
QByteArray int16(int value)
{
    QByteArray out;
    append16(out, value);
    return out;
}

QByteArray int16List(const QVector<qint16>& values)
{
    QByteArray out;
    out.reserve(2 * values.size());
    for (qint16 v : values)
        append16(out, v);
    return out;
}

QByteArray int32List(const QVector<int>& values)
{
    QByteArray out;
    out.reserve(4 * values.size());
    for (int v : values)
        append32(out, v);
    return out;
}

QByteArray float64(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray out;
    for (int shift = 0; shift < 64; shift += 8)
        out.append(static_cast<char>((bits >> shift) & 0xFF));
    return out;
}

QByteArray pointList(const QVector<QPoint>& points)
{
    QByteArray out;
    out.reserve(4 * points.size());
    for (const QPoint& p : points) {
        append16(out, p.x());
        append16(out, p.y());
    }
    return out;
}

QByteArray frameReport(const SimFrameReport& report)
{
    QByteArray out;
    out.reserve(12 + 4 * report.values.size());
    append32(out, report.images);
    append32(out, report.columns);
    append32(out, report.rows);
    for (qint32 v : report.values)
        append32(out, v);
    return out;
}
} // namespace SimReplyWriter
