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

double StatisticsBuffer::mean() const
{
    if (held < 2)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < held; ++i)
        sum += at(i);
    return sum / held;
}

double StatisticsBuffer::minimum() const
{
    if (held < 2)
        return 0.0;
    double smallest = at(0);
    for (int i = 1; i < held; ++i)
        smallest = std::min(smallest, at(i));
    return smallest;
}

double StatisticsBuffer::maximum() const
{
    if (held < 2)
        return 0.0;
    double largest = at(0);
    for (int i = 1; i < held; ++i)
        largest = std::max(largest, at(i));
    return largest;
}

double StatisticsBuffer::standardDeviation() const
{
    if (held < 2)
        return 0.0;
    // Two passes: the deviations from the exact mean keep σ exact for large, close values
    // (distances of several metres that vary by a few millimetres).
    const double m = mean();
    double squares = 0.0;
    for (int i = 0; i < held; ++i) {
        const double d = at(i) - m;
        squares += d * d;
    }
    return std::sqrt(squares / (held - 1));
}
