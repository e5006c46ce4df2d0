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
