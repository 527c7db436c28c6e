#include "app/measure/MeasureLayer.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "../core/PlaceMeasurement.h"
#include "app/core/MeasureSession.h"
#include "app/qt/QtDrawingSurface.h"
#include "files/MeasureFile.h"
#include "image/ZoomTable.h"
#include "measure/CCalibChain.h"

// The cached layer against the direct drawing it stands in for: the same
// pixels over a busy picture for every kind, zoom and pan, and after every
// kind of change (each must draw the layer anew).
namespace orvane {
namespace {

constexpr int kImageWidth = 640;
constexpr int kImageHeight = 480;

// A picture with every byte value somewhere, so that blends show.
FrameImage Busy(int width, int height)
{
    FrameImage image;
    EXPECT_TRUE(image.Create(width, height, 24));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.Row(y);
        for (int x = 0; x < 3 * width; ++x) {
            row[x] = static_cast<std::uint8_t>((x * 7 + y * 13 + (x * y) % 31) & 0xFF);
        }
    }
    return image;
}

// Pixels where the two pictures differ.
int Differences(const FrameImage& a, const FrameImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < 3 * a.width(); ++x) {
            count += a.Row(y)[x] != b.Row(y)[x] ? 1 : 0;
        }
    }
    return count;
}

class MeasureLayerTest : public ::testing::Test {
public:
    MeasureLayerTest()
    {
        AddDefaultCalibrations(calibrations);
        view.SetImageSize(kImageWidth, kImageHeight);
        view.SetFrameRect(RECT{0, 0, kImageWidth, kImageHeight});
        session.SelectCalibration(0);
    }

    void Measure(std::int32_t mode, std::initializer_list<IntPoint> points)
    {
        test::PlaceMeasurement(session.interaction(), mode, points);
    }

    void MeasureEveryKind()
    {
        Measure(kModeLength, {{30, 40}, {230, 90}});
        Measure(kModeArea, {{300, 200}, {420, 210}, {400, 330}});
        Measure(kModeCircle, {{100, 300}, {140, 340}, {100, 380}});
        Measure(kModeTwoCircles, {{400, 60}, {420, 80}, {400, 100}, {520, 60}, {540, 80}, {520, 100}});
        Measure(kModePerpendicular, {{10, 450}, {600, 420}, {300, 380}});
        Measure(kModeAngle, {{500, 300}, {550, 350}, {600, 300}});
    }

    // The frame painted with the layer, and as the direct drawing paints it,
    // into a back buffer of `picture` pixels.
    int PaintAndCompare(FrameSize picture)
    {
        const std::optional<ViewTransform> transform = view.transform();
        EXPECT_TRUE(transform.has_value());
        const FrameImage background = Busy(picture.width, picture.height);
        FrameImage cached = background;
        layer.Paint(cached, *transform);
        FrameImage direct = background;
        {
            QtDrawingSurface surface(direct);
            session.DrawMeasurements(surface, *transform, picture);
        }
        return Differences(cached, direct);
    }

    OrvaneSettings settings;
    CCalibChain calibrations;
    ImageView view;
    MeasureSession session{settings, calibrations, view};
    MeasureLayer layer{session};
};

struct ViewCase {
    const char* name;
    int zoomIndex;
    double panX;
    double panY;
    int lineWidth;
    bool showAngle;
};

TEST_F(MeasureLayerTest, EveryKindIsDrawnAsDirectlyAtEveryZoomAndPan)
{
    const std::vector<ViewCase> cases{
        {"x1", 1, 0.0, 0.0, 1, true},
        {"x1 panned", 1, -120.0, -90.0, 1, true},
        {"x2.4 panned", 8, -200.0, -150.0, 1, true},
        {"x5 panned", 21, -350.0, -300.0, 1, false},
        {"fit", kZoomFit, 0.0, 0.0, 1, true},
        {"x1 wide pen", 1, -30.0, -20.0, 4, true},
        {"x1.8 wide pen", 5, -100.0, -60.0, 3, false},
        {"fit wide pen", kZoomFit, 0.0, 0.0, 2, true},
    };
    MeasureEveryKind();
    // A second length crossing the first one's labels: text over text.
    Measure(kModeLength, {{120, 50}, {60, 80}});
    for (const ViewCase& c : cases) {
        settings.color.linesize = c.lineWidth;
        settings.color.showangle = c.showAngle ? 1 : 0;
        view.ZoomChanged(c.zoomIndex);
        view.SetPan(c.panX, c.panY);
        // A frame of another shape than the picture: fit stretches unevenly.
        EXPECT_EQ(PaintAndCompare({420, 300}), 0) << c.name;
    }
}

TEST_F(MeasureLayerTest, UnchangedViewAndRecordsReuseTheLayer)
{
    MeasureEveryKind();
    EXPECT_EQ(PaintAndCompare({kImageWidth, kImageHeight}), 0);
    EXPECT_EQ(PaintAndCompare({kImageWidth, kImageHeight}), 0);
    EXPECT_EQ(layer.rebuildCount(), 1);
}

struct ChangeCase {
    const char* name;
    std::function<void(MeasureLayerTest&, FrameSize&)> change;
    bool onlyRows = false; // records changed in place: only their rows drawn anew
};

TEST_F(MeasureLayerTest, EveryChangeDrawsTheLayerAnew)
{
    const std::filesystem::path results = std::filesystem::temp_directory_path() / "orvane-layer-test.mes";
    const std::vector<ChangeCase> cases{
        {"measurement added", [](MeasureLayerTest& t, FrameSize&) { t.Measure(kModeLength, {{50, 200}, {90, 260}}); }},
        {"point dragged",
         [](MeasureLayerTest& t, FrameSize&) {
             MeasureInteraction& interaction = t.session.interaction();
             interaction.OnRButtonDown(30, 40);
             interaction.OnMouseMove(60, 120, false);
             interaction.OnRButtonUp();
         },
         true},
        {"rows selected", [](MeasureLayerTest& t, FrameSize&) { t.session.interaction().OnListItemChanged({{0, 1}}); },
         true},
        {"selection cleared", [](MeasureLayerTest& t, FrameSize&) { t.session.interaction().OnListItemChanged({}); },
         true},
        {"selected deleted",
         [](MeasureLayerTest& t, FrameSize&) {
             t.session.interaction().OnListItemChanged({{2}});
             t.session.interaction().OnDelete();
         }},
        {"line colour", [](MeasureLayerTest& t, FrameSize&) { t.settings.color.line = RGB(255, 0, 0); }},
        {"text colour", [](MeasureLayerTest& t, FrameSize&) { t.settings.color.text = RGB(255, 255, 0); }},
        {"font", [](MeasureLayerTest& t, FrameSize&) { t.settings.color.font.lfHeight = -30; }},
        {"angle labels off", [](MeasureLayerTest& t, FrameSize&) { t.settings.color.showangle = 0; }},
        {"calibration", [](MeasureLayerTest& t, FrameSize&) { t.session.SelectCalibration(5); }, true},
        {"zoom", [](MeasureLayerTest& t, FrameSize&) { t.view.ZoomChanged(6); }},
        {"pan", [](MeasureLayerTest& t, FrameSize&) { t.view.SetPan(-60.0, -45.0); }},
        {"resize", [](MeasureLayerTest&, FrameSize& picture) { picture = {500, 360}; }},
        {"results loaded",
         [results](MeasureLayerTest& t, FrameSize&) {
             CMeasureChain other;
             MEASURE record;
             record.kind = FinishedKind(kModeLength);
             record.pointCount = 2;
             record.points.Grow(0, 2);
             record.points.SetAt(0, 10.0, 10.0);
             record.points.SetAt(1, 300.0, 200.0);
             record.value[0] = 1.5;
             other.AddTailCopy(&record);
             ASSERT_EQ(SaveMeasureFile(other, results), 1);
             ASSERT_EQ(t.session.LoadResults(results).loaded, 1);
         }},
        {"everything deleted", [](MeasureLayerTest& t, FrameSize&) {
             MeasureHost host;
             host.askYesNo = [](std::string_view, std::string_view) { return true; };
             t.session.SetHost(host);
             t.session.interaction().OnDelete();
         }},
    };
    MeasureEveryKind();
    FrameSize picture{kImageWidth, kImageHeight};
    ASSERT_EQ(PaintAndCompare(picture), 0);
    for (const ChangeCase& c : cases) {
        const int before = layer.rebuildCount();
        const int partsBefore = layer.partialCount();
        c.change(*this, picture);
        EXPECT_EQ(PaintAndCompare(picture), 0) << c.name;
        EXPECT_EQ(layer.rebuildCount(), before + 1) << c.name;
        EXPECT_EQ(layer.partialCount(), partsBefore + (c.onlyRows ? 1 : 0)) << c.name;
    }
    std::filesystem::remove(results);
}

TEST(OverlayLayerTest, BlendsOverBlendsAsPainterDoes)
{
    // Two glyph edges over one pixel, over an opaque pen, and alone.
    struct Case {
        std::vector<std::pair<COLORREF, int>> steps;
        std::uint8_t under;
        std::uint8_t red;
    };
    const std::vector<Case> cases{
        {{{RGB(255, 0, 0), 128}}, 0, BlendChannel(255, 128, 0)},
        {{{RGB(255, 0, 0), 100}, {RGB(0, 0, 0), 200}}, 90, BlendChannel(0, 200, BlendChannel(255, 100, 90))},
        {{{RGB(10, 0, 0), 255}, {RGB(250, 0, 0), 77}}, 200, BlendChannel(250, 77, 10)},
        {{{RGB(250, 0, 0), 77}, {RGB(10, 0, 0), 255}}, 200, 10},
    };
    for (const Case& c : cases) {
        OverlayLayer layer;
        layer.Reset(2, 1);
        for (const auto& [colour, coverage] : c.steps) {
            layer.Blend(1, 0, colour, coverage);
        }
        FrameImage picture;
        ASSERT_TRUE(picture.Create(2, 1, 24));
        picture.Fill(nullptr, RGB(c.under, c.under, c.under));
        ASSERT_TRUE(layer.CompositeOnto(picture));
        EXPECT_EQ(picture.Row(0)[5], c.red);
        EXPECT_EQ(picture.Row(0)[2], c.under) << "an untouched pixel stays";
    }
}

} // namespace
} // namespace orvane

// Fonts need a QGuiApplication; without a screen it runs offscreen.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
