// The measurement windows' per-frame work while live video runs with them open: the pixel
// window's statistics, the pixel scope fed a 10 x 10 region and replotted, the time scope's
// append and replot with a full history, and the distance view's whole frame with its pixel
// window, pixel scope and time scope open (a real simulator frame).
#include "BenchMain.h"
#include "app/ApplicationContext.h"
#include "frames/DataInformationSample.h"
#include "link/Commands.h"
#include "measurement/InfoDistance.h"
#include "measurement/InfoPixelScope.h"
#include "measurement/InfoPixelTimeScope.h"
#include "settings/Settings.h"
#include "settings/SettingsManager.h"
#include "support/SimulatorProcess.h"
#include "views/WidgetDistance.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>

namespace {

SimulatorProcess* gSimulator = nullptr;

// One frame's update of the distance pixel window as the view hands it over: header,
// distance and amplitude, the statistics over a full history of 100 samples and the labels'
// texts. The labels' relayout and repaint follow in the event loop, inside the figure only
// `withRepaint`.
void pixelWindowFrames(benchmark::State& state, bool withRepaint)
{
    InfoDistance info;
    info.show();
    auto update = [&info](int frame) {
        info.setPixel(100, 80, false);
        info.setDistance(2400 + (frame * 7) % 23);
        info.setAmplitude(900 + (frame * 13) % 41, 2895);
    };
    int frame = 0;
    for (; frame < StatisticsColumn::historyLength; ++frame)
        update(frame);
    QApplication::processEvents();
    for (auto _ : state) {
        update(frame);
        if (!withRepaint)
            state.PauseTiming();
        QApplication::processEvents();
        if (!withRepaint)
            state.ResumeTiming();
        ++frame;
    }
    benchmark::DoNotOptimize(info.distanceStatistics().mean());
}

void BM_PixelStatisticsUpdate(benchmark::State& state)
{
    pixelWindowFrames(state, false);
}
BENCHMARK(BM_PixelStatisticsUpdate)->Unit(benchmark::kMicrosecond);

// The same frame with what the event loop does after it: the changed labels laid out and
// painted (into memory).
void BM_PixelWindowFrame(benchmark::State& state)
{
    pixelWindowFrames(state, true);
}
BENCHMARK(BM_PixelWindowFrame)->Unit(benchmark::kMicrosecond);

// The view's per-frame protocol outside the moving window, then setData and the replot.
void BM_PixelScopeFrame10x10(benchmark::State& state)
{
    Settings settings;
    settings.roi()->setRoi(0, 327, 0, 251);
    settings.pixelScope()->setX1(100);
    settings.pixelScope()->setX2(109);
    settings.pixelScope()->setY1(60);
    settings.pixelScope()->setY2(69);
    InfoPixelScope scope(&settings, InfoPixelScope::Distance);
    scope.setShown(true);
    QApplication::processEvents();
    QVector<int> values(int(scope.pixelCount()));
    int frame = 0;
    for (auto _ : state) {
        for (int i = 0; i < values.size(); ++i)
            values[i] = 2400 + (i * 31 + frame * 17) % 97;
        scope.setMinimum(std::min(scope.getMinimum(), 2400));
        scope.setMaximum(std::max(scope.getMaximum(), 2496));
        scope.setAverage(2448);
        scope.setData(values);
        // The replot only schedules the canvas: the paint happens in the event loop.
        QApplication::processEvents();
        ++frame;
    }
    state.counters["pixels"] = values.size();
    scope.setShown(false);
}
BENCHMARK(BM_PixelScopeFrame10x10)->Unit(benchmark::kMillisecond);

void BM_TimeScopeAppendReplot10000(benchmark::State& state)
{
    InfoPixelTimeScope scope;
    scope.show();
    int frame = 0;
    for (; frame < InfoPixelTimeScope::historyLimit; ++frame)
        scope.addPoint(frame, 2.4 + 0.01 * std::sin(frame * 0.1));
    QApplication::processEvents();
    for (auto _ : state) {
        scope.addPoint(frame, 2.4 + 0.01 * std::sin(frame * 0.1));
        scope.redraw();
        QApplication::processEvents();
        ++frame;
    }
    state.counters["points"] = scope.pointCount();
}
BENCHMARK(BM_TimeScopeAppendReplot10000)->Unit(benchmark::kMillisecond);

// The distance view's frame with every measurement window open, the marker on a pixel and
// the time scope's history full: decode, filter, paint and hand the picture to the view as
// BM_DistanceViewFrame (bench_views) times it, then the windows' updates, relayouts and
// repaints in the event loop. With `viewShown`, the event loop also repaints the view itself
// (its label scales the new picture to its size), which BM_DistanceViewFrame leaves out.
void distanceViewFrameWithWindows(benchmark::State& state, bool viewShown)
{
    ApplicationContext context;
    Settings* settings = context.settings();
    BenchMain::loadZc320Default(settings);
    settings->setModeIndex(1);
    settings->pixelScope()->setX1(100);
    settings->pixelScope()->setX2(109);
    settings->pixelScope()->setY1(120);
    settings->pixelScope()->setY2(129);
    WidgetDistance view(&context);
    if (viewShown)
        view.QWidget::show();
    settings->setPixelInfoEnabled(true);
    settings->setPixelScopeEnabled(true);
    view.setPixelInfoVisible(true);
    view.setPixelScopeVisible(true);
    view.setTimeScopeVisible(true);
    for (int i = 0; i < InfoPixelTimeScope::historyLimit; ++i)
        view.timeScopeWindow()->addPoint(i - InfoPixelTimeScope::historyLimit, 2.4);
    QApplication::processEvents();
    QByteArray payload = gSimulator && gSimulator->isRunning()
                             ? gSimulator->exchange(Commands::getDistanceAndAmplitudeSorted().toLatin1())
                             : QByteArray();
    if (payload.isEmpty())
        state.SkipWithError("no frame from the simulator");
    DataInformationSample* sample = view.informationSample();
    for (auto _ : state) {
        sample->updateData(payload);
        view.updateGUI();
        // Paints every open window (and the view when shown), as the event loop does after a
        // frame.
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.displayed().constBits());
    }
    state.counters["scope_pixels"] = view.pixelScopeWindow()->pixelCount();
    state.counters["time_points"] = view.timeScopeWindow()->pointCount();
    view.setPixelScopeVisible(false);
}

void BM_DistanceViewFrameWithWindows(benchmark::State& state)
{
    distanceViewFrameWithWindows(state, false);
}
BENCHMARK(BM_DistanceViewFrameWithWindows)->Unit(benchmark::kMillisecond);

void BM_ShownDistanceViewFrameWithWindows(benchmark::State& state)
{
    distanceViewFrameWithWindows(state, true);
}
BENCHMARK(BM_ShownDistanceViewFrameWithWindows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return BenchMain::runWithSimulator<QApplication>(argc, argv, gSimulator);
}
