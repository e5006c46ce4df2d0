#pragma once

#include "views/PointCloudGeometry.h"

#include <QString>

#include <vector>

class DistanceLabeler;
class QIODevice;

// The point cloud of one frame as a binary little-endian PLY file, the format point-cloud
// tools read: one vertex per pixel that has a distance (x, y, z as floats in millimetres,
// then red, green, blue) and, for the surface, its triangles as faces.
class PlyWriter final
{
public:
    struct Cloud
    {
        std::vector<float> xyz;         // three per vertex
        std::vector<unsigned char> rgb; // three per vertex
        std::vector<PointCloudGeometry::Triangle> faces;
        size_t vertexCount() const { return xyz.size() / 3; }
    };

    struct Options
    {
        bool cartesian = false; // Cartesian millimetres, else column, row and distance in mm
        double fovDegrees = 108.0;
        bool withFaces = false; // the geometry's triangles (triangulate() first)
        bool gray = false;      // colour by amplitude, else by distance on the view's ramp
        int lo = 0;             // distance range of the ramp, LSB
        int hi = 30000;
    };

    // The cloud of the geometry's current grid.
    static void build(const PointCloudGeometry& geometry, const Options& options, DistanceLabeler& labeler,
                      Cloud& cloud);
    static QByteArray header(const Cloud& cloud);
    static bool write(QIODevice& device, const Cloud& cloud);
    // Writes the file atomically; false (with `error` set) when it could not be written.
    static bool save(const QString& path, const Cloud& cloud, QString* error = nullptr);
};
