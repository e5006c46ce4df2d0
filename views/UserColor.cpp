#include "views/UserColor.h"

#include "render/ImageColorizer.h"

#include <utility>

UserColor::UserColor(Qwt3D::ColorVector ramp) : m_ramp(std::move(ramp)), m_colors(m_ramp)
{
}

Qwt3D::RGBA UserColor::operator()(double, double, double) const
{
    if (m_cells.empty())
        return Qwt3D::RGBA(0.5, 0.5, 0.5, 1.0);
    if (m_triangle >= m_cells.size())
        resetWalker();
    const unsigned vertex = m_cells[m_triangle][size_t(m_corner)];
    if (++m_corner == 3) {
        m_corner = 0;
        ++m_triangle;
    }
    return vertex < m_colors.size() ? m_colors[vertex] : Qwt3D::RGBA(0.5, 0.5, 0.5, 1.0);
}

Qwt3D::ColorVector& UserColor::createVector(Qwt3D::ColorVector& vec)
{
    vec = m_ramp;
    return vec;
}

void UserColor::setGridSize(int columns, int rows)
{
    m_columns = columns;
    m_rows = rows;
}

void UserColor::setColors(const Qwt3D::ColorVector& colors)
{
    m_colors = colors;
}

void UserColor::setCells(const std::vector<PointCloudGeometry::Triangle>& cells)
{
    m_cells = cells;
    resetWalker();
}

void UserColor::resetWalker() const
{
    m_triangle = 0;
    m_corner = 0;
}

Qwt3D::ColorVector UserColor::startingRamp(int n)
{
    Qwt3D::ColorVector ramp(size_t(std::max(n, 0)));
    for (int k = 0; k < n; ++k) {
        const double f = double(k) / n;
        ramp[size_t(k)] = Qwt3D::RGBA(f, f * 0.25, 1.0 - f, 1.0);
    }
    return ramp;
}

Qwt3D::ColorVector UserColor::distanceRamp()
{
    Qwt3D::ColorVector ramp(ImageColorizer::kRampSize);
    for (int k = 0; k < ImageColorizer::kRampSize; ++k) {
        const QRgb c = ImageColorizer::rampRule(ImageColorizer::kRampSize, k);
        ramp[size_t(k)] = Qwt3D::RGBA(qBlue(c) / 255.0, qGreen(c) / 255.0, qRed(c) / 255.0, 1.0);
    }
    return ramp;
}

Qwt3D::ColorVector UserColor::placeholderGray(int columns, int rows)
{
    Qwt3D::ColorVector colors;
    colors.reserve(size_t(std::max(columns, 0)) * size_t(std::max(rows, 0)));
    for (int i = 0; i < rows; ++i) {
        const double g = i / 255.0;
        for (int j = 0; j < columns; ++j)
            colors.emplace_back(g, g, g, 1.0);
    }
    return colors;
}
