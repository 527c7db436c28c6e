#include "tools/FocusMeter.h"

#include <string>

#include <gtest/gtest.h>

#include "ToolsTestPictures.h"

namespace orvane {
namespace {

using test::GreyPicture;

int Stripes(int x, int)
{
    return (x / 2) % 2 != 0 ? 255 : 0;
}

// ---- sharpness -------------------------------------------------------------------

struct SharpnessCase {
    std::string name;
    int bitsPerPixel;
    int (*grey)(int x, int y); // on a 100 x 80 picture
    RECT area;
    int sharpness;
};

class FocusSharpnessTest : public ::testing::TestWithParam<SharpnessCase> {};

TEST_P(FocusSharpnessTest, MeanSobelMagnitudeInsideTheInscribedCircle)
{
    const SharpnessCase& c = GetParam();
    const FrameImage frame = GreyPicture(100, 80, c.bitsPerPixel, c.grey);
    std::vector<std::uint16_t> scratch;
    EXPECT_EQ(FocusSharpness(frame, c.area, scratch), c.sharpness);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, FocusSharpnessTest,
    ::testing::Values(SharpnessCase{"Uniform", 24, [](int, int) { return 120; }, {10, 10, 50, 50}, 0},
                      // Stripes two pixels wide: |gx| = 4 * 255 at every pixel, not clamped.
                      SharpnessCase{"Stripes", 24, Stripes, {10, 10, 50, 50}, 1020},
                      SharpnessCase{"StripesEightBits", 8, Stripes, {10, 10, 50, 50}, 1020},
                      SharpnessCase{"StripesSixteenBits", 16, Stripes, {10, 10, 50, 50}, 1020},
                      SharpnessCase{"StripesThirtyTwoBits", 32, Stripes, {10, 10, 50, 50}, 1020},
                      // Only the pixels with a gradient enter the mean: the two beside a 100 | 200 step.
                      SharpnessCase{
                          "OneStep", 24, [](int x, int) { return x < 30 ? 100 : 200; }, {10, 10, 50, 50}, 400},
                      SharpnessCase{"OnePixelWide", 24, Stripes, {10, 10, 11, 50}, 0},
                      SharpnessCase{"OnePixelTall", 24, Stripes, {10, 10, 50, 11}, 0},
                      SharpnessCase{"TwoPixelsWide", 24, Stripes, {10, 10, 12, 50}, 0},
                      SharpnessCase{"ThreeByThree", 24, Stripes, {10, 10, 13, 13}, 1020},
                      // A dot in the area's corner lies outside the circle; in the middle, inside.
                      SharpnessCase{"DotInTheCorner",
                                    24,
                                    [](int x, int y) { return x >= 1 && x <= 2 && y >= 1 && y <= 2 ? 200 : 0; },
                                    {0, 0, 40, 40},
                                    0},
                      SharpnessCase{"DotInTheMiddle",
                                    24,
                                    [](int x, int y) { return x >= 19 && x <= 20 && y >= 19 && y <= 20 ? 200 : 0; },
                                    {0, 0, 40, 40},
                                    599},
                      SharpnessCase{"PartlyOutside", 24, Stripes, {80, 60, 130, 110}, 1020},
                      SharpnessCase{"WhollyOutside", 24, Stripes, {200, 200, 260, 260}, 0},
                      SharpnessCase{"Empty", 24, Stripes, {10, 10, 10, 10}, 0}),
    [](const auto& tested) { return tested.param.name; });

// ---- meter bars -------------------------------------------------------------------

struct MeterCase {
    std::string name;
    int clientHeight, comboHeight, scale, value, peak;
    MeterBars bars;
};

class MeterGeometryTest : public ::testing::TestWithParam<MeterCase> {};

TEST_P(MeterGeometryTest, BarsRiseWithTheValueOnTheScale)
{
    const MeterCase& c = GetParam();
    EXPECT_EQ(MeterGeometry(c.clientHeight, c.comboHeight, c.scale, c.value, c.peak), c.bars);
}

INSTANTIATE_TEST_SUITE_P(Scales, MeterGeometryTest,
                         ::testing::Values(
                             // Scale "10" (full scale 12): a value of 6 fills half the usable height.
                             MeterCase{"HalfOfTwelve", 240, 40, 9, 6, 6, {40, 240, 140, 140}},
                             MeterCase{"EmptyAndFull", 240, 40, 0, 0, 255, {40, 240, 40, 240}},
                             MeterCase{"AboveFullScaleIsFull", 240, 40, 9, 24, 30, {40, 240, 40, 40}},
                             MeterCase{"TopsTruncate", 240, 40, 2, 1, 1, {40, 240, 238, 238}},
                             MeterCase{"ScaleAboveTheListIsItsEnd", 240, 40, 12, 6, 6, {40, 240, 140, 140}},
                             MeterCase{"ScaleBelowTheListIsItsStart", 240, 40, -3, 51, 51, {40, 240, 200, 200}},
                             MeterCase{"NoRoomBelowTheList", 20, 40, 0, 10, 10, {40, 40, 40, 40}}),
                         [](const auto& tested) { return tested.param.name; });

TEST(FocusFullScale, TableOfTheScaleList)
{
    EXPECT_EQ(kFocusFullScale, (std::array<int, 10>{255, 160, 128, 96, 64, 48, 32, 24, 16, 12}));
}

TEST(SwapRedBlue, ExchangesRedAndBlue)
{
    EXPECT_EQ(SwapRedBlue(0x8080FF), 0xFF8080u);
    EXPECT_EQ(SwapRedBlue(0x123456), 0x563412u);
}

// ---- focus line -----------------------------------------------------------------

struct GrabCase {
    std::string name;
    int flag;
    double imageY; // the line at row 100
    bool grabbed;
    int flagAfter;
};

class FocusLineGrabTest : public ::testing::TestWithParam<GrabCase> {};

TEST_P(FocusLineGrabTest, RightPressWithinTenRowsOfAShownLine)
{
    const GrabCase& c = GetParam();
    int flag = c.flag;
    EXPECT_EQ(FocusLineRightPress(flag, 100, c.imageY), c.grabbed);
    EXPECT_EQ(flag, c.flagAfter);
}

INSTANTIATE_TEST_SUITE_P(Presses, FocusLineGrabTest,
                         ::testing::Values(GrabCase{"Below", 1, 109.9, true, 2}, GrabCase{"Above", 1, 90.1, true, 2},
                                           GrabCase{"TenAway", 1, 110.0, false, 1},
                                           GrabCase{"Hidden", 0, 100.0, false, 0},
                                           GrabCase{"AlreadyDragged", 2, 100.0, false, 2}),
                         [](const auto& tested) { return tested.param.name; });

TEST(FocusLine, DragFollowsWholeRowsInsideThePictureAndReleaseShowsIt)
{
    int position = 100;
    EXPECT_TRUE(FocusLineMove(2, position, 150, true));
    EXPECT_EQ(position, 150);
    EXPECT_FALSE(FocusLineMove(2, position, 170, false));
    EXPECT_FALSE(FocusLineMove(1, position, 170, true));
    EXPECT_EQ(position, 150);
    for (const auto& [before, after] : {std::pair{2, 1}, std::pair{1, 1}, std::pair{0, 0}}) {
        int flag = before;
        FocusLineRelease(flag);
        EXPECT_EQ(flag, after) << before;
    }
}

TEST(FocusLine, SizingCursorWithinTenViewPixels)
{
    const ViewTransform zoom2{2.0, 2.0, 0.0, -20.0}; // row 100 at view row 160
    EXPECT_TRUE(NearFocusLine(1, 100, 169, zoom2));
    EXPECT_TRUE(NearFocusLine(1, 100, 151, zoom2));
    EXPECT_FALSE(NearFocusLine(1, 100, 170, zoom2));
    EXPECT_FALSE(NearFocusLine(0, 100, 160, zoom2));
}

} // namespace
} // namespace orvane
