#include "tools/CrossLineDrawing.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A picture of one colour, 24 bits.
FrameImage Filled(int width, int height, COLORREF colour)
{
    FrameImage image;
    EXPECT_TRUE(image.Create(width, height, 24));
    image.Fill(nullptr, colour);
    return image;
}

COLORREF PixelAt(const FrameImage& image, int x, int y)
{
    const std::uint8_t* pixel = image.Row(y) + static_cast<std::ptrdiff_t>(x) * image.bytesPerPixel();
    return RGB(pixel[2], pixel[1], pixel[0]);
}

CrossLine Line(int x, int y, COLORREF colour, int size, int draw, int type = 0)
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

struct BlendCase {
    const char* name;
    COLORREF background;
    COLORREF colour;
    int draw;
    COLORREF expected;
};

class BlendTest : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendTest, EachChannelBlendedWithIntegerPercentages)
{
    const BlendCase& c = GetParam();
    FrameImage image = Filled(8, 8, c.background);
    BlendCrossBands(image, {4, 4}, Line(4, 4, c.colour, 1, c.draw));
    EXPECT_EQ(PixelAt(image, 0, 4), c.expected);
    EXPECT_EQ(PixelAt(image, 4, 0), c.expected);
    EXPECT_EQ(PixelAt(image, 0, 0), c.background);
}

INSTANTIATE_TEST_SUITE_P(
    Opacities, BlendTest,
    // With Draw 50 and red, white becomes blue 127, green 127, red 254.
    ::testing::Values(BlendCase{"HalfRedOnWhite", kWhite, 0x0000FF, 50, RGB(254, 127, 127)},
                      BlendCase{"SolidColour", kWhite, 0x00FF00, 100, RGB(0, 255, 0)},
                      BlendCase{"InvisibleAtZero", RGB(10, 20, 30), 0x00FF00, 0, RGB(10, 20, 30)},
                      // 1 * 50 / 100 + 50 * 1 / 100 = 0, not (50 + 50) / 100 = 1.
                      BlendCase{"ProductsDividedSeparately", RGB(1, 1, 1), RGB(1, 1, 1), 50, RGB(0, 0, 0)},
                      BlendCase{"OpacityAbove100CountsAs100", kWhite, 0x0000FF, 250, RGB(255, 0, 0)},
                      BlendCase{"NegativeOpacityCountsAsZero", kWhite, 0x0000FF, -20, kWhite}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CrossBandsTest, DashedBandOfThreeRowsEighteenOnSixOff)
{
    FrameImage image = Filled(60, 200, kWhite);
    BlendCrossBands(image, {30, 100}, Line(30, 100, RGB(0, 0, 0), 3, 100, 1));
    for (int x = 0; x < 60; ++x) {
        if (x >= 29 && x <= 31) {
            continue; // the vertical band
        }
        const COLORREF expected = x % 24 < 18 ? RGB(0, 0, 0) : kWhite;
        for (int y : {99, 100, 101}) {
            EXPECT_EQ(PixelAt(image, x, y), expected) << x << ", " << y;
        }
        EXPECT_EQ(PixelAt(image, x, 98), kWhite) << x;
        EXPECT_EQ(PixelAt(image, x, 102), kWhite) << x;
    }
    // The vertical band is dashed along its rows the same way.
    for (int y = 0; y < 200; ++y) {
        if (y >= 99 && y <= 101) {
            continue;
        }
        const COLORREF expected = y % 24 < 18 ? RGB(0, 0, 0) : kWhite;
        EXPECT_EQ(PixelAt(image, 30, y), expected) << y;
        EXPECT_EQ(PixelAt(image, 28, y), kWhite) << y;
        EXPECT_EQ(PixelAt(image, 32, y), kWhite) << y;
    }
}

struct EdgeCase {
    const char* name;
    IntPoint crossing;
    int size;
    int expectedRows; // rows of the horizontal band inside a 20 x 20 picture
};

class BandEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(BandEdgeTest, PixelsOutsideThePictureAreSkipped)
{
    const EdgeCase& c = GetParam();
    FrameImage image = Filled(20, 20, kWhite);
    BlendCrossBands(image, c.crossing, Line(0, 0, RGB(0, 0, 0), c.size, 100));
    int rows = 0;
    for (int y = 0; y < 20; ++y) {
        // Column 10 lies outside every vertical band of the table.
        rows += PixelAt(image, 10, y) == RGB(0, 0, 0) ? 1 : 0;
    }
    EXPECT_EQ(rows, c.expectedRows);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BandEdgeTest,
    ::testing::Values(EdgeCase{"EvenSizeStartsHalfAbove", {-50, 5}, 4, 4}, EdgeCase{"TopEdgeCut", {-50, 0}, 5, 3},
                      EdgeCase{"BottomEdgeCut", {-50, 19}, 4, 3}, EdgeCase{"Outside", {-50, 40}, 10, 0},
                      EdgeCase{"FarOutside", {INT32_MIN, INT32_MAX}, 10, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CrossLinesTest, SlavesSitRelativeToTheMasterAndFollowTheView)
{
    // x2, pan (-10, -5): T(x, y) = ((x - 10) * 2, (y - 5) * 2).
    const ViewTransform view{2.0, 2.0, -10.0, -5.0};
    std::vector<CrossLine> lines{Line(20, 15, RGB(255, 0, 0), 1, 100), Line(5, 10, RGB(0, 0, 255), 1, 100),
                                 Line(-5, 0, RGB(0, 255, 0), 1, 100)};
    lines[2].Show = 0;
    FrameImage image = Filled(80, 80, kWhite);
    BlendCrossLines(image, view, lines);
    EXPECT_EQ(PixelAt(image, 20, 3), RGB(255, 0, 0));  // master column (20 - 10) * 2
    EXPECT_EQ(PixelAt(image, 3, 20), RGB(255, 0, 0));  // master row (15 - 5) * 2
    EXPECT_EQ(PixelAt(image, 30, 3), RGB(0, 0, 255));  // slave at (25, 25): column 30
    EXPECT_EQ(PixelAt(image, 3, 40), RGB(0, 0, 255));  // row 40
    EXPECT_EQ(PixelAt(image, 10, 3), kWhite);          // the hidden slave's column (15 - 10) * 2
}

TEST(CrossLinesTest, AHiddenMasterHidesEverySlave)
{
    std::vector<CrossLine> lines{Line(10, 10, RGB(255, 0, 0), 1, 100), Line(5, 5, RGB(0, 0, 255), 1, 100)};
    lines[0].Show = 0;
    FrameImage image = Filled(40, 40, kWhite);
    BlendCrossLines(image, {}, lines);
    BlendCrossCircleCentres(image, {}, lines);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(PixelAt(image, x, y), kWhite) << x << ", " << y;
        }
    }
}

TEST(CrossLinesTest, DefaultSettingsDrawNothing)
{
    const std::vector<CrossLine> lines{DefaultMasterLine()};
    FrameImage image = Filled(1280, 1024, kWhite);
    BlendCrossLines(image, {}, lines);
    EXPECT_EQ(PixelAt(image, 640, 100), kWhite);
    EXPECT_EQ(PixelAt(image, 100, 480), kWhite);
}

} // namespace
} // namespace orvane
