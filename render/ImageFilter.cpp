#include "render/ImageFilter.h"

#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "render/FilterRegion.h"
#include "settings/ConfigBounds.h"
#include "settings/Settings.h"

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstring>

// The view panel, the configuration loader and the filter agree on the largest median.
static_assert(MedianKernel::kMaxSize == ConfigBounds::medianSize.max);

namespace {

FilterRegion roiOn(const Settings* settings, int columns, int rows)
{
    const SettingsROI* roi = settings->roi();
    return FilterRegion::clamped(roi->x1(), roi->x2(), roi->y1(), roi->y2(), columns, rows);
}

} // namespace

ImageFilter::ImageFilter(Settings* settings) : m_settings(settings)
{
}

ImageFilter::~ImageFilter()
{
    ZTRACE() << "***ImageFilter destroyed";
}

int ImageFilter::boundedIterations(int iterations)
{
    return std::clamp(iterations, 0, kMaxIterations);
}

void ImageFilter::replaceBadPixels(DataPixelfield& field)
{
    replaceBadPixels(field.data(), field.width(), field.height());
}

void ImageFilter::replaceBadPixels(int** field, int columns, int rows)
{
    if (!m_settings || !field)
        return;
    const FilterRegion roi = roiOn(m_settings, columns, rows);
    if (roi.isEmpty())
        return;
    for (const QPoint& p : m_settings->calibration()->badPixels()) {
        const int x = p.x();
        const int y = p.y();
        if (!roi.contains(x, y))
            continue;
        if (x > roi.x1)
            field[x][y] = field[x - 1][y];
        else if (y > roi.y1)
            field[x][y] = field[x][y - 1];
        else if (roi.x1 < roi.x2)
            field[x][y] = field[x + 1][y];
        // The top pixel of a one-column ROI has no neighbour inside it.
    }
}

void ImageFilter::paintBadPixels(QImage& image, const QColor& color) const
{
    if (!m_settings || image.isNull())
        return;
    for (const QPoint& p : m_settings->calibration()->badPixels()) {
        if (image.valid(p))
            image.setPixelColor(p, color);
    }
}

void ImageFilter::median(DataPixelfield& field)
{
    if (!m_settings || !m_settings->medianFilter())
        return;
    const int size = MedianKernel::boundedSize(m_settings->medianFilterSize());
    const int iterations = boundedIterations(m_settings->medianFilterIterations());
    const SettingsROI* roi = m_settings->roi();
    // The kernel gives every pass the field as it was before the pass, cuts the ROI to the
    // field and leaves the pixels nearer than size / 2 to a sensor edge alone.
    for (int i = 0; i < iterations; ++i)
        m_medianKernel.apply(field.cells(), field.width(), field.height(), roi->x1(), roi->x2(), roi->y1(),
                             roi->y2(), size);
}

void ImageFilter::gauss3x3(DataPixelfield& field, bool enabled, int iterations)
{
    if (!m_settings || !enabled || iterations <= 0)
        return;
    iterations = boundedIterations(iterations);
    const int columns = field.width();
    const int rows = field.height();
    const FilterRegion roi = roiOn(m_settings, columns, rows);
    // Only the ROI interior changes; a ROI less than three wide or high has none.
    const int c0 = roi.x1 + 1;
    const int c1 = roi.x2 - 1;
    const int r0 = roi.y1 + 1;
    const int r1 = roi.y2 - 1;
    if (c0 > c1 || r0 > r1)
        return;
    const std::size_t cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    if (m_gaussWork.size() < cells)
        m_gaussWork.resize(cells);

    // The raw distanceMin number against raw field values, as the camera's own filter does.
    const int minimum = m_settings->settings3D()->distanceMin();
    int* const data = field.cells();
    const int n = r1 - r0 + 1;
    for (int iteration = 0; iteration < iterations; ++iteration) {
        for (int c = c0; c <= c1; ++c) {
            const int* __restrict west = data + static_cast<std::ptrdiff_t>(c - 1) * rows + r0;
            const int* __restrict centre = west + rows;
            const int* __restrict east = centre + rows;
            int* __restrict out = m_gaussWork.data() + static_cast<std::ptrdiff_t>(c) * rows + r0;
            for (int i = 0; i < n; ++i) {
                const int nw = west[i - 1];
                const int w = west[i];
                const int sw = west[i + 1];
                const int no = centre[i - 1];
                const int ce = centre[i];
                const int so = centre[i + 1];
                const int ne = east[i - 1];
                const int e = east[i];
                const int se = east[i + 1];
                const int largest = std::max({nw, w, sw, no, ce, so, ne, e, se});
                const int sum = nw + 2 * no + ne + 2 * w + 4 * ce + 2 * e + sw + 2 * so + se;
                // Arithmetic shift: negative (no-data) sums round down like the division.
                const bool smooth = largest < kFirstStatusCode && nw > minimum;
                out[i] = smooth ? (sum >> 4) : ce;
            }
        }
        // Written back only after the whole pass, so every window saw the previous pass.
        for (int c = c0; c <= c1; ++c) {
            const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(c) * rows + r0;
            std::memcpy(data + offset, m_gaussWork.data() + offset,
                        static_cast<std::size_t>(n) * sizeof(int));
        }
    }
}

void ImageFilter::mergeHdrRows(DataPixelfield& deciding, DataPixelfield* following)
{
    if (m_settings && m_settings->distanceCalculation()->amplitudeHdr())
        combineHdrRows(deciding, following);
}

void ImageFilter::combineHdrRows(DataPixelfield& deciding, DataPixelfield* following)
{
    if (!m_settings)
        return;
    int columns = deciding.width();
    int rows = deciding.height();
    if (following) {
        columns = std::min(columns, following->width());
        rows = std::min(rows, following->height());
    }
    combineRows(deciding.data(), following ? following->data() : nullptr, columns, rows);
}

void ImageFilter::mergeHdrRows(int** deciding, int** following, int columns, int rows)
{
    if (m_settings && m_settings->distanceCalculation()->amplitudeHdr())
        combineRows(deciding, following, columns, rows);
}

void ImageFilter::combineRows(int** deciding, int** following, int columns, int rows)
{
    if (!deciding)
        return;
    const FilterRegion roi = roiOn(m_settings, columns, rows);
    if (roi.isEmpty())
        return;
    constexpr int limit = kHdrAmplitudeLimit;
    for (int c = roi.x1; c <= roi.x2; ++c) {
        int* d = deciding[c];
        int* f = following ? following[c] : nullptr;
        // The ROI keeps even top and odd bottom rows, so its pairs cover it; a ROI from a
        // file with an odd height ends on a pair whose second row is the next field row, or
        // on a lone last row of the field, which stays as it is.
        for (int y = roi.y1; y <= roi.y2 && y + 1 < rows; y += 2) {
            const int a = d[y];
            const int b = d[y + 1];
            bool second;
            if (a < limit && b < limit)
                second = a < b;
            else if (a >= limit && b <= limit)
                second = true;
            else if (a <= limit && b >= limit)
                second = false;
            else
                second = !(a > b);
            const int taken = second ? y + 1 : y;
            const int value = d[taken];
            d[y] = value;
            d[y + 1] = value;
            if (f) {
                const int followingValue = f[taken];
                f[y] = followingValue;
                f[y + 1] = followingValue;
            }
        }
    }
}
