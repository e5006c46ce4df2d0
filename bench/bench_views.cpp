// The whole per-frame work of an image view, as live video runs it: decode the reply, filter
// the fields, paint, mirror, convert to a pixmap and show it on the label. The replies are
// real frames of the simulator; the settings are the zc320's default configuration (median
// and Gauss filters and the edge step on, pixel interpolation off).
#include "app/ApplicationContext.h"
#include "app/Resources.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "settings/SettingsManager.h"
#include "support/SimulatorProcess.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDCS.h"
#include "views/WidgetDistance.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>

#include <cstdio>

namespace {

SimulatorProcess* gSimulator = nullptr;

// The zc320's default configuration, with the client's view of the simulator's frequency.
void configure(Settings* settings)
{
    settings->setChipType(2);
    SettingsManager manager(settings);
    if (!manager.loadConfig(QStringLiteral(":/config/zc320_settings_default.xml")))
        std::fprintf(stderr, "bench_views: the default configuration did not load\n");
    settings->modulation()->addFrequency(QStringLiteral("20 MHz"), 20000000);
    settings->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    settings->modulation()->setFrequencyIndex(1);
    // As the view panel sets it from the configured 20 mm: 40 LSB at 10 MHz, a tenth of it
    // for the edge step.
    settings->setEdgeDetectionThreshold(40, false);
    settings->setEdgeDetectionThreshold(4, true);
    settings->calibration()->setPixelInterpolation(false);
    // The channel is never used here; it points at loopback all the same.
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
}

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
    configure(context.settings());
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
    configure(context.settings());
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
    configure(context.settings());
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
    configure(context.settings());
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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Resources::initialize();
    SimulatorProcess sim;
    gSimulator = &sim;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gSimulator = nullptr;
    return 0;
}
