#include "image/ScaleBar.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingSurface.h"

namespace orvane {
namespace {

using test::LineCall;
using test::RecordingSurface;
using test::TextCall;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct LengthCase {
    const char* name;
    int type;
    int sizeX, sizeY;
    double uppX, uppY;
    bool drawn;
    double lenX, lenY;
};

class ScaleBarLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ScaleBarLengthTest, LengthsFollowTheCalibrationAndUnusableOnesGiveNoBar)
{
    const LengthCase& c = GetParam();
    const std::optional<ScaleBarLengths> length = ScaleBarPixelLengths(c.type, c.sizeX, c.sizeY, c.uppX, c.uppY);
    ASSERT_EQ(length.has_value(), c.drawn);
    if (c.drawn) {
        EXPECT_DOUBLE_EQ(length->x, c.lenX);
        EXPECT_DOUBLE_EQ(length->y, c.lenY);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calibrations, ScaleBarLengthTest,
    ::testing::Values(LengthCase{"TenMmAtOneHundredthIsAThousandPixels", 0, 10, 10, 0.01, 0.01, true, 1000.0, 1000.0},
                      LengthCase{"DefaultCalibration", 1, 10, 5, 0.05, 0.05, true, 200.0, 100.0},
                      LengthCase{"ZeroXDrawsNothing", 0, 10, 10, 0.0, 0.05, false, 0, 0},
                      LengthCase{"NaNXDrawsNothing", 0, 10, 10, kNaN, 0.05, false, 0, 0},
                      LengthCase{"InfiniteXDrawsNothing", 0, 10, 10, kInf, 0.05, false, 0, 0},
                      LengthCase{"NegativeXDrawsNothing", 0, 10, 10, -0.05, 0.05, false, 0, 0},
                      LengthCase{"ZeroYIsNoMatterForTheXBar", 0, 10, 10, 0.05, 0.0, true, 200.0, 0.0},
                      LengthCase{"ZeroYDrawsNoXYBar", 1, 10, 10, 0.05, 0.0, false, 0, 0}),
    [](const auto& param) { return std::string(param.param.name); });

struct DrawCase {
    const char* name;
    int type;
    ViewTransform transform;
    std::vector<LineCall> lines;
    TextCall label;
};

class DrawScaleBarTest : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawScaleBarTest, BarTicksAndLabelAtTheMappedPoints)
{
    const DrawCase& c = GetParam();
    RecordingSurface surface;
    // 10 mm at 0.01 mm per pixel: 1000 pixels; Y 5 mm: 500 pixels.
    const ScaleBarLook look{.type = c.type,
                            .anchor = {1230, 974},
                            .sizeX = 10,
                            .length = {1000.0, 500.0},
                            .unit = "mm",
                            .lineColour = RGB(0, 255, 0),
                            .lineWidth = 2,
                            .textColour = RGB(0, 255, 255),
                            .font = {}};
    DrawScaleBar(surface, c.transform, look);
    EXPECT_EQ(surface.Calls<LineCall>(), c.lines);
    const std::vector<TextCall> texts = surface.Calls<TextCall>();
    ASSERT_EQ(texts.size(), 1U);
    EXPECT_EQ(texts[0], c.label);
    const auto pens = surface.Calls<test::PenCall>();
    ASSERT_FALSE(pens.empty());
    EXPECT_EQ(pens.front(), (test::PenCall{RGB(0, 255, 0), 2}));
}

INSTANTIATE_TEST_SUITE_P(
    Views, DrawScaleBarTest,
    ::testing::Values(
        DrawCase{"XBarAtOne",
                 0,
                 {},
                 {{1230, 974, 230, 974}, {230, 969, 230, 979}, {1230, 969, 1230, 979}},
                 {700, 989, "10.00mm", RGB(0, 255, 255)}},
        DrawCase{"XYBarAtOne",
                 1,
                 {},
                 {{1230, 974, 230, 974}, {230, 969, 230, 979}, {1230, 974, 1230, 474}, {1225, 474, 1235, 474}},
                 {700, 989, "10.00mm", RGB(0, 255, 255)}},
        // x2 with pan (-1000, -800): T(x, y) = ((x - 1000) * 2, (y - 800) * 2).
        DrawCase{"XBarAtTwoPanned",
                 0,
                 {2.0, 2.0, -1000.0, -800.0},
                 {{460, 348, -1540, 348}, {-1540, 338, -1540, 358}, {460, 338, 460, 358}},
                 {-600, 378, "10.00mm", RGB(0, 255, 255)}},
        // Fit: (W / w, H / h) = (0.5, 0.25), pan 0.
        DrawCase{"XBarFitted",
                 0,
                 {0.5, 0.25, 0.0, 0.0},
                 {{615, 243, 115, 243}, {115, 242, 115, 244}, {615, 242, 615, 244}},
                 {350, 247, "10.00mm", RGB(0, 255, 255)}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ScaleBarLabelTest, NumberWithTwoDecimalsAndTheUnit)
{
    EXPECT_EQ(ScaleBarLabel(10, "mm"), "10.00mm");
    EXPECT_EQ(ScaleBarLabel(-3, "um"), "-3.00um");
    EXPECT_EQ(ScaleBarLabel(250, "cm"), "250.00cm");
}

struct HitCase {
    const char* name;
    int type;
    PointD at;
    ScaleBarPart part;
};

class ScaleBarHitTest : public ::testing::TestWithParam<HitCase> {};

// Anchor (500, 400), 200 pixels by 100.5 pixels.
TEST_P(ScaleBarHitTest, OpenZonesAroundEachBar)
{
    const HitCase& c = GetParam();
    EXPECT_EQ(ScaleBarHit(c.type, {500, 400}, {200.0, 100.5}, c.at), c.part);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, ScaleBarHitTest,
    ::testing::Values(HitCase{"OnTheBar", 0, {400, 400}, ScaleBarPart::Horizontal},
                      HitCase{"JustInsideLeftEnd", 0, {300.5, 404.9}, ScaleBarPart::Horizontal},
                      HitCase{"LeftEndIsOpen", 0, {300, 400}, ScaleBarPart::None},
                      HitCase{"AnchorIsOpen", 0, {500, 400}, ScaleBarPart::None},
                      HitCase{"FivePixelsBelowIsOpen", 0, {400, 405}, ScaleBarPart::None},
                      HitCase{"VerticalNotForXBar", 0, {500, 350}, ScaleBarPart::None},
                      HitCase{"VerticalForXYBar", 1, {500, 350}, ScaleBarPart::Vertical},
                      HitCase{"VerticalTopUsesTruncatedLength", 1, {500, 299.8}, ScaleBarPart::None},
                      HitCase{"HorizontalWinsAtTheCorner", 1, {499, 399}, ScaleBarPart::Horizontal}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ScaleBarHitTest, AnEnormousBarDoesNotWrapAround)
{
    EXPECT_EQ(ScaleBarHit(0, {500, 400}, {1e300, 0.0}, {-1e9, 400}), ScaleBarPart::Horizontal);
}

TEST(ScaleBarDragTest, TheGrabOffsetStaysAndLeavingThePictureEndsTheDrag)
{
    ScaleBarDrag drag;
    IntPoint anchor{500, 400};
    EXPECT_FALSE(drag.Press(0, anchor, {200.0, 0.0}, {500, 300}));
    EXPECT_FALSE(drag.dragging());

    ASSERT_TRUE(drag.Press(0, anchor, {200.0, 0.0}, {420.7, 402}));
    EXPECT_TRUE(drag.dragging());
    // Grabbed 80 pixels left of the anchor, on the bar's row.
    EXPECT_TRUE(drag.Move({120.2, 52.9}, true, anchor));
    EXPECT_EQ(anchor, (IntPoint{200, 52}));
    EXPECT_FALSE(drag.Move({10, 10}, false, anchor));
    EXPECT_FALSE(drag.dragging());
    EXPECT_EQ(anchor, (IntPoint{200, 52}));
    EXPECT_FALSE(drag.Move({130, 60}, true, anchor));
}

TEST(ScaleBarDragTest, TheVerticalBarKeepsItsOffsetAlongY)
{
    ScaleBarDrag drag;
    IntPoint anchor{500, 400};
    ASSERT_TRUE(drag.Press(1, anchor, {200.0, 100.0}, {502, 340}));
    EXPECT_TRUE(drag.Move({600, 240}, true, anchor));
    EXPECT_EQ(anchor, (IntPoint{600, 300}));
    drag.Release();
    EXPECT_FALSE(drag.dragging());
}

struct PlaceCase {
    const char* name;
    ScaleBarPlace place;
    double uppX, uppY;
    std::optional<IntPoint> anchor;
};

class ScaleBarAnchorTest : public ::testing::TestWithParam<PlaceCase> {};

// X 10, Y 5 on a 1280 x 1024 frame.
TEST_P(ScaleBarAnchorTest, PlacesOfThePositionList)
{
    const PlaceCase& c = GetParam();
    EXPECT_EQ(ScaleBarAnchor(c.place, 10, 5, c.uppX, c.uppY, 1280, 1024), c.anchor);
}

INSTANTIATE_TEST_SUITE_P(
    Places, ScaleBarAnchorTest,
    ::testing::Values(PlaceCase{"UpperLeft", ScaleBarPlace::UpperLeft, 0.05, 0.03, IntPoint{250, 216}},
                      PlaceCase{"LowerLeft", ScaleBarPlace::LowerLeft, 0.05, 0.03, IntPoint{250, 974}},
                      PlaceCase{"UpperRight", ScaleBarPlace::UpperRight, 0.05, 0.03, IntPoint{1230, 216}},
                      PlaceCase{"LowerRight", ScaleBarPlace::LowerRight, 0.05, 0.03, IntPoint{1230, 974}},
                      PlaceCase{"Center", ScaleBarPlace::Center, 0.05, 0.03, IntPoint{640, 512}},
                      PlaceCase{"LowerRightNeedsNoCalibration", ScaleBarPlace::LowerRight, 0.0, 0.0,
                                IntPoint{1230, 974}},
                      PlaceCase{"UpperLeftWithoutCalibrationStays", ScaleBarPlace::UpperLeft, 0.0, 0.03,
                                std::nullopt},
                      PlaceCase{"UpperRightWithNaNYStays", ScaleBarPlace::UpperRight, 0.05, kNaN, std::nullopt}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace orvane
