// The client-side post-processing of one 328 x 252 distance frame as the image views run it on
// every frame of live video: the Gauss filter (one iteration), the edge step, the median, the
// bad-pixel replacement, the HDR merge, and the distance view's whole chain.
#include "BenchData.h"

#include "frames/DataPixelfield.h"
#include "render/EdgeFilter.h"
#include "render/ImageFilter.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <algorithm>
#include <vector>

namespace {

// Settings of a live distance view over the whole sensor.
void useWholeSensor(Settings& settings)
{
    settings.setChipType(2);
    settings.roi()->setChipType(2);
    settings.roi()->setRoi(0, BenchData::kColumns - 1, 0, BenchData::kRows - 1);
    settings.settings3D()->setDistanceMin(0);
    // 100 mm at the base frequency: 200 LSB in the first value, a tenth in the second.
    settings.setEdgeDetection(true);
    settings.setEdgeDetectionThreshold(200, false);
    settings.setEdgeDetectionThreshold(20, true);
    settings.distanceCalculation()->setAmplitudeHdr(true);
}

void load(DataPixelfield& field, const std::vector<int>& values)
{
    std::copy(values.begin(), values.end(), field.cells());
}

// Bad pixels spread over the sensor, as the camera's bad-pixel search reports them.
QByteArray badPixels(int count = 20)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const int x = 7 + (i * 16) % 310;
        const int y = 5 + (i * 12 + i / 20) % 240;
        for (int v : {x, y})
            bytes.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    }
    return bytes;
}

void BM_Gauss(benchmark::State& state)
{
    Settings settings;
    useWholeSensor(settings);
    DataPixelfield distance(&settings);
    load(distance, BenchData::distanceField());
    ImageFilter filter(&settings);
    filter.gauss3x3(distance, true, 1); // the working copy exists from the first frame on
    // Branch-free: smoothing the same frame again costs what a fresh frame costs.
    for (auto _ : state) {
        filter.gauss3x3(distance, true, 1);
        benchmark::DoNotOptimize(distance.cells());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

void BM_EdgeStep(benchmark::State& state)
{
    Settings settings;
    useWholeSensor(settings);
    const std::vector<int> frame = BenchData::distanceField();
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    load(amplitude, BenchData::amplitudeField());
    EdgeFilter filter(&settings);
    for (auto _ : state) {
        // Each round starts from the decoded frame, not from one the step already marked.
        state.PauseTiming();
        load(distance, frame);
        state.ResumeTiming();
        filter.detectEdges(distance, amplitude);
        benchmark::DoNotOptimize(distance.cells());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

void BM_ImageFilterMedian(benchmark::State& state)
{
    Settings settings;
    useWholeSensor(settings);
    settings.setMedianFilter(true);
    settings.setMedianFilterSize(static_cast<int>(state.range(0)));
    settings.setMedianFilterIterations(1);
    DataPixelfield distance(&settings);
    load(distance, BenchData::distanceField());
    ImageFilter filter(&settings);
    filter.median(distance);
    for (auto _ : state) {
        filter.median(distance);
        benchmark::DoNotOptimize(distance.cells());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

// The bad-pixel replacement with a list of 100 pixels, on one field.
void BM_ReplaceBadPixels100(benchmark::State& state)
{
    Settings settings;
    useWholeSensor(settings);
    settings.calibration()->setBadPixels(badPixels(100));
    DataPixelfield distance(&settings);
    load(distance, BenchData::distanceField());
    ImageFilter filter(&settings);
    for (auto _ : state) {
        filter.replaceBadPixels(distance);
        benchmark::DoNotOptimize(distance.cells());
        benchmark::ClobberMemory();
    }
}

// The HDR row merge of an amplitude field deciding for its distance field.
void BM_HdrMerge(benchmark::State& state)
{
    Settings settings;
    useWholeSensor(settings);
    const std::vector<int> distanceFrame = BenchData::distanceField();
    const std::vector<int> amplitudeFrame = BenchData::amplitudeField();
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    ImageFilter filter(&settings);
    for (auto _ : state) {
        state.PauseTiming();
        load(distance, distanceFrame);
        load(amplitude, amplitudeFrame);
        state.ResumeTiming();
        filter.mergeHdrRows(amplitude, &distance);
        benchmark::DoNotOptimize(distance.cells());
        benchmark::ClobberMemory();
    }
}

// The distance view's calls in its order: bad pixels on both fields, a 3 x 3 median, one
// Gauss iteration, the edge step and the HDR merge.
void BM_DistanceViewFilters(benchmark::State& state)
{
    Settings settings;
    useWholeSensor(settings);
    settings.setMedianFilter(true);
    settings.setMedianFilterSize(3);
    settings.setMedianFilterIterations(1);
    settings.calibration()->setBadPixels(badPixels());
    const std::vector<int> distanceFrame = BenchData::distanceField();
    const std::vector<int> amplitudeFrame = BenchData::amplitudeField();
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    ImageFilter first(&settings);
    EdgeFilter second(&settings);
    for (auto _ : state) {
        state.PauseTiming();
        load(distance, distanceFrame);
        load(amplitude, amplitudeFrame);
        state.ResumeTiming();
        first.replaceBadPixels(distance);
        first.replaceBadPixels(amplitude);
        first.median(distance);
        first.gauss3x3(distance, true, 1);
        second.detectEdges(distance, amplitude);
        first.mergeHdrRows(amplitude, &distance);
        benchmark::DoNotOptimize(distance.cells());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

} // namespace

BENCHMARK(BM_Gauss)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EdgeStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImageFilterMedian)
    ->ArgName("size")
    ->Arg(3)
    ->Arg(5)
    ->Arg(7)
    ->Arg(9)
    ->Arg(15)
    ->Arg(31)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplaceBadPixels100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HdrMerge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DistanceViewFilters)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
