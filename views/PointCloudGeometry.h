#pragma once

#include <qwt3d_types.h>

#include <array>
#include <vector>

class DataPixelfield;
class DistanceLabeler;

// The point cloud of one frame, without any drawing: the ROI of the distance and amplitude
// fields copied into a W x H grid and mirrored for display, the Cartesian coordinates from
// the lens field of view, and the triangulated surface that joins neighbouring pixels of
// similar distance. The plot widget and the PLY export read from here.
//
// Grid point (j, i), column j of W and row i of H, is sensor column x1 + j and row y1 + i
// before mirroring, so the cloud shows the ROI exactly; its vertex index is i * W + j. The
// camera's picture is mirrored on the sensor, so the grid is mirrored back unless the flip
// settings already do that (a set flip leaves that direction as read).
//
// Every buffer is allocated for the largest grid once (reserve()); a frame only refills them.
class PointCloudGeometry final
{
public:
    using Triangle = std::array<unsigned, 3>;

    // pi as the view has always taken it, so that angles match the saved clouds.
    static constexpr double kPi = 3.14159265359;

    // Buffers for grids up to `columns` x `rows` (the sensor size).
    void reserve(int columns, int rows);

    // Copies the ROI (x1, y1, width x height) of both fields into the grid, mirrored as
    // described above. Positions outside a field read as no data.
    void extract(const DataPixelfield& distance, const DataPixelfield& amplitude, int x1, int y1, int width,
                 int height, bool horizontalFlip, bool verticalFlip);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int distance(int column, int row) const { return m_distance[size_t(row * m_width + column)]; }
    int amplitude(int column, int row) const { return m_amplitude[size_t(row * m_width + column)]; }

    // Half the field of view spread over half the ROI width, in radians per pixel.
    static double angularStep(double fovDegrees, int width);

    // Cartesian coordinates of every grid point: the view's centre column and row plus the
    // distance in cm turned by the pixel's angles (a pixel without a distance sits at -0.1 cm).
    void computeCartesian(double fovDegrees, DistanceLabeler& labeler);
    const Qwt3D::Triple& cartesian(int column, int row) const
    {
        return m_cartesian[size_t(column) * size_t(m_height) + size_t(row)];
    }
    // Every grid point's Cartesian coordinates, column by column.
    const std::vector<Qwt3D::Triple>& cartesianPoints() const { return m_cartesian; }

    // The surface: one vertex per grid point (Cartesian or grid coordinates, z the distance in
    // cm), and triangles of usable vertices (lo < value < hi, in LSB) whose three distances
    // differ by at most `thresholdLsb` when `interconnect` is on.
    void triangulate(bool useCartesian, int lo, int hi, bool interconnect, int thresholdLsb,
                     DistanceLabeler& labeler);
    const std::vector<Qwt3D::Triple>& vertices() const { return m_vertices; }
    const std::vector<Triangle>& triangles() const { return m_triangles; }

    // Gray of every grid point in vertex order: amplitude / 2048.
    void grayColors(Qwt3D::ColorVector& colors) const;

private:
    // lsbToMm of the labeler with the range read once per frame.
    struct MmConverter
    {
        explicit MmConverter(DistanceLabeler& labeler);
        int operator()(int lsb) const;
        int rangeMm;
    };

    bool usable(int value) const { return value > m_lo && value < m_hi; }
    bool joined(int a, int b, int c) const;
    void addTriangle(unsigned a, unsigned b, unsigned c);

    int m_width = 0;
    int m_height = 0;
    std::vector<int> m_distance;
    std::vector<int> m_amplitude;
    std::vector<Qwt3D::Triple> m_cartesian;
    std::vector<Qwt3D::Triple> m_vertices;
    std::vector<Triangle> m_triangles;
    int m_lo = 0;
    int m_hi = 0;
    bool m_interconnect = false;
    int m_threshold = 0;
};
