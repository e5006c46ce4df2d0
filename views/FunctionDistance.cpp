#include "views/FunctionDistance.h"

#include "app/Trace.h"
#include "render/DistanceLabeler.h"
#include "views/PointCloudGeometry.h"

#include <qwt3d_surfaceplot.h>

#include <cmath>

FunctionDistance::FunctionDistance(const PointCloudGeometry* geometry, DistanceLabeler* labeler)
    : geometry(geometry), labeler(labeler)
{
}

FunctionDistance::~FunctionDistance()
{
    ZTRACE() << "***FunctionDistance destroyed";
}

double FunctionDistance::operator()(double x, double y)
{
    if (!(x >= 0.0) || !(y >= 0.0))
        return -1.0;
    const double column = std::trunc(x);
    const double row = std::trunc(y);
    if (column >= geometry->width() || row >= geometry->height())
        return -1.0;
    const int v = geometry->distance(int(column), int(row));
    return v <= int(DistanceLabeler::kFullScale) ? labeler->lsbToCm(v) : -1.0;
}

void FunctionDistance::fitToGrid(int width, int height, double minimumZ, double maximumZ)
{
    // The mesh step is (max - min) / (points - 1): a domain of 0 ... W would sample column W,
    // one past the field.
    setMesh(unsigned(std::max(width, 2)), unsigned(std::max(height, 2)));
    setDomain(0.0, std::max(width - 1, 1), 0.0, std::max(height - 1, 1));
    setMinZ(minimumZ);
    setMaxZ(maximumZ);
}

void FunctionDistance::sample(std::vector<Qwt3D::Triple>& nodes)
{
    nodes.clear();
    if (umesh_p <= 2 || vmesh_p <= 2)
        return;
    const double dx = (maxu_p - minu_p) / (umesh_p - 1);
    const double dy = (maxv_p - minv_p) / (vmesh_p - 1);
    for (unsigned i = 0; i < umesh_p; ++i) {
        const double x = minu_p + i * dx;
        for (unsigned j = 0; j < vmesh_p; ++j) {
            const double y = minv_p + j * dy;
            double z = (*this)(x, y);
            // The plot's order of the two bounds, also for a range given upside down.
            if (z > range_p.maxVertex.z)
                z = range_p.maxVertex.z;
            else if (z < range_p.minVertex.z)
                z = range_p.minVertex.z;
            nodes.emplace_back(x, y, z);
        }
    }
}
