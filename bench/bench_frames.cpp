// Decoding cost of one full-sensor frame reply (328 x 252 pixels per image).

#include "frames/DataCorrelationSamples.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "settings/Settings.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 328;
constexpr int kHeight = 252;

QByteArray syntheticPayload(int images)
{
    QByteArray payload(images * kWidth * kHeight * 2, Qt::Uninitialized);
    for (int i = 0; i < payload.size() / 2; ++i) {
        const int word = (i * 37) % 30000;
        payload[2 * i] = char(word & 0xff);
        payload[2 * i + 1] = char(word >> 8);
    }
    return payload;
}

void useFullSensor(Settings& settings, int mode)
{
    settings.setChipType(2);
    settings.roi()->setChipType(2);
    settings.roi()->setRoi(0, kWidth - 1, 0, kHeight - 1);
    settings.setModeIndex(mode);
}

void BM_DecodeDistanceAndAmplitude(benchmark::State& state)
{
    Settings settings;
    useFullSensor(settings, 1);
    DataInformationSample sample(&settings);
    QByteArray payload = syntheticPayload(2);
    for (auto _ : state) {
        sample.updateData(payload);
        benchmark::DoNotOptimize(sample.distanceValue(100, 100));
    }
}
BENCHMARK(BM_DecodeDistanceAndAmplitude)->Unit(benchmark::kMillisecond);

void BM_DecodeGrayscale(benchmark::State& state)
{
    Settings settings;
    useFullSensor(settings, 0);
    DataPixelfield field(&settings);
    field.setOffset(2048);
    QByteArray payload = syntheticPayload(1);
    for (auto _ : state) {
        field.updateData(payload);
        benchmark::DoNotOptimize(field.value(100, 100));
    }
}
BENCHMARK(BM_DecodeGrayscale)->Unit(benchmark::kMillisecond);

void BM_DecodeAmplitudeLogarithmic(benchmark::State& state)
{
    Settings settings;
    useFullSensor(settings, 4);
    DataPixelfield field(&settings);
    QByteArray payload = syntheticPayload(1);
    for (auto _ : state) {
        field.updateData(payload);
        benchmark::DoNotOptimize(field.value(100, 100));
    }
}
BENCHMARK(BM_DecodeAmplitudeLogarithmic)->Unit(benchmark::kMillisecond);

// Four correlation samples (pi delay on, dual MGX off), as the DCS views request them.
void BM_DecodeFourDCS(benchmark::State& state)
{
    Settings settings;
    useFullSensor(settings, 6);
    settings.distanceCalculation()->setPiDelay(true);
    DataCorrelationSamples samples(&settings);
    QByteArray payload = syntheticPayload(4);
    for (auto _ : state) {
        samples.updateData(payload);
        benchmark::DoNotOptimize(samples.partValue(3, 100, 100));
    }
}
BENCHMARK(BM_DecodeFourDCS)->Unit(benchmark::kMillisecond);

// The DCS + grayscale reply: five images.
void BM_DecodeDCSAndGrayscale(benchmark::State& state)
{
    Settings settings;
    useFullSensor(settings, 8);
    settings.distanceCalculation()->setPiDelay(true);
    DataCorrelationSamples samples(&settings);
    QByteArray payload = syntheticPayload(5);
    for (auto _ : state) {
        samples.updateData(payload);
        benchmark::DoNotOptimize(samples.partValue(4, 100, 100));
    }
}
BENCHMARK(BM_DecodeDCSAndGrayscale)->Unit(benchmark::kMillisecond);

// The difference step of the DCS-difference view over the whole sensor.
void BM_DcsDifference(benchmark::State& state)
{
    Settings settings;
    useFullSensor(settings, 7);
    settings.distanceCalculation()->setPiDelay(true);
    DataCorrelationSamples samples(&settings);
    QByteArray payload = syntheticPayload(4);
    samples.updateData(payload);
    for (auto _ : state) {
        samples.calculateDifference();
        benchmark::DoNotOptimize(samples.differenceValue(true, 100, 100));
    }
}
BENCHMARK(BM_DcsDifference)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
