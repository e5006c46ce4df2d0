#include "views/PointCloudGeometry.h"

#include "frames/DataPixelfield.h"
#include "render/DistanceLabeler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
int readAt(const DataPixelfield& field, int column, int row)
{
    return field.contains(column, row) ? field.value(column, row) : DataPixelfield::kNoData;
}
} // namespace

void PointCloudGeometry::reserve(int columns, int rows)
{
    const size_t count = size_t(std::max(columns, 1)) * size_t(std::max(rows, 1));
    m_distance.reserve(count);
    m_amplitude.reserve(count);
    m_cartesian.reserve(count);
    m_vertices.reserve(count);
    m_triangles.reserve(2 * count);
}

void PointCloudGeometry::extract(const DataPixelfield& distance, const DataPixelfield& amplitude, int x1,
                                 int y1, int width, int height, bool horizontalFlip, bool verticalFlip)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    const size_t count = size_t(m_width) * size_t(m_height);
    m_distance.resize(count);
    m_amplitude.resize(count);
    for (int i = 0; i < m_height; ++i) {
        const int row = y1 + (verticalFlip ? i : m_height - 1 - i);
        int* distanceRow = m_distance.data() + size_t(i) * size_t(m_width);
        int* amplitudeRow = m_amplitude.data() + size_t(i) * size_t(m_width);
        for (int j = 0; j < m_width; ++j) {
            const int column = x1 + (horizontalFlip ? j : m_width - 1 - j);
            distanceRow[j] = readAt(distance, column, row);
            amplitudeRow[j] = readAt(amplitude, column, row);
        }
    }
}

double PointCloudGeometry::angularStep(double fovDegrees, int width)
{
    const int half = width / 2;
    return half > 0 ? fovDegrees * kPi / 360.0 / half : 0.0;
}

PointCloudGeometry::MmConverter::MmConverter(DistanceLabeler& labeler) : rangeMm(labeler.updateRangeMm())
{
}

int PointCloudGeometry::MmConverter::operator()(int lsb) const
{
    if (lsb < 0)
        return -1;
    const double mm = std::trunc(lsb * double(rangeMm) / DistanceLabeler::kFullScale);
    return mm <= rangeMm ? int(mm) : -1;
}

void PointCloudGeometry::computeCartesian(double fovDegrees, DistanceLabeler& labeler)
{
    const MmConverter toMm(labeler);
    const double step = angularStep(fovDegrees, m_width);
    const int centreColumn = m_width / 2;
    const int centreRow = m_height / 2;
    m_cartesian.resize(size_t(m_width) * size_t(m_height));
    for (int j = 0; j < m_width; ++j) {
        Qwt3D::Triple* column = m_cartesian.data() + size_t(j) * size_t(m_height);
        const double phi = step * (j - centreColumn);
        const double sinPhi = std::sin(phi);
        const double cosPhi = std::cos(phi);
        for (int i = 0; i < m_height; ++i) {
            const double theta = step * (i - centreRow);
            const double cosTheta = std::cos(theta);
            const double r = toMm(distance(j, i)) / 10.0;
            column[i] = Qwt3D::Triple(centreColumn + r * cosTheta * sinPhi, centreRow + r * std::sin(theta),
                                      r * cosTheta * cosPhi);
        }
    }
}

bool PointCloudGeometry::joined(int a, int b, int c) const
{
    if (!m_interconnect)
        return true;
    return std::abs(a - b) <= m_threshold && std::abs(a - c) <= m_threshold && std::abs(b - c) <= m_threshold;
}

void PointCloudGeometry::addTriangle(unsigned a, unsigned b, unsigned c)
{
    const int va = m_distance[a];
    const int vb = m_distance[b];
    const int vc = m_distance[c];
    if (usable(va) && usable(vb) && usable(vc) && joined(va, vb, vc))
        m_triangles.push_back({a, b, c});
}

void PointCloudGeometry::triangulate(bool useCartesian, int lo, int hi, bool interconnect, int thresholdLsb,
                                     DistanceLabeler& labeler)
{
    m_lo = lo;
    m_hi = hi;
    m_interconnect = interconnect;
    m_threshold = thresholdLsb;
    const MmConverter toMm(labeler);
    m_vertices.resize(size_t(m_width) * size_t(m_height));
    for (int i = 0; i < m_height; ++i) {
        for (int j = 0; j < m_width; ++j) {
            m_vertices[size_t(i * m_width + j)] =
                useCartesian ? cartesian(j, i) : Qwt3D::Triple(j, i, toMm(distance(j, i)) / 10.0);
        }
    }
    // A vertex outside the usable range is in no triangle, yet the plot sizes its box to every
    // vertex: it takes the place of a usable one, so the box fits what is drawn (a far wall or
    // a status code would otherwise shrink the cloud to a corner).
    const auto firstUsable =
        std::find_if(m_distance.begin(), m_distance.end(), [this](int v) { return usable(v); });
    if (firstUsable != m_distance.end()) {
        const Qwt3D::Triple stand = m_vertices[size_t(firstUsable - m_distance.begin())];
        for (size_t k = 0; k < m_vertices.size(); ++k)
            if (!usable(m_distance[k]))
                m_vertices[k] = stand;
    }
    m_triangles.clear();
    const auto w = unsigned(m_width);
    for (int i = 0; i + 1 < m_height; ++i) {
        for (int j = 0; j < m_width; ++j) {
            const unsigned here = unsigned(i) * w + unsigned(j);
            if (j + 1 < m_width)
                addTriangle(here, here + 1, here + w);
            if (j > 0)
                addTriangle(here, here + w, here + w - 1);
        }
    }
}

void PointCloudGeometry::grayColors(Qwt3D::ColorVector& colors) const
{
    colors.resize(m_amplitude.size());
    for (size_t k = 0; k < m_amplitude.size(); ++k) {
        const double g = m_amplitude[k] / 2048.0;
        colors[k] = Qwt3D::RGBA(g, g, g, 1.0);
    }
}
