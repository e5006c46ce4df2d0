#pragma once

#include <QVector>

// A moving window of pixel samples: the last `limit` values appended, oldest first, with
// their mean, extremes and sample standard deviation. The pixel windows keep one per shown
// quantity; the samples live in a ring allocated once, so appending never allocates.
class StatisticsBuffer final
{
public:
    explicit StatisticsBuffer(int limit);

    // Adds a sample; past `limit` samples the oldest one is dropped.
    void append(double value);
    void clear();

    int limit() const { return ring.size(); }
    int count() const { return held; }
    // The i-th sample held, 0 the oldest.
    double at(int i) const;

    // The four figures a pixel window shows, each 0 while fewer than 2 samples are held.
    struct Summary
    {
        double mean = 0.0;
        double minimum = 0.0;
        double maximum = 0.0;
        double standardDeviation = 0.0;
    };
    // All four in two passes over the samples (a window shows them together on every frame).
    Summary summary() const;

    // Each is 0 while fewer than 2 samples are held.
    double mean() const;
    double minimum() const;
    double maximum() const;
    // Square root of the summed squared deviations from the mean over n - 1.
    double standardDeviation() const;

private:
    QVector<double> ring;
    int first = 0;
    int held = 0;
};
