#include <chrono>
#include <cstring>
#include <vector>

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include "app/qt/QtDrawingSurface.h"
#include "image/FrameImage.h"
#include "image/GridDrawing.h"
#include "tools/CrossLineDrawing.h"
#include "BenchPictures.h"

// Three cross-line bands (a solid opaque one, a half-transparent one and a
// dashed one, 5, 3 and 10 pixels wide) and the grid (100 pixels) over a
// 1920 x 1080 back buffer, against one block copy of that buffer measured in
// the same iterations ("ratio_to_memcpy"). Target: at most 2.
namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

CrossLine Band(int x, int y, COLORREF colour, int size, int draw, int type)
{
    CrossLine line;
    line.Show = 1;
    line.Pos_x = x;
    line.Pos_y = y;
    line.Color = colour;
    line.Size = size;
    line.Draw = draw;
    line.Type = type;
    return line;
}

void BM_CrossLinesAndGrid(benchmark::State& state)
{
    // The QPainter surface draws lines without a screen.
    static int argc = 1;
    static char name[] = "orvane_tools_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);

    FrameImage back = bench::PatternedFrame(1920, 1080);
    std::vector<std::uint8_t> copy(back.byteCount());
    // The master and two slaves placed relative to it.
    const std::vector<CrossLine> lines{Band(960, 540, RGB(255, 0, 0), 5, 100, 0),
                                       Band(-300, 200, RGB(0, 255, 0), 3, 50, 0),
                                       Band(400, -250, RGB(0, 0, 255), 10, 70, 1)};
    const ViewTransform atOne{};

    Clock::duration draw{};
    Clock::duration baseline{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(copy.data(), back.bits(), back.byteCount());
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        BlendCrossLines(back, atOne, lines);
        {
            QtDrawingSurface surface(back);
            DrawGrid(surface, atOne, back.width(), back.height(), 100, RGB(128, 128, 255));
        }
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        baseline += t1 - t0;
        draw += t2 - t1;
    }
    benchmark::DoNotOptimize(copy.data());
    benchmark::DoNotOptimize(back.bits());
    state.counters["ratio_to_memcpy"] =
        std::chrono::duration<double>(draw).count() / std::chrono::duration<double>(baseline).count();
}

BENCHMARK(BM_CrossLinesAndGrid)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvane
