#include "tools/FocusIndicator.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingSurface.h"
#include "ToolsTestPictures.h"
#include "tools/FocusMeter.h"

namespace orvane {
namespace {

using test::GreyPicture;
using test::LineCall;
using test::PenCall;
using test::RecordingSurface;

// Draws an area from `from` to `to` with button 1122 and the left button.
std::optional<int> DrawArea(FocusIndicator& focus, IntPoint from, IntPoint to)
{
    focus.StartArea();
    focus.OnLButtonDown(from);
    focus.OnMouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
    return focus.OnLButtonUp(to);
}

TEST(FocusIndicator, AreaIsDrawnCornerToCornerAndNormalised)
{
    FocusIndicator focus;
    EXPECT_FALSE(focus.OnLButtonDown({5, 5})); // no area started
    EXPECT_TRUE(focus.StartArea());
    EXPECT_EQ(focus.drawingState(), FocusArea::kWaiting);
    EXPECT_FALSE(focus.StartArea()); // a second press changes nothing
    EXPECT_FALSE(focus.OnMouseMove({7, 7}));
    EXPECT_TRUE(focus.OnLButtonDown({60, 50}));
    EXPECT_EQ(focus.drawingState(), FocusArea::kDragging);
    EXPECT_TRUE(focus.OnMouseMove({20, 10}));
    EXPECT_EQ(focus.drawing().area, (RECT{60, 50, 20, 10}));
    const std::optional<int> index = focus.OnLButtonUp({10, 5});
    ASSERT_EQ(index, 0);
    EXPECT_EQ(focus.drawingState(), FocusArea::kFree);
    EXPECT_EQ(focus.areas()[0].area, (RECT{10, 5, 60, 50}));
    EXPECT_EQ(focus.areas()[0].state, FocusArea::kPlaced);
    EXPECT_FALSE(focus.OnLButtonUp({1, 1}));
}

TEST(FocusIndicator, TwoAreasGetMetersOneAndTwoAndClosedSlotsAreNotReused)
{
    FocusIndicator focus;
    EXPECT_EQ(DrawArea(focus, {0, 0}, {20, 20}), 0);
    EXPECT_EQ(DrawArea(focus, {30, 30}, {50, 50}), 1);
    EXPECT_EQ(focus.areaCount(), 2); // the meters' titles "1" and "2"
    focus.Close(0);
    EXPECT_EQ(focus.areas()[0].state, FocusArea::kClosed);
    RecordingSurface surface;
    focus.DrawFocusOverlay(surface, ViewTransform{}, FocusStyle{}, 100);
    EXPECT_EQ(focus.areas()[0].state, FocusArea::kFree);
    EXPECT_EQ(surface.Calls<LineCall>().size(), 4u); // only the second area
    EXPECT_EQ(DrawArea(focus, {60, 60}, {70, 70}), 2);
    EXPECT_EQ(focus.areaCount(), 3);
}

TEST(FocusIndicator, ChoosingAToolGivesUpTheAreaBeingDrawn)
{
    FocusIndicator focus;
    focus.StartArea();
    focus.OnLButtonDown({1, 1});
    focus.CancelArea();
    EXPECT_EQ(focus.drawingState(), FocusArea::kFree);
    EXPECT_FALSE(focus.OnLButtonUp({9, 9}));
    EXPECT_TRUE(focus.areas().empty());
}

struct FrameStep {
    std::string name;
    int (*grey)(int x, int y);
    bool scaleChanged; // before the frame
    int value;
    int peak;
};

TEST(FocusIndicator, PeakFollowsTheHighestValueUntilTheScaleChanges)
{
    const std::vector<FrameStep> steps{
        {"Uniform", [](int, int) { return 90; }, false, 0, 0},
        {"Sharp", [](int x, int) { return (x / 2) % 2 != 0 ? 255 : 0; }, false, 1020, 1020},
        {"Blurred", [](int x, int) { return x < 30 ? 100 : 200; }, false, 400, 1020},
        // A new scale restarts the peak from the current value, not from 0.
        {"ScaleChanged", [](int, int) { return 90; }, true, 0, 400},
    };
    FocusIndicator focus;
    DrawArea(focus, {10, 10}, {50, 50});
    for (const FrameStep& step : steps) {
        if (step.scaleChanged) {
            focus.ScaleChanged(0);
        }
        EXPECT_TRUE(focus.ComputeFocus(GreyPicture(80, 60, 24, step.grey))) << step.name;
        EXPECT_EQ(focus.areas()[0].value, step.value) << step.name;
        EXPECT_EQ(focus.areas()[0].peak, step.peak) << step.name;
    }
    focus.Close(0);
    RecordingSurface surface;
    focus.DrawFocusOverlay(surface, ViewTransform{}, FocusStyle{}, 80);
    EXPECT_FALSE(focus.ComputeFocus(GreyPicture(80, 60, 24, steps[0].grey)));
}

TEST(FocusIndicator, OverlayOutlinesAreasTheRubberBandAndTheFocusLineInViewPixels)
{
    FocusIndicator focus;
    DrawArea(focus, {20, 10}, {40, 30});
    DrawArea(focus, {50, 10}, {60, 20});
    focus.SetActive(1, true);
    focus.StartArea();
    focus.OnLButtonDown({70, 40});
    focus.OnMouseMove({65, 45});
    const ViewTransform transform{2.0, 2.0, -10.0, -5.0};
    const FocusStyle style{.wave = 0x8080FF, .waveSize = 3, .focusFlag = 1, .focusPosition = 30};
    RecordingSurface surface;
    focus.DrawFocusOverlay(surface, transform, style, 100);

    const std::vector<LineCall> lines = surface.Calls<LineCall>();
    const std::vector<LineCall> expected{
        {20, 10, 60, 10},   {60, 10, 60, 50},   {60, 50, 20, 50},   {20, 50, 20, 10},   // area 1
        {80, 10, 100, 10},  {100, 10, 100, 30}, {100, 30, 80, 30},  {80, 30, 80, 10},   // area 2 (active)
        {120, 70, 110, 70}, {110, 70, 110, 80}, {110, 80, 120, 80}, {120, 80, 120, 70}, // rubber band
        {-20, 50, 180, 50},                                                             // focus line
    };
    EXPECT_EQ(lines, expected);
    const std::vector<PenCall> pens = surface.Calls<PenCall>();
    const std::vector<PenCall> expectedPens{{0x8080FF, 3}, {0xFF8080, 3}, {0x8080FF, 3}, {0x8080FF, 3}};
    EXPECT_EQ(pens, expectedPens);
}

} // namespace
} // namespace orvane
