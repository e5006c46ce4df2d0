#pragma once

#include "sim/ChipModel.h"

#include <QVector>

// The synthetic room in front of the simulated lens, in camera coordinates (metres; x to the
// right, y downward, z along the optical axis): a back wall at 4 m with a target of
// reflectivity stripes, a floor 1.2 m below the lens, a box standing on it, a dark block on a
// post near the lens (45 to 75 cm, right of the axis), and a sphere that swings slowly from
// side to side with the frame count.
//
// The lens model has a fixed angular step per pixel, 108 degrees over the columns of the
// default region of interest, centred on the sensor centre: the pixel at (column, row) looks
// along phi = step * (column - columns / 2), theta = step * (row - rows / 2) with the
// direction (cos theta sin phi, sin theta, cos theta cos phi). The distances the camera
// measures are radial, along that direction, so a flat wall comes out flat again in the
// client's Cartesian point cloud.
class SceneModel final
{
public:
    explicit SceneModel(const ChipModel& chip);

    // Fills the per-cell radial distance (m) and reflectance (reflectivity times the cosine of
    // incidence) for the given frame, and the irradiance, reflectance over distance squared:
    // the static room is copied, the sphere drawn over it.
    void render(quint64 frame, float* distance, float* reflectance, float* irradiance) const;

    double angularStep() const { return step; }
    // Radial distance and reflectance of one cell with nothing moving in the room; used by
    // the tests to know what a pixel sees.
    float staticDistance(int cell) const { return staticRange.at(cell); }
    float staticReflectance(int cell) const { return staticReflect.at(cell); }
    // Centre of the moving sphere in the given frame, and its radius.
    void sphereAt(quint64 frame, double* x, double* y, double* z) const;
    static constexpr double sphereRadius = 0.35;

private:
    ChipModel model;
    double step = 0;
    QVector<float> directionX;
    QVector<float> directionY;
    QVector<float> directionZ;
    QVector<float> staticRange;
    QVector<float> staticReflect;
    QVector<float> staticIrradiance;
};
