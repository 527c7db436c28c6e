#include <chrono>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "image/FrameImage.h"
#include "image/ImageView.h"
#include "image/ZoomTable.h"
#include "BenchPictures.h"

// Painting the picture into the back buffer, 1920 x 1080 into a 1600 x 1000
// frame, against one block copy of the frame's bytes measured in the same
// iterations ("ratio_to_memcpy"). Target: at most 4 at x1 and in fit mode.
namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

void PaintAt(benchmark::State& state, int zoomIndex)
{
    const FrameImage frame = bench::PatternedFrame(1920, 1080);
    std::vector<std::uint8_t> copy(frame.byteCount());
    ImageView view;
    view.SetImageSize(frame.width(), frame.height());
    view.SetFrameRect(RECT{0, 0, 1600, 1000});
    view.ZoomChanged(zoomIndex);
    // Somewhere inside the picture, as after a layout.
    view.SetPan(zoomIndex == kZoomFit ? 0.0 : -100.0, zoomIndex == kZoomFit ? 0.0 : -40.0);
    FrameImage back;
    view.PaintPicture(frame, back); // the back buffer is made once, then reused

    Clock::duration paint{};
    Clock::duration baseline{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(copy.data(), frame.bits(), frame.byteCount());
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        view.PaintPicture(frame, back);
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        baseline += t1 - t0;
        paint += t2 - t1;
    }
    benchmark::DoNotOptimize(copy.data());
    benchmark::DoNotOptimize(back.bits());
    state.counters["ratio_to_memcpy"] =
        std::chrono::duration<double>(paint).count() / std::chrono::duration<double>(baseline).count();
}

void BM_PaintX1(benchmark::State& state)
{
    PaintAt(state, 1);
}
void BM_PaintX2_4(benchmark::State& state)
{
    PaintAt(state, 8);
}
void BM_PaintFit(benchmark::State& state)
{
    PaintAt(state, kZoomFit);
}

BENCHMARK(BM_PaintX1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintX2_4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFit)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvane
