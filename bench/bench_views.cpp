// The whole per-frame work of an image view, as live video runs it: decode the reply, filter
// the fields, paint, mirror, convert to a pixmap and show it on the label. The replies are
// real frames of the simulator; the settings are the zc320's default configuration (median
// and Gauss filters and the edge step on, pixel interpolation off).
#include "BenchMain.h"
#include "app/ApplicationContext.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataHDR.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "support/SimulatorProcess.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDCS.h"
#include "views/WidgetDistance.h"
#include "views/WidgetHDR.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>

namespace {

SimulatorProcess* gSimulator = nullptr;

QByteArray frame(const QString& command)
{
    return gSimulator && gSimulator->isRunning() ? gSimulator->exchange(command.toLatin1()) : QByteArray();
}

void report(benchmark::State& state, const QByteArray& payload)
{
    if (payload.isEmpty())
        state.SkipWithError("no frame from the simulator");
}

void BM_DistanceViewFrame(benchmark::State& state)
{
    ApplicationContext context;
    BenchMain::loadZc320Default(context.settings());
    context.settings()->setModeIndex(1);
    WidgetDistance view(&context);
    QByteArray payload = frame(Commands::getDistanceAndAmplitudeSorted());
    report(state, payload);
    DataInformationSample* sample = view.informationSample();
    for (auto _ : state) {
        sample->updateData(payload);
        view.updateGUI();
        benchmark::DoNotOptimize(view.displayed().constBits());
    }
    state.counters["median"] = context.settings()->medianFilter() ? 1 : 0;
    state.counters["edges"] = context.settings()->edgeDetection() ? 1 : 0;
}
BENCHMARK(BM_DistanceViewFrame)->Unit(benchmark::kMillisecond);

// The same without the client-side filters: what decoding, painting and showing cost alone.
void BM_DistanceViewFrameUnfiltered(benchmark::State& state)
{
    ApplicationContext context;
    BenchMain::loadZc320Default(context.settings());
    context.settings()->setModeIndex(1);
    context.settings()->setMedianFilter(false);
    context.settings()->setGaussFilter1(false);
    context.settings()->setEdgeDetection(false);
    context.settings()->distanceCalculation()->setAmplitudeHdr(false);
    WidgetDistance view(&context);
    QByteArray payload = frame(Commands::getDistanceAndAmplitudeSorted());
    report(state, payload);
    for (auto _ : state) {
        view.informationSample()->updateData(payload);
        view.updateGUI();
        benchmark::DoNotOptimize(view.displayed().constBits());
    }
}
BENCHMARK(BM_DistanceViewFrameUnfiltered)->Unit(benchmark::kMillisecond);

void BM_AmplitudeViewFrame(benchmark::State& state)
{
    ApplicationContext context;
    BenchMain::loadZc320Default(context.settings());
    context.settings()->setModeIndex(2);
    WidgetAmplitude view(&context);
    view.setColorType(WidgetAmplitude::Ramp);
    QByteArray payload = frame(Commands::getAmplitudeSorted());
    report(state, payload);
    for (auto _ : state) {
        view.pixelField()->updateData(payload);
        view.updateGUI();
        benchmark::DoNotOptimize(view.displayed().constBits());
    }
}
BENCHMARK(BM_AmplitudeViewFrame)->Unit(benchmark::kMillisecond);

// Four samples (pi-delay on): four pictures per frame.
void BM_DCSViewFrame(benchmark::State& state)
{
    ApplicationContext context;
    BenchMain::loadZc320Default(context.settings());
    context.settings()->setModeIndex(6);
    context.settings()->distanceCalculation()->setDualMGX(false);
    context.settings()->distanceCalculation()->setPiDelay(true);
    WidgetDCS view(&context);
    if (gSimulator && gSimulator->isRunning()) {
        gSimulator->exchange(Commands::enableDualMGX(false).toLatin1());
        gSimulator->exchange(Commands::enablePiDelay(true).toLatin1());
    }
    QByteArray payload = frame(Commands::getDCSSorted());
    report(state, payload);
    for (auto _ : state) {
        view.correlationSamples()->updateData(payload);
        view.updateGUI();
        benchmark::DoNotOptimize(view.displayed(3).constBits());
    }
}
BENCHMARK(BM_DCSViewFrame)->Unit(benchmark::kMillisecond);

// An HDR frame: decode, split into the two integration times' half-images, bad pixels,
// the row merge and four pictures painted.
void BM_HDRViewFrame(benchmark::State& state)
{
    ApplicationContext context;
    BenchMain::loadZc320Default(context.settings());
    context.settings()->setModeIndex(9);
    context.settings()->distanceCalculation()->setHdr(true);
    WidgetHDR view(&context);
    if (gSimulator && gSimulator->isRunning())
        gSimulator->exchange(Commands::enableHDR(true).toLatin1());
    QByteArray payload = frame(Commands::getDistanceAndAmplitudeSorted());
    report(state, payload);
    for (auto _ : state) {
        view.data()->updateData(payload);
        view.updateGUI();
        benchmark::DoNotOptimize(view.displayed(3).constBits());
    }
    if (gSimulator && gSimulator->isRunning())
        gSimulator->exchange(Commands::enableHDR(false).toLatin1());
}
BENCHMARK(BM_HDRViewFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return BenchMain::runWithSimulator<QApplication>(argc, argv, gSimulator);
}
