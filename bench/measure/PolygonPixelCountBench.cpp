#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "ReferenceRasteriser.h"
#include "measure/PolygonPixelCount.h"

// Area count of a polygon: the row-by-row count against the plain way of
// filling, outlining and counting a frame-sized canvas.
namespace orvane {
namespace {

constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 1024;

// 100 vertices, concave, about 300 pixels across, in the middle of the frame.
std::vector<PointD> BenchPolygon()
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> radius(100.0, 150.0);
    std::vector<PointD> polygon;
    const double turn = 2.0 * std::acos(-1.0);
    for (int i = 0; i < 100; ++i) {
        const double angle = i * turn / 100;
        const double r = radius(random);
        polygon.push_back({kFrameWidth / 2 + r * std::cos(angle), kFrameHeight / 2 + r * std::sin(angle)});
    }
    return polygon;
}

// Nanoseconds per iteration of the latest run of each benchmark.
double g_canvasNs = 0.0;
double g_scanlineNs = 0.0;

// CPU time of this thread: the machine may be shared, and wall time would
// count other processes' work into the ratio.
double ThreadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

template <typename Body> void TimedLoop(benchmark::State& state, double& nanosecondsPerIteration, Body body)
{
    const double start = ThreadCpuNanoseconds();
    for (auto _ : state) {
        body();
    }
    nanosecondsPerIteration = (ThreadCpuNanoseconds() - start) / static_cast<double>(state.iterations());
}

void BM_CanvasFillAndCount(benchmark::State& state)
{
    const std::vector<PointD> polygon = BenchPolygon();
    TimedLoop(state, g_canvasNs, [&polygon] {
        benchmark::DoNotOptimize(test::ReferencePolygonPixelCount(polygon, kFrameWidth, kFrameHeight));
    });
}
BENCHMARK(BM_CanvasFillAndCount)->Unit(benchmark::kMicrosecond);

void BM_ScanlineCount(benchmark::State& state)
{
    const std::vector<PointD> polygon = BenchPolygon();
    if (PolygonPixelCount(polygon, kFrameWidth, kFrameHeight) !=
        test::ReferencePolygonPixelCount(polygon, kFrameWidth, kFrameHeight)) {
        state.SkipWithError("counts differ from the canvas rasteriser");
        return;
    }
    TimedLoop(state, g_scanlineNs,
              [&polygon] { benchmark::DoNotOptimize(PolygonPixelCount(polygon, kFrameWidth, kFrameHeight)); });
    if (g_canvasNs > 0.0) {
        state.counters["ratio_to_canvas"] = g_canvasNs / g_scanlineNs;
    }
}
BENCHMARK(BM_ScanlineCount)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvane

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (orvane::g_canvasNs > 0.0 && orvane::g_scanlineNs > 0.0) {
        std::printf("ratio baseline/scanline: %.1f (target: at least 10)\n", orvane::g_canvasNs / orvane::g_scanlineNs);
    }
    return 0;
}
