#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "app/core/LiveCamera.h"
#include "app/core/MeasureDlgState.h"
#include "image/ZoomTable.h"
#include "platform/Clock.h"
#include "settings/Guid.h"

// A frame's whole road at 60 frames per second: videotestsrc -> caps filter ->
// appsink -> capture frame (rows flipped under the frame lock) -> frame-ready
// call -> the UI side's display frame -> PaintPicture at x1 into a
// 1600 x 1000 back buffer. The benchmark's thread plays the UI thread: it
// waits for each frame-ready call as the posted event would arrive and
// answers it as the window does.
//
// Counters: frames shown and delivered per second over the run, frames
// dropped (60 per second expected, not shown), and the UI thread's median
// time per frame as a ratio to the median of one memcpy of the same delivered
// frame, measured beside it ("ratio_to_memcpy"). Targets: no frame dropped at 1920 x 1080; a ratio of
// at most 3 at 1920 x 1080.
namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kRate = 60;
constexpr auto kRun = 4s;

class FrameEvents {
public:
    void Post()
    {
        const std::scoped_lock lock(m_mutex);
        m_pending = true;
        m_changed.notify_one();
    }

    bool Wait(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        const bool arrived = m_changed.wait_for(lock, timeout, [this] { return m_pending; });
        m_pending = false;
        return arrived;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_pending = false;
};

double Median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void FramePath(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orvane-frame-path-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "home");
    PathRoots roots;
    roots.home = folder / "home";
    roots.configHome = folder / "config";
    roots.programFolder = folder / "program";

    FrameEvents events;
    LiveCamera camera(false);
    MeasureDlgState window(camera, roots);
    window.ConnectCapture([&events] { events.Post(); });
    window.LoadSettings();
    ProfileFile& profile = window.profile();
    profile.WriteInt("Sources", "Count", 1);
    profile.WriteString("Sources", "Name1", "Bench");
    profile.WriteString("Sources", "Pipeline1", "videotestsrc is-live=true pattern=smpte");
    profile.WriteInt("Bench", "Priority", 1000);
    profile.WriteInt("Bench", "Width", width);
    profile.WriteInt("Bench", "Height", height);
    profile.WriteInt("Bench", "Frame", kRate * 10);
    profile.WriteString("Bench", "SubType", FormatSubTypeText(kMediaSubtypeRgb24));
    window.settings().Device = -1;
    if (!window.BeginLive()) {
        state.SkipWithError("the test source does not go live");
        return;
    }
    ImageView& view = window.view();
    view.SetFrameRect(RECT{0, 0, 1600, 1000});
    view.ZoomChanged(1); // x1
    FrameImage back;
    std::vector<std::uint8_t> copy(window.frames().display.byteCount());

    // Per frame, so that the medians can be taken: a busy machine preempts
    // single frames, and a sum would carry those.
    std::vector<double> uiTimes;
    std::vector<double> baselines;
    std::int64_t shown = 0;
    std::uint64_t deliveredBefore = 0;
    for (auto _ : state) {
        // The first frames warm the pipeline up; counting starts after them.
        for (int i = 0; i < 10 && events.Wait(1000ms); ++i) {
            window.OnTick(TickCount());
            window.OnFrameReady(TickCount());
        }
        deliveredBefore = camera.capture().framesDelivered();
        const auto start = Clock::now();
        while (Clock::now() - start < kRun) {
            if (!events.Wait(100ms)) {
                continue;
            }
            // The baseline copies the frame just delivered, as the UI step does; the two
            // take turns going first, so that neither always finds it in the cache.
            const auto copyFrame = [&] {
                const auto t0 = Clock::now();
                {
                    const auto lock = camera.capture().LockFrame();
                    std::memcpy(copy.data(), window.frames().capture.bits(), copy.size());
                }
                benchmark::ClobberMemory();
                return std::chrono::duration<double>(Clock::now() - t0).count();
            };
            const bool baselineFirst = shown % 2 == 0;
            const double baselineTime = baselineFirst ? copyFrame() : 0.0;
            const std::uint32_t now = TickCount();
            const auto t0 = Clock::now();
            window.OnTick(now);
            const bool derived = window.OnFrameReady(now);
            view.PaintPicture(window.frames().display, back);
            benchmark::ClobberMemory();
            const auto t1 = Clock::now();
            if (derived) {
                ++shown;
                uiTimes.push_back(std::chrono::duration<double>(t1 - t0).count());
                baselines.push_back(baselineFirst ? baselineTime : copyFrame());
            }
        }
    }
    const double seconds = std::chrono::duration<double>(kRun).count() * static_cast<double>(state.iterations());
    const auto delivered = static_cast<double>(camera.capture().framesDelivered() - deliveredBefore);
    window.EndLive();
    std::error_code error;
    std::filesystem::remove_all(folder, error);

    state.counters["shown_per_s"] = static_cast<double>(shown) / seconds;
    state.counters["delivered_per_s"] = delivered / seconds;
    state.counters["dropped"] = std::max(0.0, kRate * seconds - static_cast<double>(shown));
    const double baseline = Median(baselines);
    state.counters["ratio_to_memcpy"] = baseline > 0.0 ? Median(uiTimes) / baseline : 0.0;
}

BENCHMARK(FramePath)->Args({1920, 1080})->Args({3840, 2160})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace orvane
