#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "image/FrameImage.h"
#include "image/PixelOps.h"

// Frame copies and nearest-neighbour resampling, each reported as a ratio to a
// plain memcpy of the destination's bytes measured in the same run
// ("ratio_to_memcpy"). The two are timed alternately so that load from other
// processes falls on both alike.
namespace orvane {
namespace {

FrameImage Frame(int width, int height)
{
    FrameImage image;
    image.Create(width, height, 24);
    for (std::size_t i = 0; i < image.byteCount(); ++i) {
        image.bits()[i] = static_cast<std::uint8_t>(i * 7 + (i >> 11));
    }
    return image;
}

template <class Fn> double Seconds(Fn&& fn)
{
    const auto start = std::chrono::steady_clock::now();
    fn();
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Median time of `operation` over median time of copying `bytes` into `target`.
template <class Fn> double RatioToMemcpy(Fn&& operation, std::uint8_t* target, std::size_t bytes)
{
    const std::unique_ptr<std::uint8_t[]> source(new std::uint8_t[bytes]);
    std::memset(source.get(), 0x3C, bytes);
    constexpr int kRounds = 31;
    std::vector<double> operationTimes;
    std::vector<double> copyTimes;
    for (int round = 0; round < kRounds; ++round) {
        operationTimes.push_back(Seconds(operation));
        copyTimes.push_back(Seconds([&] { std::memcpy(target, source.get(), bytes); }));
    }
    return Median(operationTimes) / Median(copyTimes);
}

void Resample(benchmark::State& state)
{
    const FrameImage source = Frame(1280, 1024);
    FrameImage target;
    target.Create(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 24);
    const auto run = [&] { target.ApplyScaledOp(Resample24To24, source, nullptr, nullptr); };
    for (auto _ : state) {
        run();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(target.byteCount()));
    state.counters["ratio_to_memcpy"] = RatioToMemcpy(run, target.bits(), target.byteCount());
}
BENCHMARK(Resample)->Args({640, 512})->Args({2560, 2048})->Unit(benchmark::kMicrosecond);

// The frame hand-over: the target already has the frame's size.
void CopyFrom(benchmark::State& state)
{
    const FrameImage source = Frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    FrameImage target;
    target.CopyFrom(source);
    const auto run = [&] { target.CopyFrom(source); };
    for (auto _ : state) {
        run();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(target.byteCount()));
    state.counters["ratio_to_memcpy"] = RatioToMemcpy(run, target.bits(), target.byteCount());
}
BENCHMARK(CopyFrom)->Args({1280, 1024})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// A copy into an empty image, paying for the allocation each time.
void CopyFromEmpty(benchmark::State& state)
{
    const FrameImage source = Frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    FrameImage target;
    const auto run = [&] {
        target.Release();
        target.CopyFrom(source);
    };
    for (auto _ : state) {
        run();
        benchmark::ClobberMemory();
    }
    std::vector<std::uint8_t> scratch(source.byteCount());
    state.counters["ratio_to_memcpy"] = RatioToMemcpy(run, scratch.data(), scratch.size());
}
BENCHMARK(CopyFromEmpty)->Args({1280, 1024})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvane
