// Cost of the simulator's frames: rendering one full 328 x 252 frame (scene, physics and
// readout order) must stay well under the client's own per-frame work (about 2 ms).
#include "sim/CommandProcessor.h"

#include <benchmark/benchmark.h>

namespace {
SimConfig configFor(const char* chip)
{
    SimConfig config;
    config.chip = ChipModel::byName(QString::fromLatin1(chip));
    return config;
}

void serveFrames(benchmark::State& state, const char* chip, const QByteArray& setup,
                 const QByteArray& command)
{
    CommandProcessor sim(configFor(chip));
    if (!setup.isEmpty())
        sim.process(setup);
    // Whole sensor: every cell of the array is rendered.
    sim.process(sim.state().chip.centreSplit() ? QByteArray("setROI 0 327 0 125")
                                               : QByteArray("setROI 0 167 0 71"));
    qint64 bytes = 0;
    for (auto _ : state) {
        const SimReply reply = sim.process(command);
        bytes += reply.bytes.size();
        benchmark::DoNotOptimize(reply.bytes.constData());
    }
    state.SetBytesProcessed(bytes);
}
} // namespace

static void BM_DistanceAmplitude328x252(benchmark::State& state)
{
    serveFrames(state, "zc320", QByteArray(), "getDistanceAndAmplitudeSorted");
}
BENCHMARK(BM_DistanceAmplitude328x252)->Unit(benchmark::kMicrosecond);

static void BM_Grayscale328x252(benchmark::State& state)
{
    serveFrames(state, "zc320", QByteArray(), "getBWSorted");
}
BENCHMARK(BM_Grayscale328x252)->Unit(benchmark::kMicrosecond);

static void BM_FourSamples328x252(benchmark::State& state)
{
    serveFrames(state, "zc320", "enablePiDelay 1", "getDCSSorted");
}
BENCHMARK(BM_FourSamples328x252)->Unit(benchmark::kMicrosecond);

static void BM_SamplesAndGrayscale328x252(benchmark::State& state)
{
    serveFrames(state, "zc320", "enablePiDelay 1", "getDCSTOFAndGrayscaleSorted");
}
BENCHMARK(BM_SamplesAndGrayscale328x252)->Unit(benchmark::kMicrosecond);

static void BM_DistanceAmplitude168x72(benchmark::State& state)
{
    serveFrames(state, "zc310", QByteArray(), "getDistanceAndAmplitudeSorted");
}
BENCHMARK(BM_DistanceAmplitude168x72)->Unit(benchmark::kMicrosecond);

static void BM_FrozenFrame328x252(benchmark::State& state)
{
    serveFrames(state, "zc320", "sim.freeze 1", "getDistanceAndAmplitudeSorted");
}
BENCHMARK(BM_FrozenFrame328x252)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
