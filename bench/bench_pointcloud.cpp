// The point cloud's per-frame geometry without drawing: the ROI copied and mirrored into the
// grid, the Cartesian coordinates and the triangulated surface of a 320 x 240 frame.
#include "frames/DataPixelfield.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings.h"
#include "views/PointCloudGeometry.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A wall at 4 m with a sphere at 1 m in front of it, in LSB of a 7.5 m range, a little noise.
void fillScene(DataPixelfield& distance, DataPixelfield& amplitude)
{
    for (int c = 0; c < distance.width(); ++c) {
        for (int r = 0; r < distance.height(); ++r) {
            const double dx = c - 164.0;
            const double dy = r - 126.0;
            const bool sphere = dx * dx + dy * dy < 60.0 * 60.0;
            const int noise = (c * 7 + r * 13) % 9 - 4;
            distance.setValue(c, r, (sphere ? 4000 : 16000) + noise);
            amplitude.setValue(c, r, sphere ? 1500 : 400);
        }
    }
}

void BM_PointCloudGeometry(benchmark::State& state)
{
    const bool cartesian = state.range(0) != 0;
    Settings settings;
    DistanceLabeler labeler(&settings);
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    fillScene(distance, amplitude);
    PointCloudGeometry geometry;
    geometry.reserve(distance.width(), distance.height());
    for (auto _ : state) {
        geometry.extract(distance, amplitude, 4, 6, 320, 240, false, false);
        if (cartesian)
            geometry.computeCartesian(108, labeler);
        geometry.triangulate(cartesian, 400, 30000, true, 280, labeler);
        benchmark::DoNotOptimize(geometry.triangles().data());
    }
    state.counters["triangles"] = double(geometry.triangles().size());
}
BENCHMARK(BM_PointCloudGeometry)->ArgName("cartesian")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
