#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "camctl/SimulatedCamera.h"
#include "capture/DemoCameraPicture.h"
#include "capture/DemoPicture.h"

// The demo camera's picture model on each 1280 x 1024 demo frame, on the
// demo feed's streaming thread: at the camera's power-on settings (passes 0:
// three channel tables only), with saturation (1), sharpness (2) or both (3)
// away from neutral. Counter "ratio_to_memcpy": the median time of one
// application as a ratio to the median of one memcpy of the same frame,
// measured beside it. Targets: at most 8 at power-on and at most 100 with
// both passes, so that a demo frame (1/15 s) never costs more than a fifth
// of a core.
namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void DemoCameraModel(benchmark::State& state)
{
    SimulatedPicture settings = SimulatedCamera().Picture();
    if (state.range(0) & 1) {
        settings.saturation = 100;
    }
    if (state.range(0) & 2) {
        settings.sharpness = 6;
    }
    const DemoScene scene;
    std::vector<std::uint8_t> frame(DemoScene::FrameBytes());
    std::vector<std::uint8_t> copy(DemoScene::FrameBytes());
    std::vector<double> applied;
    std::vector<double> copied;
    std::uint64_t number = 0;
    for (auto _ : state) {
        state.PauseTiming();
        scene.DrawFrame(number++, frame.data());
        state.ResumeTiming();
        const auto start = Clock::now();
        ApplyDemoCamera(frame.data(), kDemoWidth, kDemoHeight, settings);
        const auto middle = Clock::now();
        std::memcpy(copy.data(), frame.data(), frame.size());
        const auto end = Clock::now();
        benchmark::DoNotOptimize(copy.data());
        applied.push_back(std::chrono::duration<double>(middle - start).count());
        copied.push_back(std::chrono::duration<double>(end - middle).count());
    }
    state.counters["ratio_to_memcpy"] = Median(applied) / Median(copied);
}

BENCHMARK(DemoCameraModel)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->ArgName("passes")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvane
