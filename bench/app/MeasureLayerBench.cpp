#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>

#include <filesystem>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <benchmark/benchmark.h>

#include "BenchPictures.h"
#include "app/core/MeasureSession.h"
#include "app/measure/MeasureLayer.h"
#include "app/measure/ResultListMirror.h"
#include "files/MeasureFile.h"
#include "app/qt/FrameImageQt.h"
#include "app/qt/QtDrawingSurface.h"
#include "image/ImageView.h"
#include "image/ZoomTable.h"
#include "measure/CCalibChain.h"

// One frame's paint of a 1920 x 1080 picture into a 1600 x 900 picture area
// (x1 and fit) with N finished lengths spread over the picture, through the
// program's paint (ImageView::PaintPicture with the measurement layer as its
// overlay step, then the back buffer drawn into a window-format image as the
// picture area shows it), as a ratio to the same paint with no measurements measured
// in the same iterations ("ratio_to_empty"). Targets between edits: at most
// 1.5 with 1000 lengths, 2 with 10,000. The cost of drawing the layer anew
// after an edit (wholly, and in part after a selection), and of the direct
// drawing the layer replaces, are reported the same way.
namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kImageWidth = 1920;
constexpr int kImageHeight = 1080;
constexpr RECT kFrame{0, 0, 1600, 900};

void EnsureGuiApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "orvane_app_bench";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
}

// A window's measuring without the window: the view, the session and its layer.
struct Scene {
    explicit Scene(int zoomIndex, std::int64_t lengths)
    {
        MakeLengths(zoomIndex, lengths);
    }

    void MakeLengths(int zoomIndex, std::int64_t lengths)
    {
        AddDefaultCalibrations(calibrations);
        view.SetImageSize(kImageWidth, kImageHeight);
        view.SetFrameRect(kFrame);
        view.ZoomChanged(zoomIndex);
        view.SetPan(zoomIndex == kZoomFit ? 0.0 : -160.0, zoomIndex == kZoomFit ? 0.0 : -90.0);
        session.SelectCalibration(0);
        // Short lengths anywhere on the picture, from a fixed sequence.
        std::uint32_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
        };
        CMeasureChain& chain = session.interaction().chain();
        for (std::int64_t i = 0; i < lengths; ++i) {
            MEASURE record;
            record.kind = FinishedKind(kModeLength);
            record.pointCount = 2;
            record.points.Grow(0, 2);
            const double x = next() * kImageWidth;
            const double y = next() * kImageHeight;
            const double angle = next() * 6.283185307179586;
            const double length = 20.0 + next() * 60.0;
            record.points.SetAt(0, x, y);
            record.points.SetAt(1, x + length * std::cos(angle), y + length * std::sin(angle));
            record.unit = kUnitUm;
            record.value[0] = length * 1.37;
            record.value[1] = angle * 57.29577951308232;
            chain.AddTailCopy(&record);
        }
        view.overlays().measurements = [this](FrameImage& backBuffer, const ViewTransform& transform) {
            layer.Paint(backBuffer, transform);
        };
    }

    OrvaneSettings settings;
    CCalibChain calibrations;
    ImageView view;
    MeasureSession session{settings, calibrations, view};
    MeasureLayer layer{session};
    FrameImage back;
    // The window's backing store, as PictureView::paintEvent draws into it.
    QImage screen{kFrame.right, kFrame.bottom, QImage::Format_ARGB32_Premultiplied};

    // What the picture area does for one frame: the back buffer with its
    // overlays, then shown. The time of each part is added up.
    void PaintFrame(const FrameImage& frame, Clock::duration& picture, Clock::duration& shown)
    {
        const auto t0 = Clock::now();
        view.PaintPicture(frame, back);
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        QPainter painter(&screen);
        DrawFrameImage(painter, QPointF(0, 0), back);
        painter.end();
        benchmark::ClobberMemory();
        picture += t1 - t0;
        shown += Clock::now() - t1;
    }
};

enum class Mode { BetweenEdits, AfterEdit, AfterSelection, Direct };

void Paint(benchmark::State& state, int zoomIndex, Mode mode)
{
    EnsureGuiApplication();
    const FrameImage frame = bench::PatternedFrame(kImageWidth, kImageHeight);
    Scene empty(zoomIndex, 0);
    Scene full(zoomIndex, state.range(0));
    if (mode == Mode::Direct) {
        full.view.overlays().measurements = [&full](FrameImage& backBuffer, const ViewTransform& transform) {
            QtDrawingSurface surface(backBuffer);
            full.session.DrawMeasurements(surface, transform, {backBuffer.width(), backBuffer.height()});
        };
    }
    Clock::duration emptyPicture{};
    Clock::duration emptyShown{};
    Clock::duration fullPicture{};
    Clock::duration fullShown{};
    empty.PaintFrame(frame, emptyPicture, emptyShown);
    full.PaintFrame(frame, fullPicture, fullShown);
    emptyPicture = emptyShown = fullPicture = fullShown = {};

    for (auto _ : state) {
        empty.PaintFrame(frame, emptyPicture, emptyShown);
        if (mode == Mode::AfterEdit) {
            // A change every record shows (the line colour): the layer drawn whole.
            full.settings.color.line ^= 1u;
        } else if (mode == Mode::AfterSelection) {
            // One record selected or not, as a click in the list does.
            CMeasureChain& chain = full.session.interaction().chain();
            chain.First()->selected ^= 1;
            chain.Touch();
        }
        full.PaintFrame(frame, fullPicture, fullShown);
    }
    // The whole frame, and the back buffer alone (the part the layer changes).
    state.counters["ratio_to_empty"] =
        Seconds(fullPicture + fullShown).count() / Seconds(emptyPicture + emptyShown).count();
    state.counters["picture_ratio_to_empty"] = Seconds(fullPicture).count() / Seconds(emptyPicture).count();
    state.counters["empty_frame_ms"] =
        1000.0 * Seconds(emptyPicture + emptyShown).count() / static_cast<double>(state.iterations());
    state.counters["rebuilds"] = full.layer.rebuildCount();
    state.counters["partial_rebuilds"] = full.layer.partialCount();
    state.counters["passes"] = static_cast<double>(full.layer.layer().passCount());
    state.counters["covered_share"] = static_cast<double>(full.layer.layer().TouchedPixels()) /
                                      (static_cast<double>(full.back.width()) * full.back.height());
}

void BM_PaintX1(benchmark::State& state)
{
    Paint(state, 1, Mode::BetweenEdits);
}
void BM_PaintFit(benchmark::State& state)
{
    Paint(state, kZoomFit, Mode::BetweenEdits);
}
void BM_RebuildAfterEditX1(benchmark::State& state)
{
    Paint(state, 1, Mode::AfterEdit);
}
void BM_RebuildAfterEditFit(benchmark::State& state)
{
    Paint(state, kZoomFit, Mode::AfterEdit);
}
void BM_SelectionChangeX1(benchmark::State& state)
{
    Paint(state, 1, Mode::AfterSelection);
}
void BM_DirectDrawingFit(benchmark::State& state)
{
    Paint(state, kZoomFit, Mode::Direct);
}

// Loading a results file of N lengths as the LOAD button does (read, list
// refilled into the results list view's model, the first paint drawing the
// layer), as a ratio to one frame's paint with no measurements: the frames
// the window stands still for.
void BM_LoadResults(benchmark::State& state)
{
    EnsureGuiApplication();
    const FrameImage frame = bench::PatternedFrame(kImageWidth, kImageHeight);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "orvane-bench-load.mes";
    {
        const Scene source(kZoomFit, state.range(0));
        SaveMeasureFile(source.session.interaction().chain(), file);
    }
    Scene empty(kZoomFit, 0);
    Scene target(kZoomFit, 0);
    QTableView list;
    ResultListMirror mirror(target.session.interaction().list(), list);
    list.resize(200, 300);
    Clock::duration emptyPicture{};
    Clock::duration emptyShown{};
    Clock::duration load{};
    Clock::duration firstPaint{};
    Clock::duration loadShown{};
    for (auto _ : state) {
        empty.PaintFrame(frame, emptyPicture, emptyShown);
        const auto t0 = Clock::now();
        target.session.LoadResults(file);
        QImage listPicture(list.size(), QImage::Format_ARGB32_Premultiplied);
        list.render(&listPicture);
        load += Clock::now() - t0;
        target.PaintFrame(frame, firstPaint, loadShown);
    }
    std::filesystem::remove(file);
    const double emptyFrame = Seconds(emptyPicture + emptyShown).count();
    state.counters["frames_blocked"] = Seconds(load + firstPaint + loadShown).count() / emptyFrame;
    state.counters["frames_reading_and_listing"] = Seconds(load).count() / emptyFrame;
    state.counters["frames_first_paint"] = Seconds(firstPaint + loadShown).count() / emptyFrame;
}

BENCHMARK(BM_LoadResults)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintX1)->Arg(0)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFit)->Arg(0)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAfterEditX1)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAfterEditFit)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionChangeX1)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectDrawingFit)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace orvane
