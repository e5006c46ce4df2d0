#pragma once

#include <QPointF>
#include <QVector>

#include <cstdint>

// The pixel scope's moving window: the values of the last `length` frames of the scope's
// rectangle, their per-pixel averages, the overall average and the extremes. A frame of a
// different pixel count restarts the window. Frames are kept in a ring whose slots are
// reused, so a filled window allocates nothing per frame.
class MovingWindow final
{
public:
    uint8_t length() const { return windowLength; }
    // Keeps the low 8 bits of `n`; drops the oldest frames beyond the new length.
    void setLength(int n);
    void append(const QVector<int>& values);
    // Per-pixel averages (rounded half up), overall average, minimum and maximum.
    void compute();
    // The step points of the averages: (-0.5, averages[0]), then (i + 0.5, averages[i]).
    void series(QVector<QPointF>& points) const;
    void clear();

    int frameCount() const { return held; }
    int pixelCount() const { return pixels; }
    const QVector<int>& averages() const { return pixelAverages; }
    int overallAverage() const { return overall; }
    int minimum() const { return smallest; }
    int maximum() const { return largest; }

private:
    const QVector<int>& frame(int age) const;
    void dropOldest(int count);

    uint8_t windowLength = 10;
    int pixels = 0;
    // Ring of frames: slot (first + i) % slots is the i-th oldest of `held` frames.
    QVector<QVector<int>> ring;
    int first = 0;
    int held = 0;
    QVector<int> pixelAverages;
    int overall = 0;
    int smallest = 0;
    int largest = 0;
};
