#include "tools/CrossLineEdit.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct RealCase {
    double value;
    const char* text;
};

class TrimmedRealTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(TrimmedRealTest, TwoDecimalsWithoutTrailingZeros)
{
    EXPECT_EQ(TrimmedReal(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, TrimmedRealTest,
                         ::testing::Values(RealCase{1.5, "1.5"}, RealCase{2.0, "2"}, RealCase{0.125, "0.12"},
                                           RealCase{10.0, "10"}, RealCase{100.0, "100"}, RealCase{-3.10, "-3.1"},
                                           RealCase{0.0, "0"}, RealCase{-0.001, "0"}, RealCase{29.55, "29.55"}));

TEST(CrossLineLabelTest, MasterThenNumberedSlaves)
{
    EXPECT_EQ(CrossLineLabel(0), "Master");
    EXPECT_EQ(CrossLineLabel(1), "Slave_1");
    EXPECT_EQ(CrossLineLabel(12), "Slave_12");
}

std::vector<CrossLine> ThreeLines()
{
    std::vector<CrossLine> lines(3);
    lines[0].Pos_x = 100;
    lines[0].Pos_y = 50;
    lines[0].Color = 0x0000FF;
    lines[1].Pos_x = 30;
    lines[1].Pos_y = 40;
    lines[1].Color = 0xFF0000;
    lines[2].Color = 0x00FFFF;
    return lines;
}

TEST(AddCrossLineTest, ShownAtTheMasterWithTheSelectedEntrysColour)
{
    std::vector<CrossLine> lines = ThreeLines();
    EXPECT_EQ(AddCrossLine(lines, 1, 1, 4, 60), 3U);
    ASSERT_EQ(lines.size(), 4U);
    const CrossLine& added = lines[3];
    EXPECT_EQ(added.Show, 1);
    EXPECT_EQ(added.Pos_x, 0);
    EXPECT_EQ(added.Pos_y, 0);
    EXPECT_EQ(added.Type, 1);
    EXPECT_EQ(added.Color, 0xFF0000U);
    EXPECT_EQ(added.Size, 4);
    EXPECT_EQ(added.Draw, 60);

    AddCrossLine(lines, std::nullopt, 0, 1, 100);
    EXPECT_EQ(lines[4].Color, 0x00FF00U);
}

struct RemoveCase {
    const char* name;
    std::size_t index;
    std::optional<std::size_t> selected;
    std::vector<COLORREF> coloursLeft;
};

class RemoveCrossLineTest : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveCrossLineTest, TheMasterStaysAndTheEntryBeforeIsSelected)
{
    const RemoveCase& c = GetParam();
    std::vector<CrossLine> lines = ThreeLines();
    EXPECT_EQ(RemoveCrossLine(lines, c.index), c.selected);
    std::vector<COLORREF> colours;
    for (const CrossLine& line : lines) {
        colours.push_back(line.Color);
    }
    EXPECT_EQ(colours, c.coloursLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Removals, RemoveCrossLineTest,
    ::testing::Values(RemoveCase{"Master", 0, std::nullopt, {0x0000FF, 0xFF0000, 0x00FFFF}},
                      RemoveCase{"FirstSlave", 1, 0, {0x0000FF, 0x00FFFF}},
                      RemoveCase{"LastSlave", 2, 1, {0x0000FF, 0xFF0000}},
                      RemoveCase{"PastTheEnd", 3, std::nullopt, {0x0000FF, 0xFF0000, 0x00FFFF}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CrossLineDistanceTest, BetweenAbsolutePositionsInCalibratedUnits)
{
    const std::vector<CrossLine> lines = ThreeLines();
    // Master (100, 50), slave 1 at (130, 90), slave 2 at (100, 50).
    const CrossLineDistance d = DistanceBetween(lines, 0, 1, {0.05, 0.1});
    EXPECT_DOUBLE_EQ(d.dx, 1.5);
    EXPECT_DOUBLE_EQ(d.dy, 4.0);
    EXPECT_DOUBLE_EQ(d.xy, std::sqrt(1.5 * 1.5 + 16.0));
    const CrossLineDistance back = DistanceBetween(lines, 1, 2, {0.05, 0.1});
    EXPECT_DOUBLE_EQ(back.dx, -1.5);
    EXPECT_DOUBLE_EQ(back.dy, -4.0);
}

} // namespace
} // namespace orvane
