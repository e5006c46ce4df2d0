#include "measurement/StatisticsBuffer.h"

#include <algorithm>
#include <cmath>

StatisticsBuffer::StatisticsBuffer(int limit) : ring(std::max(limit, 1), 0.0)
{
}

void StatisticsBuffer::append(double value)
{
    const int size = ring.size();
    if (held < size) {
        ring[(first + held) % size] = value;
        ++held;
        return;
    }
    ring[first] = value;
    first = (first + 1) % size;
}

void StatisticsBuffer::clear()
{
    first = 0;
    held = 0;
}

double StatisticsBuffer::at(int i) const
{
    return ring.at((first + i) % ring.size());
}

StatisticsBuffer::Summary StatisticsBuffer::summary() const
{
    Summary result;
    if (held < 2)
        return result;
    // The held samples, oldest first, lie in at most two runs of the ring; summing in that
    // order gives the same figures whatever the ring's start.
    const int size = ring.size();
    const double* data = ring.constData();
    const int firstRun = std::min(held, size - first);
    auto eachSample = [&](auto&& use) {
        for (int i = first; i < first + firstRun; ++i)
            use(data[i]);
        for (int i = 0; i < held - firstRun; ++i)
            use(data[i]);
    };
    double sum = 0.0;
    result.minimum = data[first];
    result.maximum = data[first];
    eachSample([&](double v) {
        sum += v;
        result.minimum = std::min(result.minimum, v);
        result.maximum = std::max(result.maximum, v);
    });
    result.mean = sum / held;
    // Deviations from the exact mean keep σ exact for large, close values (distances of
    // several metres that vary by a few millimetres).
    double squares = 0.0;
    eachSample([&](double v) {
        const double d = v - result.mean;
        squares += d * d;
    });
    result.standardDeviation = std::sqrt(squares / (held - 1));
    return result;
}

double StatisticsBuffer::mean() const
{
    return summary().mean;
}

double StatisticsBuffer::minimum() const
{
    return summary().minimum;
}

double StatisticsBuffer::maximum() const
{
    return summary().maximum;
}

double StatisticsBuffer::standardDeviation() const
{
    return summary().standardDeviation;
}
