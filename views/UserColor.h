#pragma once

#include "views/PointCloudGeometry.h"

#include <qwt3d_color.h>

#include <vector>

// Per-vertex colours for the gray surface. The plot asks for colours in drawing order, three
// corners per triangle, without saying which vertex it draws: the walker answers request n
// with the colour of corner n mod 3 of triangle n div 3. resetWalker() must precede each
// drawing pass; after the last corner the walker starts over, so it never reads past the
// triangle list.
class UserColor final : public Qwt3D::Color
{
public:
    explicit UserColor(Qwt3D::ColorVector ramp);

    Qwt3D::RGBA operator()(double x, double y, double z) const override;
    using Qwt3D::Color::operator();
    // The legend's colours: the starting ramp.
    Qwt3D::ColorVector& createVector(Qwt3D::ColorVector& vec) override;

    void setGridSize(int columns, int rows);
    void setColors(const Qwt3D::ColorVector& colors);
    void setCells(const std::vector<PointCloudGeometry::Triangle>& cells);
    void resetWalker() const;

    const Qwt3D::ColorVector& colors() const { return m_colors; }
    int gridColumns() const { return m_columns; }
    int gridRows() const { return m_rows; }

    // Entry k of n: red k/n, green k/n x 0.25, blue 1 - k/n.
    static Qwt3D::ColorVector startingRamp(int n);
    // The distance view's ramp with red and blue exchanged (near dark red, far dark blue), for
    // the plot's standard colour.
    static Qwt3D::ColorVector distanceRamp();
    // The gray surface's placeholder before the first frame: row index / 255 per point.
    static Qwt3D::ColorVector placeholderGray(int columns, int rows);

private:
    ~UserColor() override = default;

    Qwt3D::ColorVector m_ramp;
    Qwt3D::ColorVector m_colors;
    std::vector<PointCloudGeometry::Triangle> m_cells;
    int m_columns = 0;
    int m_rows = 0;
    mutable size_t m_triangle = 0;
    mutable int m_corner = 0;
};
