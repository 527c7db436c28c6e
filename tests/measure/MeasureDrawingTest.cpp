#include "measure/MeasureDrawing.h"

#include <climits>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingSurface.h"
#include "measure/CMeasureChain.h"
#include "measure/ResultFormat.h"
#include "platform/StringTable.h"

namespace orvane {
namespace {

using test::DotCall;
using test::EllipseCall;
using test::LineCall;
using test::PenCall;
using test::PolygonCall;
using test::PolylineCall;
using test::RecordingSurface;
using test::TextCall;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

MEASURE Record(std::int32_t kind, std::initializer_list<PointD> points, std::int32_t unit = kUnitMm)
{
    MEASURE record;
    record.kind = kind;
    record.unit = unit;
    std::int32_t i = 0;
    for (const PointD& p : points) {
        record.points.SetAt(i++, p.x, p.y);
    }
    record.pointCount = i;
    return record;
}

MeasureCanvas Canvas(double sx, double sy, double px = 0.0, double py = 0.0, FrameSize image = {640, 480},
                     FrameSize picture = {640, 480})
{
    return MeasureCanvas{ViewTransform{sx, sy, px, py}, image, picture};
}

MeasureStyle Style()
{
    MeasureStyle style;
    style.lineColour = kRed;
    style.lineWidth = 2;
    style.textColour = kYellow;
    return style;
}

std::string Angle(double degrees)
{
    return FormatAngleLabel(degrees);
}

class MeasureDrawingTest : public ::testing::Test {
protected:
    void SetUp() override { SetCurrentLanguage(Language::English); }

    RecordingSurface surface;
};

// ---- mapping ---------------------------------------------------------------

struct MappingCase {
    ViewTransform transform;
    PointD image;
    IntPoint screen;
};

class ToScreenTest : public ::testing::TestWithParam<MappingCase> {};

TEST_P(ToScreenTest, TruncatesTowardsZero)
{
    EXPECT_EQ(ToScreen(GetParam().transform, GetParam().image), GetParam().screen);
}

INSTANTIATE_TEST_SUITE_P(Mappings, ToScreenTest,
                         ::testing::Values(MappingCase{{1.0, 1.0, 0.0, 0.0}, {10.9, 20.1}, {10, 20}},
                                           MappingCase{{2.0, 2.0, -5.0, -10.0}, {10.5, 20.25}, {11, 20}},
                                           // (2.25 - 5) * 2 = -5.5 goes to -5, not -6
                                           MappingCase{{2.0, 2.0, -5.0, 0.0}, {2.25, 0.0}, {-5, 0}},
                                           MappingCase{{1.5, 0.75, 0.0, 0.0}, {10.0, 20.0}, {15, 15}},
                                           MappingCase{{1.0, 1.0, 0.0, 0.0}, {NAN, 1e300}, {0, INT_MAX}}));

// ---- finished records -------------------------------------------------------

TEST_F(MeasureDrawingTest, LengthDrawsSegmentLengthAndAngleLabels)
{
    MEASURE record = Record(-1, {{10.5, 20.25}, {30.0, 40.0}});
    record.value = {0.5, 45.0};
    DrawRecord(surface, record, Style(), Canvas(2.0, 2.0, -5.0, -10.0));

    const auto lines = surface.All<LineCall>();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].call, (LineCall{11, 20, 50, 60}));
    EXPECT_EQ(lines[0].pen, (PenCall{kRed, 2}));

    // Label 0 at the midpoint (20.25, 30.125), label 1 at the first point.
    EXPECT_EQ(surface.Calls<TextCall>(),
              (std::vector<TextCall>{{30, 40, "0.500mm", kYellow}, {11, 20, Angle(45.0), kYellow}}));
    EXPECT_EQ(record.labelText[0], "0.500mm");
    EXPECT_EQ(record.labelText[1], Angle(45.0));
}

TEST_F(MeasureDrawingTest, ShowAngleOffLeavesOnlyTheLengthLabels)
{
    MeasureStyle style = Style();
    style.showAngle = false;
    MEASURE length = Record(-1, {{0.0, 0.0}, {10.0, 0.0}});
    DrawRecord(surface, length, style, Canvas(1.0, 1.0));
    const auto texts = surface.Calls<TextCall>();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "0.000mm");

    surface.Clear();
    MEASURE circles = Record(-4, {{0, 0}, {1, 0}, {0, 1}, {5, 5}, {6, 5}, {5, 6}});
    DrawRecord(surface, circles, style, Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<TextCall>().size(), 3u);
}

TEST_F(MeasureDrawingTest, CircleInFitModeIsAnEllipseWithCentreCross)
{
    MEASURE record = Record(-3, {{80, 50}, {120, 50}, {100, 70}});
    record.centre[0] = {100.0, 50.0};
    record.radius[0] = 20.0;
    record.value[0] = 1.0;
    DrawRecord(surface, record, Style(), Canvas(1.5, 0.5));

    EXPECT_EQ(surface.Calls<EllipseCall>(), (std::vector<EllipseCall>{{RECT{120, 15, 180, 35}}}));
    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{147, 25, 153, 25}, {150, 22, 150, 28}}));
    EXPECT_EQ(surface.Calls<TextCall>(), (std::vector<TextCall>{{150, 25, "1.000mm", kYellow}}));
}

TEST_F(MeasureDrawingTest, TwoCirclesDrawBothCirclesTheCentreSegmentAndFourLabels)
{
    MEASURE record = Record(-4, {{0, 0}, {1, 0}, {0, 1}, {5, 5}, {6, 5}, {5, 6}});
    record.centre = {PointD{10.0, 10.0}, PointD{50.0, 30.0}};
    record.radius = {5.0, 2.5};
    record.value = {1.0, 2.0, 3.0, 30.0};
    DrawRecord(surface, record, Style(), Canvas(2.0, 2.0));

    EXPECT_EQ(surface.Calls<EllipseCall>(),
              (std::vector<EllipseCall>{{RECT{10, 10, 30, 30}}, {RECT{95, 55, 105, 65}}}));
    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{20, 20, 100, 60}}));
    // Label 3 sits 20 image pixels (40 screen pixels at x2) below the first centre.
    EXPECT_EQ(surface.Calls<TextCall>(), (std::vector<TextCall>{{20, 20, "1.000mm", kYellow},
                                                                {100, 60, "2.000mm", kYellow},
                                                                {60, 40, "3.000mm", kYellow},
                                                                {20, 60, Angle(30.0), kYellow}}));
}

TEST_F(MeasureDrawingTest, PolygonOutlineWithLabelTwentyScreenPixelsBelowTheMean)
{
    MEASURE record = Record(-2, {{0, 0}, {30, 0}, {30, 15}, {0, 15}});
    record.value = {0.25, 0.25};
    DrawRecord(surface, record, Style(), Canvas(2.0, 2.0));

    EXPECT_EQ(surface.Calls<PolygonCall>(), (std::vector<PolygonCall>{{{{0, 0}, {60, 0}, {60, 30}, {0, 30}}}}));
    // Mean (15, 7.5) -> (30, 15), then 20 screen pixels lower whatever the zoom.
    EXPECT_EQ(surface.Calls<TextCall>(), (std::vector<TextCall>{{30, 35, "0.250mm2", kYellow}}));
}

TEST_F(MeasureDrawingTest, AngleDrawsBothArmsAsOnePolyline)
{
    MEASURE record = Record(-6, {{30, 0}, {0, 0}, {0, 30}});
    record.value[0] = 90.0;
    DrawRecord(surface, record, Style(), Canvas(1.0, 1.0, 10.0, 10.0));

    EXPECT_EQ(surface.Calls<PolylineCall>(), (std::vector<PolylineCall>{{{{40, 10}, {10, 10}, {10, 40}}}}));
    EXPECT_EQ(surface.Calls<TextCall>(), (std::vector<TextCall>{{20, 20, Angle(90.0), kYellow}}));
}

// A label dragged by (15, -8) image pixels keeps that offset in image units at
// every zoom: the offset is added before the mapping.
struct OffsetCase {
    ViewTransform transform;
    IntPoint label;
};

class LabelOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(LabelOffsetTest, OffsetStaysInImageUnits)
{
    RecordingSurface surface;
    MEASURE record = Record(-1, {{10, 20}, {30, 40}});
    record.labelOffset[0] = {15, -8};
    DrawRecord(surface, record, Style(), MeasureCanvas{GetParam().transform, {640, 480}, {640, 480}});
    const auto texts = surface.Calls<TextCall>();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ((IntPoint{texts[0].x, texts[0].y}), GetParam().label);
}

// Anchor (20, 30) + (15, -8) = (35, 22) in the image.
INSTANTIATE_TEST_SUITE_P(Zooms, LabelOffsetTest,
                         ::testing::Values(OffsetCase{{1.0, 1.0, 0.0, 0.0}, {35, 22}},
                                           OffsetCase{{2.0, 2.0, 0.0, 0.0}, {70, 44}},
                                           OffsetCase{{3.4, 3.4, -5.0, -3.0}, {102, 64}},
                                           OffsetCase{{0.5, 1.25, 0.0, 0.0}, {17, 27}}));

TEST_F(MeasureDrawingTest, SelectedRecordIsDrawnInvertedColours)
{
    MEASURE record = Record(-1, {{0, 0}, {10, 0}});
    record.selected = 1;
    DrawRecord(surface, record, Style(), Canvas(1.0, 1.0));

    const auto lines = surface.All<LineCall>();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pen, (PenCall{kCyan, 2}));
    for (const TextCall& text : surface.Calls<TextCall>()) {
        EXPECT_EQ(text.colour, kBlue); // yellow inverted
    }
}

TEST_F(MeasureDrawingTest, PerpendicularOverHorizontalBaseLineRecomputesItsFoot)
{
    MEASURE record = Record(-5, {{10, 50}, {200, 50}, {100, 10}});
    record.value[0] = 2.0;
    DrawRecord(surface, record, Style(), Canvas(2.0, 2.0, 0.0, 0.0, {400, 300}, {500, 350}));

    // The foot is written back as point 3.
    ASSERT_GE(record.points.Capacity(), 4);
    EXPECT_EQ(record.points.Slots()[3], (PointD{100.0, 50.0}));
    EXPECT_EQ(record.pointCount, 3);

    // Base line over the full picture width, then measured point to foot.
    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{0, 100, 500, 100}, {200, 20, 200, 100}}));
    const auto dots = surface.All<DotCall>();
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0].call, (DotCall{20, 100}));
    EXPECT_EQ(dots[1].call, (DotCall{400, 100}));
    EXPECT_EQ(dots[0].pen, (PenCall{kRed, 10}));
    // Midpoint (100, 30) -> (200, 60), 20 screen pixels lower.
    EXPECT_EQ(surface.Calls<TextCall>(), (std::vector<TextCall>{{200, 80, "2.000mm", kYellow}}));
}

TEST_F(MeasureDrawingTest, SelectedPerpendicularKeepsItsBaseDotsInTheNormalColour)
{
    MEASURE record = Record(-5, {{10, 50}, {200, 50}, {100, 10}});
    record.selected = 1;
    DrawRecord(surface, record, Style(), Canvas(1.0, 1.0));

    for (const auto& line : surface.All<LineCall>()) {
        EXPECT_EQ(line.pen.colour, kCyan);
    }
    const auto dots = surface.All<DotCall>();
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0].pen, (PenCall{kRed, 10}));
    EXPECT_EQ(dots[1].pen, (PenCall{kRed, 10}));
}

TEST_F(MeasureDrawingTest, StaleFootIsReplacedFromTheStoredPoints)
{
    MEASURE record = Record(-5, {{0, 0}, {100, 100}, {0, 100}, {7, 7}});
    record.pointCount = 3;
    DrawRecord(surface, record, Style(), Canvas(1.0, 1.0));
    EXPECT_NEAR(record.points.Slots()[3].x, 50.0, 1e-9);
    EXPECT_NEAR(record.points.Slots()[3].y, 50.0, 1e-9);
}

struct BaseLineCase {
    PointD p0;
    PointD p1;
    ViewTransform transform;
    LineCall expected;
};

class BaseLineTest : public ::testing::TestWithParam<BaseLineCase> {};

// Image 200 x 100, picture area 300 x 250.
TEST_P(BaseLineTest, RunsAcrossTheImage)
{
    RecordingSurface surface;
    MEASURE record = Record(-5, {GetParam().p0, GetParam().p1, {0, 0}});
    DrawRecord(surface, record, Style(), MeasureCanvas{GetParam().transform, {200, 100}, {300, 250}});
    const auto lines = surface.Calls<LineCall>();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Slopes, BaseLineTest,
                         ::testing::Values(
                             // Vertical: at the first point's x, over the whole picture height.
                             BaseLineCase{{40, 10}, {40, 90}, {1.5, 2.5, 0, 0}, {60, 0, 60, 250}},
                             // Horizontal: at the first point's y, over the whole picture width.
                             BaseLineCase{{10, 30}, {150, 30}, {1.5, 2.5, 0, 0}, {0, 75, 300, 75}},
                             // Rising (m = 1, k = 10): from (0, 10) to the bottom edge at x = 90.
                             BaseLineCase{{0, 10}, {10, 20}, {1.0, 1.0, 0, 0}, {0, 10, 90, 100}},
                             // Falling (m = -1, k = 50): from (0, 50) to the top edge at x = 50.
                             BaseLineCase{{0, 50}, {10, 40}, {1.0, 1.0, 0, 0}, {0, 50, 50, 0}},
                             // The same line zoomed x2 and panned by (-10, -5).
                             BaseLineCase{{0, 50}, {10, 40}, {2.0, 2.0, -10, -5}, {-20, 90, 80, -10}}));

TEST_F(MeasureDrawingTest, UnknownUnitKeepsThePreviousLabelText)
{
    MEASURE record = Record(-1, {{0, 0}, {10, 0}}, 7);
    record.labelText[0] = "kept";
    DrawRecord(surface, record, Style(), Canvas(1.0, 1.0));
    EXPECT_EQ(record.labelText[0], "kept");
    EXPECT_EQ(surface.Calls<TextCall>().front().text, "kept");
}

TEST_F(MeasureDrawingTest, ChainDrawsRecordsWithPointsInOrder)
{
    CMeasureChain chain;
    MEASURE first = Record(-1, {{0, 0}, {10, 0}});
    MEASURE empty = Record(-1, {});
    MEASURE unknownKind = Record(0, {{1, 1}});
    MEASURE last = Record(-1, {{0, 5}, {10, 5}});
    for (const MEASURE* r : {&first, &empty, &unknownKind, &last}) {
        chain.AddTailCopy(r);
    }
    chain.MoveTo(1);
    const MEASURE* cursor = chain.Current();
    DrawMeasurements(surface, chain, Style(), Canvas(1.0, 1.0));

    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{0, 0, 10, 0}, {0, 5, 10, 5}}));
    EXPECT_EQ(chain.Current(), cursor);
    // Every drawn record had its labels formatted into the chain's own record.
    EXPECT_EQ(chain.First()->labelText[0], "0.000mm");
}

TEST_F(MeasureDrawingTest, RecordWithTooFewSlotsReadsMissingPointsAsOrigin)
{
    MEASURE record;
    record.kind = -6;
    record.pointCount = 3;
    record.points.SetAt(0, 10.0, 10.0);
    record.points.Grow(1, 0); // exactly one slot
    ASSERT_EQ(record.points.Capacity(), 1);
    DrawRecord(surface, record, Style(), Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<PolylineCall>(), (std::vector<PolylineCall>{{{{10, 10}, {0, 0}, {0, 0}}}}));
}

TEST_F(MeasureDrawingTest, LabelFontComesFromTheStyle)
{
    MeasureStyle style = Style();
    style.font = DrawingFont{.height = -30, .weight = 700, .italic = true, .faceName = "Sans"};
    MEASURE record = Record(-1, {{0, 0}, {10, 0}});
    DrawRecord(surface, record, style, Canvas(1.0, 1.0));
    const auto fonts = surface.Calls<test::FontCall>();
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts.back().font, style.font);
}

// ---- the measurement being placed -------------------------------------------

MEASURE Working(std::int32_t mode, std::initializer_list<PointD> points)
{
    return Record(mode, points);
}

TEST_F(MeasureDrawingTest, LengthRubberBandWithLiveAngle)
{
    const MEASURE working = Working(1, {{10, 10}});
    DrawWorking(surface, working, 1, {20, 0}, false, Style(), Canvas(2.0, 2.0));

    const auto bands = surface.All<PolylineCall>();
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].call, (PolylineCall{{{20, 20}, {40, 0}}}));
    EXPECT_EQ(bands[0].pen, (PenCall{kRed, 2}));
    // Up and to the right: 45 degrees, written at the first point.
    EXPECT_EQ(surface.Calls<TextCall>(), (std::vector<TextCall>{{20, 20, Angle(45.0), kYellow}}));
}

TEST_F(MeasureDrawingTest, LiveAngleCountsFromTheBaseLine)
{
    MeasureStyle style = Style();
    style.angleBaseLine = 1;
    DrawWorking(surface, Working(1, {{10, 10}}), 1, {20, 0}, false, style, Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<TextCall>().at(0).text, Angle(315.0));

    surface.Clear();
    style.showAngle = false;
    DrawWorking(surface, Working(1, {{10, 10}}), 1, {20, 0}, false, style, Canvas(1.0, 1.0));
    EXPECT_TRUE(surface.Calls<TextCall>().empty());
}

TEST_F(MeasureDrawingTest, ShiftSnapsTheLengthRubberBand)
{
    // Direction 354.3 degrees snaps to 0 with a 45-degree step: the band
    // becomes horizontal with the unsnapped length sqrt(101).
    DrawWorking(surface, Working(1, {{10, 10}}), 1, {20, 11}, true, Style(), Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<PolylineCall>(), (std::vector<PolylineCall>{{{{10, 10}, {20, 10}}}}));
    EXPECT_EQ(surface.Calls<TextCall>().at(0).text, Angle(0.0));

    surface.Clear();
    DrawWorking(surface, Working(1, {{10, 10}}), 1, {20, 11}, false, Style(), Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<PolylineCall>(), (std::vector<PolylineCall>{{{{10, 10}, {20, 11}}}}));
}

TEST_F(MeasureDrawingTest, PolygonAndAngleRubberBandsRunThroughAllPoints)
{
    for (const std::int32_t mode : {2, 6}) {
        RecordingSurface s;
        DrawWorking(s, Working(mode, {{0, 0}, {10, 0}, {10, 10}}), mode, {3, 7}, true, Style(), Canvas(1.0, 1.0));
        EXPECT_EQ(s.Calls<PolylineCall>(), (std::vector<PolylineCall>{{{{0, 0}, {10, 0}, {10, 10}, {3, 7}}}}))
            << "mode " << mode;
        EXPECT_TRUE(s.Calls<TextCall>().empty());
    }
}

TEST_F(MeasureDrawingTest, CircleRubberBand)
{
    DrawWorking(surface, Working(3, {{0, 0}}), 3, {0, 10}, false, Style(), Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{-3, 0, 3, 0}, {0, -3, 0, 3}}));
    EXPECT_TRUE(surface.Calls<EllipseCall>().empty());

    // Two points and the mouse: centre (5, 5), radius sqrt(50); x2 panned by (5, 5).
    surface.Clear();
    DrawWorking(surface, Working(3, {{0, 0}, {10, 0}}), 3, {0, 10}, false, Style(), Canvas(2.0, 2.0, 5.0, 5.0));
    EXPECT_EQ(surface.Calls<EllipseCall>(), (std::vector<EllipseCall>{{RECT{6, 6, 34, 34}}}));
    EXPECT_EQ(
        surface.Calls<LineCall>(),
        (std::vector<LineCall>{
            {7, 10, 13, 10}, {10, 7, 10, 13}, {27, 10, 33, 10}, {30, 7, 30, 13}, {17, 20, 23, 20}, {20, 17, 20, 23}}));
}

TEST_F(MeasureDrawingTest, TwoCircleRubberBandDrawsCompleteGroupsAndTheOpenOne)
{
    // First group complete: centre (5, 5); the second has two points and
    // closes through the mouse at (20, 30): centre (25, 25).
    const MEASURE working = Working(4, {{0, 0}, {10, 0}, {0, 10}, {20, 20}, {30, 20}});
    DrawWorking(surface, working, 4, {20, 30}, false, Style(), Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<EllipseCall>(), (std::vector<EllipseCall>{{RECT{-2, -2, 12, 12}}, {RECT{18, 18, 32, 32}}}));
    // A cross on each of the five points and on both centres.
    EXPECT_EQ(surface.Calls<LineCall>().size(), 2u * 7u);

    // With four points the second group is not drawn yet.
    surface.Clear();
    DrawWorking(surface, Working(4, {{0, 0}, {10, 0}, {0, 10}, {20, 20}}), 4, {20, 30}, false, Style(),
                Canvas(1.0, 1.0));
    EXPECT_EQ(surface.Calls<EllipseCall>().size(), 1u);
    EXPECT_EQ(surface.Calls<LineCall>().size(), 2u * 5u);
}

TEST_F(MeasureDrawingTest, PerpendicularRubberBandIsABaseLineToTheMouse)
{
    // Image 200 x 100, picture 200 x 100; from (50, 50) towards 268 degrees.
    const MeasureCanvas canvas = Canvas(1.0, 1.0, 0.0, 0.0, {200, 100}, {200, 100});
    const MEASURE one = Working(5, {{50, 50}});

    // Shift: 268 snaps to 270, and modulo 180 to 90: a vertical line.
    DrawWorking(surface, one, 5, {49.65, 60.0}, true, Style(), canvas);
    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{50, 0, 50, 100}}));

    // Without Shift the line keeps its slope (m = -28.57..., falling).
    surface.Clear();
    DrawWorking(surface, one, 5, {49.65, 60.0}, false, Style(), canvas);
    const auto lines = surface.Calls<LineCall>();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x0, 0);
    EXPECT_EQ(lines[0].y1, 0);
    EXPECT_EQ(lines[0].x1, 51);

    // Two base points: the base line, whatever the mouse does.
    surface.Clear();
    DrawWorking(surface, Working(5, {{10, 30}, {150, 30}}), 5, {0, 0}, true, Style(), canvas);
    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{0, 30, 200, 30}}));
}

TEST_F(MeasureDrawingTest, NothingToDrawWithoutToolOrPoints)
{
    DrawWorking(surface, Working(1, {}), 1, {5, 5}, false, Style(), Canvas(1.0, 1.0));
    DrawWorking(surface, Working(0, {{1, 1}}), 0, {5, 5}, false, Style(), Canvas(1.0, 1.0));
    DrawWorking(surface, Working(9, {{1, 1}}), 9, {5, 5}, false, Style(), Canvas(1.0, 1.0));
    EXPECT_TRUE(surface.calls().empty());
}

struct VisibilityCase {
    const char* name;
    MEASURE record;
    double panX; // the view: x2, panned
    double panY;
    bool drawn;
};

TEST(RecordScreenBoxTest, BoxMeetsThePictureExactlyWhenSomethingIsDrawnThereAndTheRecordIsMadeReady)
{
    // Picture 200 x 100 at x2: image x in [-panX, -panX + 100), y in [-panY, -panY + 50).
    std::vector<VisibilityCase> cases{
        {"inside", Record(-1, {{10.0, 10.0}, {40.0, 20.0}}), 0.0, 0.0, true},
        {"far right", Record(-1, {{300.0, 10.0}, {340.0, 20.0}}), 0.0, 0.0, false},
        {"far above after the pan", Record(-1, {{10.0, 10.0}, {40.0, 20.0}}), 0.0, -200.0, false},
        {"crossing the picture", Record(-1, {{-50.0, 25.0}, {400.0, 25.0}}), 0.0, 0.0, true},
        {"only its label reaches in", Record(-1, {{120.0, 10.0}, {110.0, 10.0}}), 0.0, 0.0, true},
        {"circle far off", Record(-3, {{0.0, 0.0}, {1.0, 1.0}, {2.0, 0.0}}), -500.0, -500.0, false},
        {"perpendicular base line across", Record(-5, {{0.0, 60.0}, {600.0, 60.0}, {300.0, 400.0}}), -100.0, -40.0,
         true},
    };
    cases[4].record.labelOffset[0] = {-70, 0};
    cases[5].record.centre[0] = {1000.0, 1000.0};
    cases[5].record.radius[0] = 20.0;
    for (VisibilityCase& c : cases) {
        c.record.value[0] = 1.25;
        RecordingSurface measuring;
        const MeasureCanvas canvas = Canvas(2.0, 2.0, c.panX, c.panY, {640, 480}, {200, 100});
        const std::optional<RECT> box = RecordScreenBox(measuring, c.record, Style(), canvas);
        ASSERT_TRUE(box.has_value()) << c.name;
        EXPECT_EQ(BoxMeets(*box, canvas.picture), c.drawn) << c.name;
        EXPECT_TRUE(measuring.Calls<LineCall>().empty()) << "only measured, not drawn: " << c.name;
        // Made ready whether drawn or not: a saved file carries the label.
        EXPECT_FALSE(c.record.labelText[0].empty()) << c.name;
    }
}

} // namespace
} // namespace orvane
