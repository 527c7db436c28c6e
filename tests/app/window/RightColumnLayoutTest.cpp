#include "app/window/RightColumnLayout.h"

#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "app/window/ControlIds.h"
#include "app/look/DpiScale.h"

namespace orvane {
namespace {

using namespace ctl;

// (control, dpi, right edge x) for a 1000-px client, a LIVE button 50 px wide
// at 96 dpi and 75 px at 144 dpi, and a 120-px calibration list.
class RightEdgeTest : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(RightEdgeTest, KeepsItsDistanceFromTheRightEdge)
{
    const auto [id, dpi, expected] = GetParam();
    const RightColumnInput input{1000, dpi == 96 ? 50 : 75, 120};
    const std::optional<int> x = RightEdgeX(id, input, DpiScale(dpi, dpi));
    ASSERT_TRUE(x.has_value());
    EXPECT_EQ(*x, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, RightEdgeTest,
    ::testing::Values(
        // group boxes: 11 (16.5 → 17 at 144 dpi)
        std::make_tuple(kImageGroup, 96, 989), std::make_tuple(kToolGroup, 144, 983),
        // third column: 18 (27)
        std::make_tuple(kDir, 96, 982), std::make_tuple(kThumb, 96, 982), std::make_tuple(kZoomList, 96, 982),
        std::make_tuple(kZoomLabel, 96, 982), std::make_tuple(kCircle, 96, 982), std::make_tuple(kAngle, 96, 982),
        std::make_tuple(kDelete, 96, 982), std::make_tuple(kCrossLine, 96, 982),
        std::make_tuple(kCalibrationList, 144, 973),
        // second column: w + 29 (75 + 43.5 → 44)
        std::make_tuple(kSave, 96, 921), std::make_tuple(kType, 96, 921), std::make_tuple(kAria, 96, 921),
        std::make_tuple(kSui, 96, 921), std::make_tuple(kClear, 96, 921), std::make_tuple(kCalib, 144, 881),
        // first column: 2w + 40 (150 + 60)
        std::make_tuple(kLive, 96, 860), std::make_tuple(kSet, 96, 860), std::make_tuple(kWhiteBalance, 96, 860),
        std::make_tuple(kLine, 96, 860), std::make_tuple(kCircle2, 96, 860), std::make_tuple(kColor, 96, 860),
        std::make_tuple(kCsv, 144, 790),
        // magnet button 46 (69), check box 28 (42)
        std::make_tuple(kMagnetButton, 96, 954), std::make_tuple(kMagnetButton, 144, 931),
        std::make_tuple(kMagnetCheck, 96, 972), std::make_tuple(kMagnetCheck, 144, 958),
        // calibration label: list width + 18; it ends where the list begins
        std::make_tuple(kCalibrationLabel, 96, 862), std::make_tuple(kCalibrationLabel, 144, 853),
        // top-right corner button: flush with the edge
        std::make_tuple(kRightCorner, 96, 1000), std::make_tuple(kRightCorner, 144, 1000)));

TEST(RightColumnLayoutTest, TheCalibrationLabelEndsWhereItsListBegins)
{
    for (const int dpi : {96, 120, 144, 192}) {
        const RightColumnInput input{777, 61, 133};
        const DpiScale scale(dpi, dpi);
        EXPECT_EQ(*RightEdgeX(kCalibrationLabel, input, scale), *RightEdgeX(kCalibrationList, input, scale) - 133)
            << dpi;
    }
}

TEST(RightColumnLayoutTest, ControlsOutsideTheRightColumnAreNotPlaced)
{
    const RightColumnInput input{1000, 50, 120};
    for (const int id : {kPicture, kResultList, kStripGroup, kStripScroll, kBottomCorner, 0}) {
        EXPECT_FALSE(RightEdgeX(id, input, DpiScale()).has_value()) << id;
    }
}

TEST(RightColumnLayoutTest, EveryListedControlIsPlaced)
{
    const RightColumnInput input{1000, 50, 120};
    EXPECT_EQ(RightColumnControls().size(), 28u);
    for (const int id : RightColumnControls()) {
        EXPECT_TRUE(RightEdgeDistance(id, input, DpiScale()).has_value()) << id;
    }
}

TEST(RightColumnLayoutTest, TheRightPanelIncludesTheListsButNotTheCornerButton)
{
    const std::span<const int> panel = RightPanelControls();
    EXPECT_EQ(panel.size(), 28u);
    const auto has = [&](int id) { return std::find(panel.begin(), panel.end(), id) != panel.end(); };
    EXPECT_TRUE(has(kResultList));
    EXPECT_TRUE(has(kCalibrationList));
    EXPECT_TRUE(has(kMagnetButton));
    EXPECT_TRUE(has(kMagnetCheck));
    EXPECT_FALSE(has(kRightCorner));
    EXPECT_FALSE(has(kPicture));
    const std::span<const int> bottom = BottomPanelControls();
    EXPECT_EQ(std::vector<int>(bottom.begin(), bottom.end()), (std::vector<int>{kStripScroll, kStripGroup}));
}

TEST(RightColumnLayoutTest, BottomCornerSitsOnTheBottomEdge)
{
    EXPECT_EQ(BottomCornerTop(500, 13), 487);
    EXPECT_EQ(BottomCornerTop(500, 20), 480);
}

} // namespace
} // namespace orvane
