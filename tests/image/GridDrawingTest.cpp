#include "image/GridDrawing.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingSurface.h"

namespace orvane {
namespace {

using test::LineCall;
using test::PenCall;
using test::RecordingSurface;

struct GridCase {
    const char* name;
    int width, height, gridSize;
    ViewTransform transform;
    std::vector<LineCall> lines;
};

class DrawGridTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(DrawGridTest, LinesAtMultiplesOfTheSpacingFromTheTopLeftCorner)
{
    const GridCase& c = GetParam();
    RecordingSurface surface;
    DrawGrid(surface, c.transform, c.width, c.height, c.gridSize, RGB(128, 128, 255));
    EXPECT_EQ(surface.Calls<LineCall>(), c.lines);
    if (!c.lines.empty()) {
        EXPECT_EQ(surface.Calls<PenCall>(), (std::vector<PenCall>{{RGB(128, 128, 255), 1}}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grids, DrawGridTest,
    ::testing::Values(
        GridCase{"BordersGetLinesWhenTheSizeIsAMultiple",
                 300,
                 200,
                 100,
                 {},
                 {{100, 0, 100, 200}, {200, 0, 200, 200}, {300, 0, 300, 200}, {0, 100, 300, 100}, {0, 200, 300, 200}}},
        GridCase{"NoLineBeyondTheBorder", 250, 150, 100, {}, {{100, 0, 100, 150}, {200, 0, 200, 150}, {0, 100, 250, 100}}},
        // x1.4 with pan (-10, -20): T(x, y) = ((x - 10) * 1.4, (y - 20) * 1.4), truncated.
        GridCase{"ZoomedAndPanned",
                 130,
                 90,
                 45,
                 {1.4, 1.4, -10.0, -20.0},
                 {{49, -28, 49, 98}, {112, -28, 112, 98}, {-14, 35, 168, 35}, {-14, 98, 168, 98}}},
        GridCase{"SpacingLargerThanThePictureDrawsNothing", 80, 60, 100, {}, {}},
        GridCase{"SpacingBelowOneDrawsNothing", 80, 60, 0, {}, {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(DrawCrossHairsTest, FullLinesThroughThePointer)
{
    RecordingSurface surface;
    DrawCrossHairs(surface, {2.0, 2.0, -100.0, -50.0}, 640, 480, {150.7, 80.2}, RGB(0, 0, 0));
    EXPECT_EQ(surface.Calls<LineCall>(), (std::vector<LineCall>{{101, -100, 101, 860}, {-200, 60, 1080, 60}}));
    EXPECT_EQ(surface.Calls<PenCall>(), (std::vector<PenCall>{{RGB(0, 0, 0), 1}}));
}

struct FormatCase {
    const char* name;
    int gridSize;
    double unitsPerPixel;
    int scaleDec;
    std::optional<std::string> text;
};

class FormatGridFieldTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatGridFieldTest, DecimalsFollowScaleDec)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatGridField(c.gridSize, c.unitsPerPixel, c.scaleDec), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FormatGridFieldTest,
    ::testing::Values(FormatCase{"OneDecimal", 100, 0.05, 1, "5.0"}, FormatCase{"TwoDecimals", 50, 0.05, 2, "2.50"},
                      FormatCase{"ThreeDecimals", 7, 0.05, 3, "0.350"},
                      FormatCase{"NoPointGivesOneDecimal", 100, 0.05, -1, "5.0"},
                      FormatCase{"FourGivesOneDecimal", 100, 0.05, 4, "5.0"},
                      FormatCase{"ZeroCalibrationKeepsTheField", 100, 0.0, 1, std::nullopt},
                      FormatCase{"NaNCalibrationKeepsTheField", 100, std::numeric_limits<double>::quiet_NaN(), 1,
                                 std::nullopt}),
    [](const auto& param) { return std::string(param.param.name); });

struct ParseCase {
    const char* name;
    const char* text;
    double unitsPerPixel;
    int scaleDec;
    std::optional<int> gridSize;
};

class ParseGridFieldTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseGridFieldTest, TypedTextGivesScaleDecAndMaybeTheGridSize)
{
    const ParseCase& c = GetParam();
    const GridFieldEntry entry = ParseGridField(c.text, c.unitsPerPixel);
    EXPECT_EQ(entry.scaleDec, c.scaleDec);
    EXPECT_EQ(entry.gridSize, c.gridSize);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseGridFieldTest,
    ::testing::Values(ParseCase{"TwoDecimalsTyped", "2.50", 0.05, 2, 50},
                      ParseCase{"NoPointIsMinusOne", "3", 0.05, -1, 60},
                      ParseCase{"LeadingBlanksAndPlus", "  +1.5", 0.05, 1, 30},
                      ParseCase{"TrailingTextIsIgnoredAsByScanf", "1.5mm", 0.05, 3, 30},
                      ParseCase{"LessThanOnePixelKeepsTheSize", "0.04", 0.05, 2, std::nullopt},
                      ParseCase{"NegativeKeepsTheSize", "-5", 0.05, -1, std::nullopt},
                      ParseCase{"NotANumberKeepsTheSize", "abc", 0.05, -1, std::nullopt},
                      ParseCase{"EmptyKeepsTheSize", "", 0.05, -1, std::nullopt},
                      ParseCase{"InfinityKeepsTheSize", "inf", 0.05, -1, std::nullopt},
                      ParseCase{"ZeroCalibrationKeepsTheSize", "2.5", 0.0, 1, std::nullopt}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace orvane
