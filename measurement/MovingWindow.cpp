#include "measurement/MovingWindow.h"

#include <algorithm>
#include <cmath>

const QVector<int>& MovingWindow::frame(int age) const
{
    return ring.at((first + age) % ring.size());
}

void MovingWindow::dropOldest(int count)
{
    count = std::min(count, held);
    if (count <= 0)
        return;
    first = (first + count) % ring.size();
    held -= count;
}

void MovingWindow::setLength(int n)
{
    windowLength = uint8_t(n);
    dropOldest(held - windowLength);
    // Re-pack the kept frames at the front of a ring of the new size.
    QVector<QVector<int>> packed;
    packed.reserve(std::max(1, int(windowLength)));
    for (int i = 0; i < held; ++i)
        packed.append(frame(i));
    packed.resize(std::max(1, int(windowLength)));
    ring.swap(packed);
    first = 0;
}

void MovingWindow::append(const QVector<int>& values)
{
    if (values.size() != pixels) {
        clear();
        pixels = values.size();
        pixelAverages.fill(0, pixels);
    }
    const int slots = std::max(1, int(windowLength));
    if (ring.size() != slots) {
        ring.resize(slots);
        first = 0;
        held = std::min(held, slots);
    }
    if (held == slots)
        dropOldest(1);
    QVector<int>& slot = ring[(first + held) % slots];
    slot.resize(values.size());
    std::copy(values.cbegin(), values.cend(), slot.begin());
    ++held;
}

void MovingWindow::compute()
{
    overall = 0;
    smallest = 65000;
    largest = 0;
    if (held == 0 || pixels == 0)
        return;
    double sumOfAverages = 0;
    for (int i = 0; i < pixels; ++i) {
        int sum = 0;
        for (int f = 0; f < held; ++f) {
            const int v = frame(f).at(i);
            sum += v;
            smallest = std::min(smallest, v);
            largest = std::max(largest, v);
        }
        pixelAverages[i] = int(double(sum) / held + 0.5);
        sumOfAverages += pixelAverages[i];
    }
    overall = int(std::lround(sumOfAverages / pixels));
}

void MovingWindow::series(QVector<QPointF>& points) const
{
    points.resize(0);
    if (pixelAverages.isEmpty())
        return;
    points.append(QPointF(-0.5, pixelAverages.at(0)));
    for (int i = 0; i < pixelAverages.size(); ++i)
        points.append(QPointF(i + 0.5, pixelAverages.at(i)));
}

void MovingWindow::clear()
{
    first = 0;
    held = 0;
    pixels = 0;
}
