#include "render/EdgeFilter.h"

#include "app/Trace.h"
#include "render/FilterRegion.h"
#include "settings/Settings.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// |a - b| without overflow for any two entries; steps beyond INT_MAX count as INT_MAX.
inline int stepSize(int a, int b)
{
    const unsigned hi = static_cast<unsigned>(std::max(a, b));
    const unsigned lo = static_cast<unsigned>(std::min(a, b));
    return static_cast<int>(std::min(hi - lo, static_cast<unsigned>(INT_MAX)));
}

} // namespace

EdgeFilter::EdgeFilter(Settings* settings)
    : m_settings(settings), m_first(settings), m_second(settings), m_third(settings)
{
}

EdgeFilter::~EdgeFilter()
{
    ZTRACE() << "***EdgeFilter destroyed";
}

int EdgeFilter::threshold() const
{
    const int value = m_settings->edgeDetectionThreshold(true);
    const SettingsModulation* modulation = m_settings->modulation();
    const int first = modulation->frequencyHz(0);
    const int current = modulation->currentFrequencyHz();
    // A frequency list the camera filled with a zero (or none at all, where the hub falls
    // back to the base frequency for both) leaves the threshold as set.
    if (first <= 0 || current <= 0)
        return value;
    const double scaled = std::trunc(static_cast<double>(value) * current / first);
    return static_cast<int>(std::clamp(scaled, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

void EdgeFilter::detectEdges(DataPixelfield& distance, const DataPixelfield& amplitude)
{
    Q_UNUSED(amplitude)
    if (!m_settings->edgeDetection())
        return;
    // The working fields take the connected chip's sensor size; the region is cut to the
    // smallest of the fields so no pass leaves one.
    m_first.fitToSensor();
    m_second.fitToSensor();
    m_third.fitToSensor();
    const int columns = std::min({distance.width(), m_first.width(), m_second.width()});
    const int rows = std::min({distance.height(), m_first.height(), m_second.height()});
    const SettingsROI* roi = m_settings->roi();
    const FilterRegion region =
        FilterRegion::clamped(roi->x1(), roi->x2(), roi->y1(), roi->y2(), columns, rows);
    if (region.isEmpty())
        return;
    const int lastColumn = region.x2 - 1;
    const int lastRow = region.y2 - 1;
    const int t = threshold();
    const int marker = m_settings->settings3D()->distanceMin();
    int** field = distance.data();
    // Both passes step over the pixels before the last ROI column and row: none in a ROI one
    // column wide or one row high.
    if (lastColumn < region.x1 || lastRow < region.y1)
        return;

    // Each step reads only the pixel it may overwrite and the next one, and the overwrite comes
    // after both reads, so all step sizes of a pass can be taken before any pixel changes.
    // The run counter then reaches 2 exactly where a large step follows a large step in the
    // pass's order, which is what the loops below test, without a counter to carry along.
    int** vertical = m_second.data();
    bool previousLarge = false; // the pass's first step has no predecessor
    for (int c = region.x1; c <= lastColumn; ++c) {
        int* __restrict column = field[c];
        int* __restrict steps = vertical[c];
        for (int r = region.y1; r <= lastRow; ++r)
            steps[r] = stepSize(column[r], column[r + 1]);
        // The run goes on from the bottom of the previous column.
        if (previousLarge && steps[region.y1] > t)
            column[region.y1] = marker;
        for (int r = region.y1 + 1; r <= lastRow; ++r)
            column[r] = ((steps[r] > t) & (steps[r - 1] > t)) ? marker : column[r];
        previousLarge = steps[lastRow] > t;
    }

    // The horizontal steps see the values the vertical pass wrote.
    int** horizontal = m_first.data();
    for (int c = region.x1; c <= lastColumn; ++c) {
        const int* __restrict column = field[c];
        const int* __restrict next = field[c + 1];
        int* __restrict steps = horizontal[c];
        for (int r = region.y1; r <= lastRow; ++r)
            steps[r] = stepSize(column[r], next[r]);
    }
    // Rows are walked left to right, so the first column's predecessor is the last step of
    // the row above.
    {
        int* __restrict column = field[region.x1];
        const int* __restrict steps = horizontal[region.x1];
        const int* __restrict above = horizontal[lastColumn];
        for (int r = region.y1 + 1; r <= lastRow; ++r)
            column[r] = ((steps[r] > t) & (above[r - 1] > t)) ? marker : column[r];
    }
    for (int c = region.x1 + 1; c <= lastColumn; ++c) {
        int* __restrict column = field[c];
        const int* __restrict steps = horizontal[c];
        const int* __restrict before = horizontal[c - 1];
        for (int r = region.y1; r <= lastRow; ++r)
            column[r] = ((steps[r] > t) & (before[r] > t)) ? marker : column[r];
    }
}
