#include "tools/CrossLineDrag.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane {
namespace {

CrossLine At(int x, int y, int show = 1)
{
    CrossLine line;
    line.Show = show;
    line.Pos_x = x;
    line.Pos_y = y;
    line.Size = 1;
    line.Draw = 100;
    return line;
}

// Master at (300, 200), slaves at offsets (50, 0) and (-40, 30), a hidden one
// at (0, 100); one circle list whose master sits at (600, 500).
CrossLineSettings Lists()
{
    CrossLineSettings lists;
    lists.lines = {At(300, 200), At(50, 0), At(-40, 30), At(0, 100, 0)};
    lists.circles = {At(600, 500), At(10, 0)};
    return lists;
}

struct GrabCase {
    const char* name;
    PointD press;
    std::optional<CrossLineGrab> grab;
};

class CrossLineGrabTest : public ::testing::TestWithParam<GrabCase> {};

TEST_P(CrossLineGrabTest, TheFirstShownEntryWithinTenPixels)
{
    const GrabCase& c = GetParam();
    CrossLineDrag drag;
    EXPECT_EQ(drag.OnRButtonDown(Lists(), c.press), c.grab);
    EXPECT_EQ(drag.grab(), c.grab);
}

using List = CrossLineGrab::List;
INSTANTIATE_TEST_SUITE_P(
    Presses, CrossLineGrabTest,
    ::testing::Values(GrabCase{"OnTheMaster", {300, 200}, CrossLineGrab{List::Lines, 0}},
                      GrabCase{"JustUnderTen", {306, 207.9}, CrossLineGrab{List::Lines, 0}},
                      GrabCase{"TenIsTooFar", {310, 200}, std::nullopt},
                      GrabCase{"SlaveAtItsAbsolutePosition", {352, 198}, CrossLineGrab{List::Lines, 1}},
                      GrabCase{"SecondSlave", {260, 230}, CrossLineGrab{List::Lines, 2}},
                      GrabCase{"HiddenSlaveIsNotGrabbed", {300, 300}, std::nullopt},
                      GrabCase{"ACircleWhenNoLineIsNear", {611, 501}, CrossLineGrab{List::Circles, 1}},
                      GrabCase{"OnTheSlavesOffsetItselfIsNothing", {50, 0}, std::nullopt}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CrossLineGrabTest, LinesAreSearchedBeforeCircles)
{
    CrossLineSettings lists = Lists();
    lists.circles.front().Pos_x = 301;
    CrossLineDrag drag;
    EXPECT_EQ(drag.OnRButtonDown(lists, {300, 200}), (CrossLineGrab{List::Lines, 0}));
}

TEST(CrossLineGrabTest, NothingOfAListWithAHiddenMaster)
{
    CrossLineSettings lists = Lists();
    lists.lines.front().Show = 0;
    CrossLineDrag drag;
    EXPECT_EQ(drag.OnRButtonDown(lists, {352, 198}), std::nullopt);
}

TEST(CrossLineDragTest, DraggingTheMasterMovesTheWholeSet)
{
    CrossLineSettings lists = Lists();
    CrossLineDrag drag;
    ASSERT_TRUE(drag.OnRButtonDown(lists, {301, 199}));
    EXPECT_TRUE(drag.OnMouseMove(lists, {420.8, 150.3}));
    EXPECT_EQ(lists.lines[0].Pos_x, 420);
    EXPECT_EQ(lists.lines[0].Pos_y, 150);
    // The slaves keep their offsets, so they moved with it.
    EXPECT_EQ(lists.lines[1].Pos_x, 50);
    EXPECT_EQ(lists.lines[2].Pos_y, 30);
    drag.OnRButtonUp();
    EXPECT_FALSE(drag.OnMouseMove(lists, {10, 10}));
    EXPECT_EQ(lists.lines[0].Pos_x, 420);
}

TEST(CrossLineDragTest, DraggingASlaveChangesItsOffsetOnly)
{
    CrossLineSettings lists = Lists();
    CrossLineDrag drag;
    ASSERT_TRUE(drag.OnRButtonDown(lists, {261, 229}));
    EXPECT_TRUE(drag.OnMouseMove(lists, {100.5, 400.2}));
    EXPECT_EQ(lists.lines[2].Pos_x, -200);
    EXPECT_EQ(lists.lines[2].Pos_y, 200);
    EXPECT_EQ(lists.lines[0].Pos_x, 300);
    EXPECT_EQ(lists.lines[0].Pos_y, 200);
}

TEST(CrossLineDragTest, AnEntryRemovedDuringTheDragIsLeftAlone)
{
    CrossLineSettings lists = Lists();
    CrossLineDrag drag;
    ASSERT_TRUE(drag.OnRButtonDown(lists, {260, 230}));
    lists.lines.resize(2);
    EXPECT_FALSE(drag.OnMouseMove(lists, {0, 0}));
    EXPECT_EQ(lists.lines[0].Pos_x, 300);
}

} // namespace
} // namespace orvane
