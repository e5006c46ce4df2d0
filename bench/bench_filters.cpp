// Post-processing filters on one 328 x 252 frame, next to OpenCV's medianBlur of the same
// size on the same data (32-bit float holds every field value exactly, -1 and status codes
// included; the 16-bit run is for comparison only, as it cannot hold -1).
#include "BenchData.h"

#include "render/MedianKernel.h"

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <vector>

namespace {

void medianPass(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    std::vector<int> field = BenchData::distanceField();
    MedianKernel kernel;
    kernel.apply(field.data(), BenchData::kColumns, BenchData::kRows, 0, BenchData::kColumns - 1, 0,
                 BenchData::kRows - 1, size);
    // Filters the same field again and again (restoring it every round would add a copy to
    // the figure). The larger sizes' searches branch on the data, which grows smoother with
    // every pass, so BM_MedianFreshFrame is the figure for a new frame.
    for (auto _ : state) {
        kernel.apply(field.data(), BenchData::kColumns, BenchData::kRows, 0, BenchData::kColumns - 1, 0,
                     BenchData::kRows - 1, size);
        benchmark::DoNotOptimize(field.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

// The frame as OpenCV's image of 252 rows by 328 columns.
cv::Mat openCvImage(int depth)
{
    const std::vector<int> field = BenchData::distanceField();
    cv::Mat image(BenchData::kRows, BenchData::kColumns, CV_32F);
    for (int c = 0; c < BenchData::kColumns; ++c)
        for (int r = 0; r < BenchData::kRows; ++r)
            image.at<float>(r, c) =
                static_cast<float>(field[static_cast<std::size_t>(c) * BenchData::kRows + r]);
    if (depth == CV_32F)
        return image;
    cv::Mat converted;
    image.convertTo(converted, depth);
    return converted;
}

void openCvMedianBlur(benchmark::State& state, int depth)
{
    cv::setNumThreads(1); // the client filters on the GUI thread
    const int size = static_cast<int>(state.range(0));
    const cv::Mat source = openCvImage(depth);
    cv::Mat target(source.size(), source.type());
    for (auto _ : state) {
        cv::medianBlur(source, target, size);
        benchmark::DoNotOptimize(target.data);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

void BM_Median(benchmark::State& state)
{
    medianPass(state);
}

// One pass over a fresh frame each time (the first of the iterations a user sets; the
// figure includes copying the frame in, a few microseconds).
void BM_MedianFreshFrame(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const std::vector<int> frame = BenchData::distanceField();
    std::vector<int> field = frame;
    MedianKernel kernel;
    for (auto _ : state) {
        std::copy(frame.begin(), frame.end(), field.begin());
        kernel.apply(field.data(), BenchData::kColumns, BenchData::kRows, 0, BenchData::kColumns - 1, 0,
                     BenchData::kRows - 1, size);
        benchmark::DoNotOptimize(field.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BenchData::kColumns * BenchData::kRows);
}

void BM_OpenCvMedianBlur32F(benchmark::State& state)
{
    openCvMedianBlur(state, CV_32F);
}

void BM_OpenCvMedianBlur16U(benchmark::State& state)
{
    openCvMedianBlur(state, CV_16U);
}

} // namespace

BENCHMARK(BM_Median)->ArgName("size")->DenseRange(3, 31, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MedianFreshFrame)->ArgName("size")->DenseRange(3, 31, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenCvMedianBlur32F)->ArgName("size")->Arg(3)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenCvMedianBlur16U)->ArgName("size")->Arg(3)->Arg(5)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
