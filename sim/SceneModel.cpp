#include "sim/SceneModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double pi = 3.14159265358979323846;
constexpr double wallZ = 4.0;
constexpr double floorY = 1.2;
constexpr double boxMin[3] = {-1.35, 0.45, 2.6};
constexpr double boxMax[3] = {-0.55, 1.2, 3.2};
// A dark block on a post standing on the floor, right of the axis and 45 to 75 cm from the
// lens, for the near range (40 to 80 cm) of the built-in default configuration. Dark enough
// that the long integration time of that configuration does not saturate it.
struct Block
{
    double low[3];
    double high[3];
};
constexpr Block nearObject[2] = {{{0.15, -0.05, 0.45}, {0.45, 0.25, 0.6}}, // the block
                                 {{0.27, 0.25, 0.5}, {0.33, 1.2, 0.56}}};  // its post
constexpr double nearReflectivity = 0.015;
constexpr double stripeLeft = -0.45;
constexpr double stripeRight = 0.75;
constexpr double stripeTop = -1.1;
constexpr double stripeBottom = -0.3;
constexpr double stripeWidth = 0.2;
constexpr float stripeReflectivity[6] = {0.05f, 0.25f, 0.45f, 0.65f, 0.85f, 1.0f};

// Distance along the unit ray d to the axis-aligned box, or a negative value; the normal
// component of the face that was hit is returned in `cosine`.
double hitBox(const double d[3], const double boxMin[3], const double boxMax[3], double* cosine)
{
    double tNear = 0;
    double tFar = 1e9;
    int axis = -1;
    for (int a = 0; a < 3; ++a) {
        if (std::fabs(d[a]) < 1e-12) {
            if (0 < boxMin[a] || 0 > boxMax[a])
                return -1;
            continue;
        }
        double t1 = boxMin[a] / d[a];
        double t2 = boxMax[a] / d[a];
        if (t1 > t2)
            std::swap(t1, t2);
        if (t1 > tNear) {
            tNear = t1;
            axis = a;
        }
        tFar = std::min(tFar, t2);
        if (tNear > tFar)
            return -1;
    }
    if (axis < 0)
        return -1;
    *cosine = std::fabs(d[axis]);
    return tNear;
}
} // namespace

SceneModel::SceneModel(const ChipModel& chip) : model(chip), step(108.0 * pi / 180.0 / chip.defaultRoiWidth())
{
    const int cells = chip.cellCount();
    directionX.resize(cells);
    directionY.resize(cells);
    directionZ.resize(cells);
    staticRange.resize(cells);
    staticReflect.resize(cells);
    staticIrradiance.resize(cells);
    for (int row = 0; row < chip.rows; ++row) {
        const double theta = step * (row - chip.rows / 2);
        for (int column = 0; column < chip.columns; ++column) {
            const double phi = step * (column - chip.columns / 2);
            const double d[3] = {std::cos(theta) * std::sin(phi), std::sin(theta),
                                 std::cos(theta) * std::cos(phi)};
            const int cell = row * chip.columns + column;
            directionX[cell] = static_cast<float>(d[0]);
            directionY[cell] = static_cast<float>(d[1]);
            directionZ[cell] = static_cast<float>(d[2]);

            // The back wall is everywhere behind the rest; what is nearer wins.
            double range = wallZ / d[2];
            double reflect = 0.6 * d[2];
            const double wx = range * d[0];
            const double wy = range * d[1];
            if (wx >= stripeLeft && wx < stripeRight && wy >= stripeTop && wy < stripeBottom) {
                const int stripe = static_cast<int>((wx - stripeLeft) / stripeWidth);
                reflect = stripeReflectivity[std::clamp(stripe, 0, 5)] * d[2];
            }
            if (d[1] > 1e-6) {
                const double floorRange = floorY / d[1];
                if (floorRange < range) {
                    range = floorRange;
                    reflect = 0.35 * d[1];
                }
            }
            double cosine = 0;
            const double boxRange = hitBox(d, boxMin, boxMax, &cosine);
            if (boxRange > 0 && boxRange < range) {
                range = boxRange;
                reflect = 0.8 * cosine;
            }
            for (const Block& part : nearObject) {
                const double partRange = hitBox(d, part.low, part.high, &cosine);
                if (partRange > 0 && partRange < range) {
                    range = partRange;
                    reflect = nearReflectivity * cosine;
                }
            }
            staticRange[cell] = static_cast<float>(range);
            staticReflect[cell] = static_cast<float>(reflect);
            staticIrradiance[cell] = static_cast<float>(reflect / (range * range));
        }
    }
}

void SceneModel::sphereAt(quint64 frame, double* x, double* y, double* z) const
{
    // One full swing every 300 frames: about half a minute of live video.
    *x = 0.35 + 0.75 * std::sin(2.0 * pi * static_cast<double>(frame % 300) / 300.0);
    *y = 0.45;
    *z = 2.2;
}

void SceneModel::render(quint64 frame, float* distance, float* reflectance, float* irradiance) const
{
    const int cells = model.cellCount();
    std::memcpy(distance, staticRange.constData(), sizeof(float) * cells);
    std::memcpy(reflectance, staticReflect.constData(), sizeof(float) * cells);
    std::memcpy(irradiance, staticIrradiance.constData(), sizeof(float) * cells);

    double cx = 0;
    double cy = 0;
    double cz = 0;
    sphereAt(frame, &cx, &cy, &cz);
    // Only the pixels inside the sphere's angular bounding box need a ray test.
    const double centreDistance = std::sqrt(cx * cx + cy * cy + cz * cz);
    const double halfAngle = std::asin(std::min(1.0, sphereRadius / centreDistance));
    const double phi = std::atan2(cx, cz);
    const double theta = std::asin(cy / centreDistance);
    const int c0 =
        std::max(0, static_cast<int>(std::floor((phi - halfAngle * 1.6) / step)) + model.columns / 2);
    const int c1 = std::min(model.columns - 1,
                            static_cast<int>(std::ceil((phi + halfAngle * 1.6) / step)) + model.columns / 2);
    const int r0 =
        std::max(0, static_cast<int>(std::floor((theta - halfAngle * 1.2) / step)) + model.rows / 2);
    const int r1 = std::min(model.rows - 1,
                            static_cast<int>(std::ceil((theta + halfAngle * 1.2) / step)) + model.rows / 2);
    const double cc = cx * cx + cy * cy + cz * cz - sphereRadius * sphereRadius;
    for (int row = r0; row <= r1; ++row) {
        for (int column = c0; column <= c1; ++column) {
            const int cell = row * model.columns + column;
            const double dx = directionX[cell];
            const double dy = directionY[cell];
            const double dz = directionZ[cell];
            const double b = dx * cx + dy * cy + dz * cz;
            const double disc = b * b - cc;
            if (disc < 0)
                continue;
            const double t = b - std::sqrt(disc);
            if (t <= 0 || t >= distance[cell])
                continue;
            const double nx = (t * dx - cx) / sphereRadius;
            const double ny = (t * dy - cy) / sphereRadius;
            const double nz = (t * dz - cz) / sphereRadius;
            const double cosine = std::max(0.0, -(nx * dx + ny * dy + nz * dz));
            distance[cell] = static_cast<float>(t);
            reflectance[cell] = static_cast<float>(0.7 * cosine);
            irradiance[cell] = static_cast<float>(0.7 * cosine / (t * t));
        }
    }
}
