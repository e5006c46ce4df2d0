#pragma once

#include <algorithm>

// The inclusive ROI x1 ... x2, y1 ... y2 of a filter call, cut to the pixel field it works on.
// A ROI loaded from a file may reach past the sensor; the filters then stay inside the
// field. The region is empty (first > last) when nothing of the ROI lies on the field.
struct FilterRegion final
{
    int x1 = 0;
    int x2 = -1;
    int y1 = 0;
    int y2 = -1;

    static FilterRegion clamped(int x1, int x2, int y1, int y2, int columns, int rows)
    {
        FilterRegion region;
        region.x1 = std::max(x1, 0);
        region.x2 = std::min(x2, columns - 1);
        region.y1 = std::max(y1, 0);
        region.y2 = std::min(y2, rows - 1);
        return region;
    }

    bool isEmpty() const { return x1 > x2 || y1 > y2; }
    bool contains(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
};
