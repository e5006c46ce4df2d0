#include "link/Replies.h"

#include <QByteArray>
#include <QtEndian>

#include <cstring>

namespace Replies {

qint16 int16(const QByteArray& reply)
{
    if (reply.size() < 2)
        return 0;
    return qFromLittleEndian<qint16>(reply.constData());
}

double doubleValue(const QByteArray& reply)
{
    if (reply.size() < 8)
        return 0.0;
    const quint64 bits = qFromLittleEndian<quint64>(reply.constData());
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool flag(const QByteArray& reply)
{
    return !reply.isEmpty() && reply.at(0) != 0;
}

void readInt16List(const QByteArray& reply, qint16* out, int count)
{
    const int complete = qMin(count, reply.size() / 2);
    const char* data = reply.constData();
    for (int i = 0; i < complete; ++i)
        out[i] = qFromLittleEndian<qint16>(data + 2 * i);
    for (int i = qMax(complete, 0); i < count; ++i)
        out[i] = 0;
}

QVector<qint16> int16List(const QByteArray& reply, int count)
{
    QVector<qint16> values(qMax(count, 0));
    readInt16List(reply, values.data(), values.size());
    return values;
}

QVector<qint16> int16List(const QByteArray& reply)
{
    return int16List(reply, reply.size() / 2);
}

QVector<qint32> int32List(const QByteArray& reply)
{
    QVector<qint32> values(reply.size() / 4);
    for (int i = 0; i < values.size(); ++i)
        values[i] = qFromLittleEndian<qint32>(reply.constData() + 4 * i);
    return values;
}

QVector<QPoint> pointList(const QByteArray& reply)
{
    QVector<QPoint> points(reply.size() / 4);
    for (int i = 0; i < points.size(); ++i) {
        const char* pair = reply.constData() + 4 * i;
        points[i] = QPoint(qFromLittleEndian<qint16>(pair), qFromLittleEndian<qint16>(pair + 2));
    }
    return points;
}

QVector<qint16> chipInfo(const QByteArray& reply)
{
    return int16List(reply, chipInfoCount);
}

QVector<qint16> registers(const QByteArray& reply)
{
    return int16List(reply, registerCount);
}

void temperatures(const QByteArray& reply, qint16* out)
{
    readInt16List(reply, out, temperatureCount);
}

QVector<qint32> modulationFrequencies(const QByteArray& reply)
{
    return int32List(reply);
}

QVector<QPoint> badPixels(const QByteArray& reply)
{
    return pointList(reply);
}

bool drnuTable(const QByteArray& reply, int16_t* table)
{
    if (reply.size() < drnuTableMinBytes)
        return false;
    readInt16List(reply, table, drnuTableCount);
    return true;
}

bool completeDrnuTable(const QByteArray& reply, int16_t* table)
{
    if (reply.size() < drnuTableBytes)
        return false;
    readInt16List(reply, table, drnuTableCount);
    return true;
}

bool reportsFailure(const QByteArray& reply)
{
    const int count = reply.size() / 2;
    for (int i = 0; i < count; ++i) {
        if (qFromLittleEndian<qint16>(reply.constData() + 2 * i) == -1)
            return true;
    }
    return false;
}

int icVersion(const QByteArray& reply)
{
    return int16(reply) & 0xFF;
}

} // namespace Replies
