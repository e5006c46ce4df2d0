#pragma once

#include <qwt3d_function.h>

#include <vector>

class DistanceLabeler;
class PointCloudGeometry;

// The distance in cm as a function of grid position, for the plot's points mode: the plot
// samples it on its mesh. Reads the mirrored grid of the cloud (not owned).
class FunctionDistance final : public Qwt3D::Function
{
public:
    FunctionDistance(const PointCloudGeometry* geometry, DistanceLabeler* labeler);
    ~FunctionDistance() override;

    // -1 for positions off the grid, pixels without a distance and status codes.
    double operator()(double x, double y) override;

    // Mesh, domain and z range for a W x H grid: the mesh points fall on the grid columns
    // 0 ... W - 1 and rows 0 ... H - 1 exactly.
    void fitToGrid(int width, int height, double minimumZ, double maximumZ);

    // The points the plot's own sampling gives (column by column, z held to the range), filled
    // into `nodes` without the plot's per-point allocations; empty for a mesh the plot would
    // refuse (two or fewer columns or rows).
    void sample(std::vector<Qwt3D::Triple>& nodes);

private:
    const PointCloudGeometry* geometry;
    DistanceLabeler* labeler;
};
