#include "tools/MagnetEdge.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ToolsTestPictures.h"

namespace orvane {
namespace {

using test::GreyPicture;

int EdgeAt(const FrameImage& edge, int x, int y)
{
    return edge.Row(y)[x];
}

// ---- edge image -------------------------------------------------------------

struct EdgeCase {
    std::string name;
    int bitsPerPixel;
    int vector;
    int left;  // grey left of column 10
    int right; // grey from column 10 on
    int at9;   // expected edge values at columns 9 and 10
    int at10;
};

class EdgeImageTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(EdgeImageTest, VerticalStepGivesItsMagnitudeOnTheSidesThePolarityKeeps)
{
    const EdgeCase& c = GetParam();
    const FrameImage frame =
        GreyPicture(20, 12, c.bitsPerPixel, [&c](int x, int) { return x < 10 ? c.left : c.right; });
    FrameImage edge;
    ASSERT_TRUE(UpdateEdgeImage(frame, c.vector, edge));
    ASSERT_EQ(edge.bitsPerPixel(), 8);
    for (int y = 1; y < 11; ++y) {
        EXPECT_EQ(EdgeAt(edge, 9, y), c.at9) << "row " << y;
        EXPECT_EQ(EdgeAt(edge, 10, y), c.at10) << "row " << y;
        EXPECT_EQ(EdgeAt(edge, 5, y), 0);
        EXPECT_EQ(EdgeAt(edge, 14, y), 0);
    }
    // The outermost rows and columns have no full neighbourhood.
    EXPECT_EQ(EdgeAt(edge, 9, 0), 0);
    EXPECT_EQ(EdgeAt(edge, 10, 11), 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, EdgeImageTest,
                         ::testing::Values(
                             // gx = 4 * (right - left): 400 clamps to 255, 120 stays.
                             EdgeCase{"EdgeClamped", 24, kMagnetEdge, 100, 200, 255, 255},
                             EdgeCase{"EdgeSmall", 24, kMagnetEdge, 100, 130, 120, 120},
                             EdgeCase{"ThirtyTwoBits", 32, kMagnetEdge, 100, 130, 120, 120},
                             EdgeCase{"BinaryKeepsAll", 24, kMagnetBinary, 100, 130, 120, 120},
                             // Edge white only: the bright side (grey >= 128) of a 100 | 200 edge.
                             EdgeCase{"WhiteOnly", 24, kMagnetEdgeWhite, 100, 200, 0, 255},
                             EdgeCase{"WhiteOnlyMirrored", 24, kMagnetEdgeWhite, 200, 100, 255, 0},
                             // Edge black only: the dark side (grey <= 128).
                             EdgeCase{"BlackOnly", 24, kMagnetEdgeBlack, 100, 200, 255, 0},
                             EdgeCase{"BlackOnlyAt128", 24, kMagnetEdgeBlack, 128, 158, 120, 0},
                             EdgeCase{"WhiteOnlyAt128", 24, kMagnetEdgeWhite, 98, 128, 0, 120}),
                         [](const auto& tested) { return tested.param.name; });

TEST(EdgeImage, SinglePixelGivesSobelMagnitudesTruncated)
{
    // A dot of 10 on 0: beside it |gx| = 20; diagonally gx = gy = 10, sqrt(200) = 14.14.
    const FrameImage frame = GreyPicture(9, 9, 24, [](int x, int y) { return x == 4 && y == 4 ? 10 : 0; });
    FrameImage edge;
    ASSERT_TRUE(UpdateEdgeImage(frame, kMagnetEdge, edge));
    EXPECT_EQ(EdgeAt(edge, 5, 4), 20);
    EXPECT_EQ(EdgeAt(edge, 4, 3), 20);
    EXPECT_EQ(EdgeAt(edge, 5, 5), 14);
    EXPECT_EQ(EdgeAt(edge, 3, 3), 14);
    EXPECT_EQ(EdgeAt(edge, 4, 4), 0);
    EXPECT_EQ(EdgeAt(edge, 6, 4), 0);
}

TEST(EdgeImage, GreyWeighsRedGreenBlueAndTruncates)
{
    // (11 * 255 + 30 * 0 + 59 * 0) / 100 = 28 (28.05) against black.
    FrameImage frame;
    frame.Create(6, 5, 24);
    for (int y = 0; y < 5; ++y) {
        for (int x = 3; x < 6; ++x) {
            frame.Row(y)[x * 3 + 2] = 255;
        }
    }
    FrameImage edge;
    ASSERT_TRUE(UpdateEdgeImage(frame, kMagnetEdge, edge));
    EXPECT_EQ(EdgeAt(edge, 2, 2), 4 * 28);
}

TEST(EdgeImage, OtherDepthsLeaveTheEdgeImageAsItWas)
{
    const FrameImage frame = GreyPicture(8, 8, 8, [](int x, int) { return x * 30; });
    FrameImage edge;
    edge.Create(8, 8, 8);
    edge.Row(3)[3] = 77;
    EXPECT_FALSE(UpdateEdgeImage(frame, kMagnetEdge, edge));
    EXPECT_EQ(EdgeAt(edge, 3, 3), 77);
}

// ---- snapping -----------------------------------------------------------------

struct EdgePixel {
    int x, y, value;
};

struct SnapCase {
    std::string name;
    std::vector<EdgePixel> pixels; // on a 100 x 80 edge image of zeros
    MagnetOptions options;
    PointD point;
    bool snapped;
    PointD expected;
};

class SnapPointTest : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapPointTest, MovesToTheNearestQualifyingPixelItself)
{
    const SnapCase& c = GetParam();
    FrameImage edge;
    edge.Create(100, 80, 8);
    for (const EdgePixel& p : c.pixels) {
        edge.Row(p.y)[p.x] = static_cast<std::uint8_t>(p.value);
    }
    PointD point = c.point;
    EXPECT_EQ(SnapPoint(edge, c.options, point), c.snapped);
    EXPECT_EQ(point, c.expected);
    if (c.snapped) {
        // The point lands on the found pixel, not beside it.
        EXPECT_GT(EdgeAt(edge, static_cast<int>(point.x), static_cast<int>(point.y)), c.options.threshold);
    }
}

const MagnetOptions kDefaults{};

INSTANTIATE_TEST_SUITE_P(
    Windows, SnapPointTest,
    ::testing::Values(
        SnapCase{"OneEdgePixel", {{55, 42, 200}}, kDefaults, {50.3, 40.9}, true, {55, 42}},
        SnapCase{"NearerOfTwo", {{42, 40, 200}, {53, 44, 200}}, kDefaults, {50, 40}, true, {53, 44}},
        SnapCase{"OnTheEdgeAlready", {{50, 40, 200}}, kDefaults, {50, 40}, false, {50, 40}},
        SnapCase{"FractionOnTheEdgeKept", {{50, 40, 200}}, kDefaults, {50.6, 40.2}, false, {50.6, 40.2}},
        // Ties: in a row the left one; between rows the lower one (memory order).
        SnapCase{"TieInARowLeftWins", {{55, 40, 200}, {45, 40, 200}}, kDefaults, {50, 40}, true, {45, 40}},
        SnapCase{"TieBetweenRowsLowerWins", {{50, 35, 200}, {50, 45, 200}}, kDefaults, {50, 40}, true, {50, 45}},
        SnapCase{"ThresholdIsExclusive", {{55, 42, 128}}, kDefaults, {50, 40}, false, {50, 40}},
        SnapCase{"Threshold255NeverQualifies", {{55, 42, 255}}, {255, 10, 0}, {50, 40}, false, {50, 40}},
        SnapCase{"Threshold254Takes255", {{55, 42, 255}}, {254, 10, 0}, {50, 40}, true, {55, 42}},
        SnapCase{"NoEdgeInTheWindow", {{75, 40, 255}}, kDefaults, {50.5, 40.7}, false, {50.5, 40.7}},
        // The window ends at trunc(x + size) - 1.
        SnapCase{"WindowRightEndExclusive", {{60, 40, 255}}, kDefaults, {50, 40}, false, {50, 40}},
        SnapCase{"WindowLeftEndInclusive", {{40, 40, 255}}, kDefaults, {50, 40}, true, {40, 40}},
        SnapCase{"SizeLimitsTheWindow", {{55, 40, 255}}, {128, 3, 0}, {50, 40}, false, {50, 40}},
        SnapCase{"SizeAboveTenCountsAsTen", {{62, 40, 255}}, {128, 50, 0}, {50, 40}, false, {50, 40}},
        SnapCase{"SizeZeroCountsAsOne", {{49, 39, 255}}, {128, 0, 0}, {50, 40}, true, {49, 39}},
        // Near the border the window is clipped; a point without edges stays put.
        SnapCase{"BorderEdge", {{0, 2, 255}}, kDefaults, {3.2, 4.0}, true, {0, 2}},
        SnapCase{"BorderNoEdgeStays", {}, kDefaults, {3.2, 4.0}, false, {3.2, 4.0}},
        SnapCase{"BottomRightBorder", {{99, 79, 255}}, kDefaults, {96.5, 77.5}, true, {99, 79}},
        SnapCase{"OutsideThePicture", {{0, 0, 255}}, kDefaults, {-30, -30}, false, {-30, -30}}),
    [](const auto& tested) { return tested.param.name; });

TEST(SnapPoint, EmptyEdgeImageNeverSnaps)
{
    PointD point{5, 5};
    EXPECT_FALSE(SnapPoint(FrameImage{}, kDefaults, point));
}

// ---- the view of Show -----------------------------------------------------------

struct ThresholdCase {
    std::string name;
    int vector;
    int threshold;
    int frameGrey; // every frame pixel: blue = green = red
    int edgeValue; // every edge pixel
    int shown;
};

class ThresholdForDisplayTest : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(ThresholdForDisplayTest, BinaryThresholdsTheFrameOthersTheEdgeImage)
{
    const ThresholdCase& c = GetParam();
    const FrameImage frame = GreyPicture(7, 5, 24, [&c](int, int) { return c.frameGrey; });
    const FrameImage edge = GreyPicture(7, 5, 8, [&c](int, int) { return c.edgeValue; });
    FrameImage shown;
    ASSERT_TRUE(ThresholdForDisplay(frame, edge, MagnetOptions{c.threshold, 10, c.vector}, shown));
    EXPECT_EQ(shown.bitsPerPixel(), 8);
    EXPECT_EQ(shown.Row(2)[3], c.shown);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ThresholdForDisplayTest,
                         ::testing::Values(
                             // 100 * grey against 100 * TH: 128 > 127, not > 128.
                             ThresholdCase{"BinaryAbove", kMagnetBinary, 127, 128, 0, 255},
                             ThresholdCase{"BinaryEqual", kMagnetBinary, 128, 128, 255, 0},
                             ThresholdCase{"EdgeAbove", kMagnetEdge, 100, 0, 101, 255},
                             ThresholdCase{"EdgeEqual", kMagnetEdgeWhite, 100, 255, 100, 0},
                             ThresholdCase{"NegativeThresholdTakesAll", kMagnetEdgeBlack, -1, 0, 0, 255},
                             ThresholdCase{"Threshold255TakesNone", kMagnetEdge, 255, 0, 255, 0}),
                         [](const auto& tested) { return tested.param.name; });

TEST(ThresholdForDisplay, EdgeImageOfAnotherSizeShowsNothing)
{
    const FrameImage frame = GreyPicture(7, 5, 24, [](int, int) { return 0; });
    const FrameImage edge = GreyPicture(6, 5, 8, [](int, int) { return 0; });
    FrameImage shown;
    EXPECT_FALSE(ThresholdForDisplay(frame, edge, MagnetOptions{}, shown));
    EXPECT_TRUE(shown.isEmpty());
}

// ---- when the edge image is rebuilt ------------------------------------------------

struct FrameEvent {
    std::uint32_t now;
    bool on;
    bool show;
    bool rebuilt;
};

struct RebuildCase {
    std::string name;
    std::vector<FrameEvent> frames;
};

class MagnetRebuildTest : public ::testing::TestWithParam<RebuildCase> {};

TEST_P(MagnetRebuildTest, FollowsTheSwitchShowAndTheOneSecondClock)
{
    FrameImage work1;
    FrameImage work2;
    MagnetAid magnet(work1, work2);
    const FrameImage frame = GreyPicture(8, 8, 24, [](int x, int) { return x * 20; });
    int index = 0;
    for (const FrameEvent& event : GetParam().frames) {
        magnet.SetOn(event.on);
        EXPECT_EQ(magnet.OnFrame(frame, MagnetOptions{}, event.show, event.now), event.rebuilt) << "frame " << index;
        ++index;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MagnetRebuildTest,
    ::testing::Values(
        RebuildCase{"OffNever", {{0, false, false, false}, {5000, false, false, false}}},
        // Switching on rebuilds with the next frame, then once a second (more than 1000 ms).
        RebuildCase{"OnceASecond",
                    {{100, true, false, true},
                     {600, true, false, false},
                     {1100, true, false, false},
                     {1101, true, false, true},
                     {1500, true, false, false}}},
        RebuildCase{"ShowEveryFrame", {{0, false, true, true}, {10, false, true, true}, {20, true, true, true}}},
        RebuildCase{"SwitchedOnAgain", {{0, true, false, true}, {100, false, false, false}, {200, true, false, true}}},
        RebuildCase{"ClockWraps", {{0xFFFFFF00u, true, false, true}, {0x00000300u, true, false, true}}}),
    [](const auto& tested) { return tested.param.name; });

TEST(MagnetAid, SwitchedOffNeverMovesAPoint)
{
    FrameImage work1;
    FrameImage work2;
    MagnetAid magnet(work1, work2);
    magnet.Rebuild(GreyPicture(100, 80, 24, [](int x, int) { return x < 52 ? 0 : 255; }), kMagnetEdge);
    PointD point{50, 40};
    EXPECT_FALSE(magnet.Snap(MagnetOptions{}, point));
    EXPECT_EQ(point, (PointD{50, 40}));
    magnet.SetOn(true);
    EXPECT_TRUE(magnet.Snap(MagnetOptions{}, point));
    EXPECT_EQ(point, (PointD{51, 40}));
}

} // namespace
} // namespace orvane
