#pragma once

#include <QByteArray>
#include <QPoint>
#include <QVector>

struct SimFrameReport;

// Little-endian reply layouts of the camera protocol.
namespace SimReplyWriter {
QByteArray int16(int value);
QByteArray int16List(const QVector<qint16>& values);
QByteArray int32List(const QVector<int>& values);
QByteArray float64(double value);
// Pairs (column, row) of signed 16-bit values.
QByteArray pointList(const QVector<QPoint>& points);
// "sim.lastFrame": int32 images, columns, rows, then images x rows x columns int32 values,
// image by image, row by row.
QByteArray frameReport(const SimFrameReport& report);
} // namespace SimReplyWriter
