#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "camctl/C5U87xCtl.h"
#include "camctl/SimulatedCamera.h"
#include "capture/CameraImageSetup.h"
#include "capture/WhiteBalance.h"
#include "image/FrameImage.h"
#include "platform/ProfileFile.h"

// The maker camera's image settings on the UI thread. Counter
// "ratio_to_memcpy": the median time of the work as a ratio to the median of
// one memcpy of a 1280 x 1024 24-bit frame, measured beside it.
// - WhiteBalanceSums: the sums over the display frame that a white-balance
//   request costs the frame it takes. Target: at most 8.
// - ApplySavedSettings: the start-up registers, the apply pulse and the eight
//   values of section "Camera", through the library (device lock and request
//   bytes per access) on the simulated camera; a real camera adds a USB
//   control transfer per access, which only a device can tell. Target: at
//   most 50, so the library's own share stays within a frame.
namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

double Median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Times `work` and a frame memcpy beside it, and reports their ratio.
template <typename Work> void RatioToMemcpy(benchmark::State& state, Work work)
{
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(kWidth) * kHeight * 3, 0x5A);
    std::vector<std::uint8_t> copy(frame.size());
    std::vector<double> worked;
    std::vector<double> copied;
    for (auto _ : state) {
        const auto start = Clock::now();
        work();
        const auto middle = Clock::now();
        std::memcpy(copy.data(), frame.data(), frame.size());
        const auto end = Clock::now();
        benchmark::DoNotOptimize(copy.data());
        worked.push_back(std::chrono::duration<double>(middle - start).count());
        copied.push_back(std::chrono::duration<double>(end - middle).count());
    }
    state.counters["ratio_to_memcpy"] = Median(worked) / Median(copied);
}

void WhiteBalanceSums(benchmark::State& state)
{
    FrameImage display;
    display.Create(kWidth, kHeight, 24);
    std::fill(display.bits(), display.bits() + display.byteCount(), std::uint8_t{0x7C});
    WhiteBalanceRequest request;
    RatioToMemcpy(state, [&] {
        request.requested = true;
        MeasureWhiteBalance(display, request);
        benchmark::DoNotOptimize(request.redRatio);
    });
}
BENCHMARK(WhiteBalanceSums)->Unit(benchmark::kMicrosecond);

void ApplySavedSettings(benchmark::State& state)
{
    const std::filesystem::path locks = std::filesystem::temp_directory_path();
    C5U87xCtl control(locks);
    control.Attach(std::make_shared<SimulatedCamera>("orvane-image-settings-bench"));
    control.SetAddressWidth(1);
    control.SetDataWidth(2);
    ProfileFile profile;
    profile.LoadFromText("[Camera]\nWB_RED=40\nWB_GREEN=32\nWB_BLUE=36\nEXPOSURE=900\nVP_GAMMA=120\n");
    RatioToMemcpy(state, [&] { CameraImageSetup(control).ApplySavedSettings(profile); });
}
BENCHMARK(ApplySavedSettings)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvane
