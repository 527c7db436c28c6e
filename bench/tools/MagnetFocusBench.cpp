#include <algorithm>
#include <cstring>
#include <memory>
#include <time.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "image/FrameImage.h"
#include "tools/FocusMeter.h"
#include "tools/MagnetEdge.h"

// The magnet's edge image and a focus meter's sharpness, each reported as a
// ratio to a memcpy of the bytes it reads, measured alternately in the same
// run ("ratio_to_memcpy"), single thread. Both are timed in the thread's CPU
// time, so that other processes on a shared machine do not enter the ratio.
namespace orvane {
namespace {

// A picture with edges everywhere: a pseudo-random texture.
FrameImage Frame(int width, int height)
{
    FrameImage image;
    image.Create(width, height, 24);
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < image.byteCount(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        image.bits()[i] = static_cast<std::uint8_t>(seed >> 24);
    }
    return image;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Fn> double Seconds(Fn&& fn)
{
    const double start = ThreadSeconds();
    fn();
    benchmark::ClobberMemory();
    return ThreadSeconds() - start;
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Median time of `operation` over median time of copying `bytes`.
template <class Fn> double RatioToMemcpy(Fn&& operation, std::size_t bytes)
{
    const std::unique_ptr<std::uint8_t[]> source(new std::uint8_t[bytes]);
    const std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[bytes]);
    std::memset(source.get(), 0x3C, bytes);
    std::memset(target.get(), 0, bytes);
    constexpr int kRounds = 31;
    std::vector<double> operationTimes;
    std::vector<double> copyTimes;
    for (int round = 0; round < kRounds; ++round) {
        operationTimes.push_back(Seconds(operation));
        copyTimes.push_back(Seconds([&] { std::memcpy(target.get(), source.get(), bytes); }));
    }
    return Median(operationTimes) / Median(copyTimes);
}

// Target: at most 4 x a memcpy of the frame at 3840 x 2160.
void EdgeImage(benchmark::State& state)
{
    const FrameImage frame = Frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    FrameImage edge;
    const auto run = [&] { UpdateEdgeImage(frame, kMagnetEdge, edge); };
    run();
    for (auto _ : state) {
        run();
        benchmark::ClobberMemory();
    }
    state.counters["ratio_to_memcpy"] = RatioToMemcpy(run, frame.byteCount());
}
BENCHMARK(EdgeImage)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// Target: under 0.5 ms for one 400 x 400 area of a 1920 x 1080 frame.
void FocusArea400(benchmark::State& state)
{
    const FrameImage frame = Frame(1920, 1080);
    const RECT area{700, 300, 1100, 700};
    std::vector<std::uint16_t> grey;
    int sharpness = 0;
    const auto run = [&] { sharpness = FocusSharpness(frame, area, grey); };
    for (auto _ : state) {
        run();
        benchmark::DoNotOptimize(sharpness);
    }
    state.counters["ratio_to_memcpy"] = RatioToMemcpy(run, static_cast<std::size_t>(400) * 400 * 3);
}
BENCHMARK(FocusArea400)->Unit(benchmark::kMicrosecond);

// The thresholded picture "Show" paints, from the edge image.
void ShowPicture(benchmark::State& state)
{
    const FrameImage frame = Frame(3840, 2160);
    FrameImage edge;
    FrameImage shown;
    UpdateEdgeImage(frame, kMagnetEdge, edge);
    const MagnetOptions options;
    const auto run = [&] { ThresholdForDisplay(frame, edge, options, shown); };
    run();
    for (auto _ : state) {
        run();
        benchmark::ClobberMemory();
    }
    state.counters["ratio_to_memcpy"] = RatioToMemcpy(run, edge.byteCount());
}
BENCHMARK(ShowPicture)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvane
