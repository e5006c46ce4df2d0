// The point cloud's per-frame geometry without drawing (the ROI copied and mirrored into the
// grid, the Cartesian coordinates and the triangulated surface of a 320 x 240 frame), and the
// whole view in live video against the simulator, OpenGL drawing included.
#include "BenchMain.h"
#include "app/ApplicationContext.h"
#include "frames/DataPixelfield.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings.h"
#include "support/SimulatorProcess.h"
#include "views/PointCloudGeometry.h"
#include "views/WidgetPointCloud.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <cmath>

namespace {

SimulatorProcess* gSimulator = nullptr;

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

// Live video in the point cloud view of the zc320's default configuration: request, decode,
// filters, geometry and the OpenGL drawing of every frame, as the user sees it (with the
// system's OpenGL; under Xvfb that is software rendering). Reports the frame rate.
void BM_PointCloudLiveVideo(benchmark::State& state)
{
    const bool surface = state.range(0) != 0;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X display (scripts/bench runs it under Xvfb)");
        return;
    }
    if (!gSimulator || !gSimulator->isRunning()) {
        state.SkipWithError("no simulator");
        return;
    }
    ApplicationContext context;
    Settings* settings = context.settings();
    BenchMain::loadZc320Default(settings);
    settings->socket()->setPort(gSimulator->port());
    settings->setModeIndex(5);
    WidgetPointCloud view(&context);
    view.findChild<QCheckBox*>(QLatin1String(surface ? "cbSurfaceInterconnect" : "cbPoints"))
        ->setChecked(true);
    view.resize(800, 600);
    view.QWidget::show();
    QEventLoop frame;
    long frames = 0;
    QObject::connect(&view, &ImageViewBase::pictureUpdated, &frame, [&] {
        ++frames;
        frame.quit();
    });
    QTimer timeOut;
    timeOut.setSingleShot(true);
    QObject::connect(&timeOut, &QTimer::timeout, &frame, &QEventLoop::quit);
    // The acquisition loop's way: the next frame is requested once the last one is shown.
    for (auto _ : state) {
        view.startView();
        timeOut.start(5000);
        frame.exec();
    }
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["missing"] = double(state.iterations() - frames);
}
BENCHMARK(BM_PointCloudLiveVideo)
    ->ArgName("surface")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

} // namespace

int main(int argc, char** argv)
{
    return BenchMain::runWithSimulator<QApplication>(
        argc, argv, gSimulator, BenchMain::SimulatorFrames::Rendered, BenchMain::Screen::XDisplay);
}
