#pragma once

#include <QPoint>
#include <QVector>

#include <cstdint>

class QByteArray;

// Reading the server's replies. Every number is little-endian and read from the start of the
// reply; a reply that is too short reads as zeros where values are missing, a trailing partial
// value of a list read "until exhausted" is ignored.
namespace Replies {

// Fixed lengths of the list replies.
constexpr int chipInfoCount = 8;                   // "getChipInfo"
constexpr int registerCount = 256;                 // "dumpAllRegisters": registers 0x00 to 0xFF
constexpr int temperatureCount = 6;                // "getTemperature"
constexpr int drnuTableCount = 100;                // "showDRNU", "renewDRNU"
constexpr int drnuTableMinBytes = 100;             // shorter DRNU replies are ignored
constexpr int drnuTableBytes = 2 * drnuTableCount; // a complete table

// Positions in the "getChipInfo" reply.
enum ChipInfo
{
    IcType,
    IcVersion,
    CustomerId,
    WaferId,
    ChipId,
    PartType,
    PartVersion,
    SequencerVersion
};

// The first two bytes as a signed 16-bit value; 0 when fewer than two bytes arrived.
qint16 int16(const QByteArray& reply);
// The first eight bytes as an IEEE 754 double; 0 when fewer than eight bytes arrived.
double doubleValue(const QByteArray& reply);
// The first byte, non-zero meaning true; an empty reply is false ("is...Available").
bool flag(const QByteArray& reply);

// Exactly count signed 16-bit values into out; values past the end of the reply are 0.
// Allocates nothing, for the temperature poll after every frame.
void readInt16List(const QByteArray& reply, qint16* out, int count);
// Exactly count signed 16-bit values; values past the end of the reply are 0.
QVector<qint16> int16List(const QByteArray& reply, int count);
// Signed 16-bit values until the reply is exhausted (console replies).
QVector<qint16> int16List(const QByteArray& reply);
// Signed 32-bit values until the reply is exhausted.
QVector<qint32> int32List(const QByteArray& reply);
// Pairs (x, y) of signed 16-bit values until the reply is exhausted.
QVector<QPoint> pointList(const QByteArray& reply);

// Readers of the individual commands' replies.
QVector<qint16> chipInfo(const QByteArray& reply);              // 8 values, ChipInfo order
QVector<qint16> registers(const QByteArray& reply);             // 256 values, low byte = content
void temperatures(const QByteArray& reply, qint16* out);        // 6 values
QVector<qint32> modulationFrequencies(const QByteArray& reply); // kHz, position = index
QVector<QPoint> badPixels(const QByteArray& reply);             // (column, row)
// The DRNU table: false (table untouched) when the reply holds fewer than 100 bytes,
// otherwise 100 values into table, zeros past the end of the reply.
bool drnuTable(const QByteArray& reply, int16_t* table);
// The DRNU table for the console: false (table untouched) unless the reply holds all 100
// values; a cut-off table would show zeros as corrections.
bool completeDrnuTable(const QByteArray& reply, int16_t* table);
// Console status: true when any value of the reply is -1.
bool reportsFailure(const QByteArray& reply);
// The IC version: the low 8 bits of the "getIcVersion" reply.
int icVersion(const QByteArray& reply);

} // namespace Replies
