// Painting one 328 x 252 frame through the colour mapping, as the image creator does for
// every frame: the distance field on both ramps, the amplitudes in grayscale.
#include "BenchData.h"

#include "render/ImageColorizer.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <vector>

namespace {

struct Frame
{
    std::vector<int> values;
    std::vector<const int*> columns;
    int min;
    int max;
};

Frame frameFor(int type)
{
    Frame frame;
    // Grayscale views paint amplitudes over 0 ... 4095; the distance view its distance range.
    frame.values = type == 0 ? BenchData::amplitudeField() : BenchData::distanceField();
    frame.min = 0;
    frame.max = type == 0 ? 4095 : 30000;
    for (int c = 0; c < BenchData::kColumns; ++c)
        frame.columns.push_back(frame.values.data() + static_cast<std::size_t>(c) * BenchData::kRows);
    return frame;
}

// The field as column arrays, as the image creator receives it.
void BM_ColorizerPaint(benchmark::State& state)
{
    const int type = static_cast<int>(state.range(0));
    const Frame frame = frameFor(type);
    ImageColorizer colorizer;
    QImage image(BenchData::kColumns, BenchData::kRows, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        colorizer.setRange(frame.min, frame.max);
        colorizer.paintField(frame.columns.data(), BenchData::kColumns, BenchData::kRows, type, image);
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

// The same when the range changes before every image (the user turning the range spin box):
// the table of the mapping is rebuilt each time.
void BM_ColorizerPaintNewRange(benchmark::State& state)
{
    const int type = static_cast<int>(state.range(0));
    const Frame frame = frameFor(type);
    ImageColorizer colorizer;
    QImage image(BenchData::kColumns, BenchData::kRows, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        colorizer.setRange(frame.min, frame.max - (step++ & 1));
        colorizer.paintField(frame.columns.data(), BenchData::kColumns, BenchData::kRows, type, image);
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

// The per-entry reference path, for comparison: one QColor per pixel.
void BM_ColorizerPerPixelColor(benchmark::State& state)
{
    const int type = static_cast<int>(state.range(0));
    const Frame frame = frameFor(type);
    ImageColorizer colorizer;
    QImage image(BenchData::kColumns, BenchData::kRows, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        colorizer.setRange(frame.min, frame.max);
        for (int c = 0; c < BenchData::kColumns; ++c)
            for (int r = 0; r < BenchData::kRows; ++r)
                image.setPixel(c, r, colorizer.color(frame.columns[c][r], type).rgb());
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

} // namespace

BENCHMARK(BM_ColorizerPaint)->ArgName("type")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColorizerPaintNewRange)->ArgName("type")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColorizerPerPixelColor)->ArgName("type")->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
