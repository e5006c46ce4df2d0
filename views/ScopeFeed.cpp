#include "views/ScopeFeed.h"

#include "frames/DataPixelfield.h"
#include "measurement/InfoPixelScope.h"

#include <algorithm>
#include <climits>

namespace ScopeFeed {

void feed(InfoPixelScope& scope, const DataPixelfield& field, QVector<int>& values,
          const std::function<int(int)>& convert)
{
    values.resize(0);
    int smallestPositive = INT_MAX;
    int largest = INT_MIN;
    qint64 sum = 0;
    for (int column = scope.topLeftX(); column <= scope.bottomRightX(); ++column) {
        for (int row = scope.topLeftY(); row <= scope.bottomRightY(); ++row) {
            int v = DataPixelfield::kNoData;
            if (field.contains(column, row))
                v = convert ? convert(field.value(column, row)) : field.value(column, row);
            values.append(v);
            if (v > 0)
                smallestPositive = std::min(smallestPositive, v);
            largest = std::max(largest, v);
            sum += v;
        }
    }
    if (!scope.isMovingWindowEnabled() && !values.isEmpty()) {
        const int minimum = scope.getMinimum();
        // A minimum of 0 is the scope's reset state: the first frame sets it.
        const int overTime = minimum > 0 ? std::min(minimum, smallestPositive) : smallestPositive;
        scope.setMinimum(overTime == INT_MAX ? 0 : overTime);
        scope.setMaximum(std::max(scope.getMaximum(), largest));
        scope.setAverage(int(sum / values.size()));
    }
    scope.setData(values);
}

} // namespace ScopeFeed
