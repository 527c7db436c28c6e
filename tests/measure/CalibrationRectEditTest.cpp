#include "measure/CalibrationRectEdit.h"

#include <tuple>

#include <gtest/gtest.h>

namespace orvane {
namespace {

CALIBRATION Rectangle(double left, double top, double right, double bottom)
{
    CALIBRATION record;
    record.left = left;
    record.top = top;
    record.right = right;
    record.bottom = bottom;
    return record;
}

struct HitCase {
    double x;
    double y;
    std::int32_t mode;
};

class CalibrationHitTest : public testing::TestWithParam<HitCase> {};

// The default rectangle (0, 0)-(200, 200), centre (100, 100).
TEST_P(CalibrationHitTest, FindsThePartUnderThePointer)
{
    const HitCase c = GetParam();
    EXPECT_EQ(CalibrationHitMode(Rectangle(0, 0, 200, 200), PointD{c.x, c.y}), c.mode) << c.x << ", " << c.y;
}

INSTANTIATE_TEST_SUITE_P(Points, CalibrationHitTest,
                         testing::Values(HitCase{100, 100, kCalibDragMove}, HitCase{90.5, 109.5, kCalibDragMove},
                                         HitCase{110, 91, kCalibDragMove},
                                         HitCase{90, 100, kCalibDragNone}, // centre at x + 10
                                         HitCase{100, 0, kCalibDragTop}, HitCase{95, -9.5, kCalibDragTop},
                                         HitCase{100, 0.5, kCalibDragNone}, // the mark lies above the pointer
                                         HitCase{100, -10, kCalibDragNone}, HitCase{105, 195, kCalibDragBottom},
                                         HitCase{100, 200, kCalibDragBottom}, HitCase{100, 201, kCalibDragNone},
                                         HitCase{-5, 100, kCalibDragLeft}, HitCase{0, 95, kCalibDragLeft},
                                         HitCase{1, 100, kCalibDragNone}, HitCase{191, 104, kCalibDragRight},
                                         HitCase{200, 100, kCalibDragRight}, HitCase{150, 150, kCalibDragNone}));

TEST(CalibrationHitModeTest, SideMarksReplaceTheCentreAndEndMarks)
{
    // A rectangle so small that the centre and the marks overlap.
    const CALIBRATION small = Rectangle(0, 0, 8, 8);
    EXPECT_EQ(CalibrationHitMode(small, PointD{0, 4}), kCalibDragLeft);
    EXPECT_EQ(CalibrationHitMode(small, PointD{4, 0}), kCalibDragRight);
    EXPECT_EQ(CalibrationHitMode(small, PointD{-3, 8}), kCalibDragLeft);
    // Below the side marks' reach only the first step applies.
    EXPECT_EQ(CalibrationHitMode(Rectangle(0, 0, 8, 30), PointD{4, 26}), kCalibDragBottom);
}

struct CornerCase {
    int x;
    int y;
    int corner;
};

class FrameCornerTest : public testing::TestWithParam<CornerCase> {};

TEST_P(FrameCornerTest, FindsACornerWithinTenPixels)
{
    const CornerCase c = GetParam();
    EXPECT_EQ(FrameCornerAt(RECT{10, 10, 630, 470}, IntPoint{c.x, c.y}), c.corner) << c.x << ", " << c.y;
}

INSTANTIATE_TEST_SUITE_P(Points, FrameCornerTest,
                         testing::Values(CornerCase{15, 5, kFrameCornerTopLeft}, CornerCase{1, 19, kFrameCornerTopLeft},
                                         CornerCase{20, 10, kFrameCornerNone}, CornerCase{10, 0, kFrameCornerNone},
                                         CornerCase{639, 1, kFrameCornerTopRight},
                                         CornerCase{5, 479, kFrameCornerBottomLeft},
                                         CornerCase{625, 465, kFrameCornerBottomRight},
                                         CornerCase{320, 240, kFrameCornerNone}));

TEST(FrameCornerAtTest, TakesTheFirstCornerInOrderAndSurvivesExtremeValues)
{
    EXPECT_EQ(FrameCornerAt(RECT{0, 0, 5, 5}, IntPoint{3, 3}), kFrameCornerTopLeft);
    EXPECT_EQ(FrameCornerAt(RECT{0, 0, 5, 5}, IntPoint{12, 3}), kFrameCornerTopRight);
    EXPECT_EQ(FrameCornerAt(RECT{-2147483647 - 1, 0, 2147483647, 5}, IntPoint{2147483647, 0}), kFrameCornerTopRight);
}

class CalibrationSessionTest : public testing::Test {
protected:
    void SetUp() override
    {
        record = Rectangle(0, 0, 200, 200);
        edit.Begin(record, frame);
        edit.SetSizeChangedListener([this] { ++sizeChanges; });
    }

    CALIBRATION record;
    RECT frame{10, 10, 630, 470};
    CalibrationRectEdit edit;
    int sizeChanges = 0;
};

TEST_F(CalibrationSessionTest, DraggingTheRightMarkWidensAboutTheCentre)
{
    const CalibrationMouseResult press = edit.OnRButtonDown(PointD{195, 100});
    EXPECT_TRUE(press.handled);
    EXPECT_EQ(press.cursorHint, kCursorHintWestEast);
    EXPECT_EQ(record.dragMode, kCalibDragRight);

    const CalibrationMouseResult move = edit.OnMouseMove(PointD{225, 100}, true);
    EXPECT_TRUE(move.handled);
    EXPECT_TRUE(move.repaint);
    EXPECT_EQ(move.cursorHint, kCursorHintWestEast);
    EXPECT_EQ(record.right - record.left, 260.0);
    EXPECT_EQ(record.left + (record.right - record.left) * 0.5, 100.0);
    EXPECT_EQ(record.dragAnchor, (PointD{225, 100}));
    EXPECT_EQ(sizeChanges, 1);
}

TEST_F(CalibrationSessionTest, MovingShiftsAllSidesWithoutNewValues)
{
    ASSERT_EQ(edit.OnRButtonDown(PointD{100, 100}).cursorHint, kCursorHintMove);
    edit.OnMouseMove(PointD{104, 98}, true);
    edit.OnMouseMove(PointD{107.5, 97}, true);
    EXPECT_EQ(record.left, 7.5);
    EXPECT_EQ(record.right, 207.5);
    EXPECT_EQ(record.top, -3.0);
    EXPECT_EQ(record.bottom, 197.0);
    EXPECT_EQ(sizeChanges, 0);
}

// Per edge mark: where to press, which way is inward, the side it sizes.
struct EdgeCase {
    std::int32_t mode;
    PointD press;
    PointD inward; // a 10-pixel step towards the centre
};

class ShrinkLimitTest : public testing::TestWithParam<EdgeCase> {};

// A 44 x 44 rectangle at (100, 100)-(144, 144), centre (122, 122).
TEST_P(ShrinkLimitTest, ShrinksOnceFromFortyFourThenNoFurther)
{
    const EdgeCase c = GetParam();
    CALIBRATION rect = Rectangle(100, 100, 144, 144);
    RECT frameRect{1000, 1000, 2000, 2000};
    CalibrationRectEdit session;
    session.Begin(rect, frameRect);
    ASSERT_TRUE(session.OnRButtonDown(c.press).handled);
    ASSERT_EQ(rect.dragMode, c.mode);
    const auto side = [&] {
        return c.mode == kCalibDragLeft || c.mode == kCalibDragRight ? rect.right - rect.left : rect.bottom - rect.top;
    };

    const PointD once{c.press.x + c.inward.x, c.press.y + c.inward.y};
    EXPECT_TRUE(session.OnMouseMove(once, true).repaint);
    EXPECT_EQ(side(), 24.0);

    const PointD twice{once.x + c.inward.x, once.y + c.inward.y};
    const CalibrationMouseResult refused = session.OnMouseMove(twice, true);
    EXPECT_TRUE(refused.handled);
    EXPECT_FALSE(refused.repaint);
    EXPECT_EQ(side(), 24.0);
    EXPECT_EQ(rect.dragAnchor, once); // a refused step keeps the anchor

    // Back out past the anchor: enlarging is always applied.
    const PointD back{once.x - c.inward.x / 2, once.y - c.inward.y / 2};
    session.OnMouseMove(back, true);
    EXPECT_EQ(side(), 34.0);
    EXPECT_EQ(rect.left + rect.right, 244.0);
    EXPECT_EQ(rect.top + rect.bottom, 244.0);
}

INSTANTIATE_TEST_SUITE_P(Marks, ShrinkLimitTest,
                         testing::Values(EdgeCase{kCalibDragTop, {122, 95}, {0, 10}},
                                         EdgeCase{kCalibDragBottom, {122, 140}, {0, -10}},
                                         EdgeCase{kCalibDragLeft, {95, 122}, {10, 0}},
                                         EdgeCase{kCalibDragRight, {140, 122}, {-10, 0}}));

TEST_F(CalibrationSessionTest, CornerDragSetsTheCornerToTheWholePixel)
{
    const CalibrationMouseResult press = edit.OnRButtonDown(PointD{625.7, 465.2});
    EXPECT_TRUE(press.handled);
    EXPECT_EQ(press.cursorHint, kCursorHintMove);
    EXPECT_EQ(record.dragMode, kCalibDragNone);
    EXPECT_EQ(edit.cornerDrag(), kFrameCornerBottomRight);

    const CalibrationMouseResult move = edit.OnMouseMove(PointD{600.9, 400.2}, true);
    EXPECT_TRUE(move.repaint);
    EXPECT_EQ(move.cursorHint, kCursorHintMove);
    EXPECT_EQ(frame, (RECT{10, 10, 600, 400}));
    EXPECT_EQ(record.right, 200.0);

    edit.OnRButtonUp();
    EXPECT_FALSE(edit.dragging());
    EXPECT_FALSE(edit.OnMouseMove(PointD{300, 300}, true).handled);
    EXPECT_EQ(frame, (RECT{10, 10, 600, 400}));
}

TEST_F(CalibrationSessionTest, EachCornerFollowsThePointer)
{
    const IntPoint pressAt[] = {{12, 8}, {628, 12}, {8, 468}};
    const RECT expected[] = {{50, 60, 630, 470}, {10, 60, 50, 470}, {50, 10, 630, 60}};
    for (int i = 0; i < 3; ++i) {
        frame = RECT{10, 10, 630, 470};
        ASSERT_TRUE(edit.OnRButtonDown(PointD{double(pressAt[i].x), double(pressAt[i].y)}).handled);
        edit.OnMouseMove(PointD{50.5, 60.5}, true);
        edit.OnRButtonUp();
        EXPECT_EQ(frame, expected[i]) << "corner " << i + 1;
    }
}

TEST_F(CalibrationSessionTest, TheRectangleWinsOverAFrameCorner)
{
    frame = RECT{195, 95, 400, 400};
    ASSERT_TRUE(edit.OnRButtonDown(PointD{196, 100}).handled);
    EXPECT_EQ(record.dragMode, kCalibDragRight);
    EXPECT_EQ(edit.cornerDrag(), kFrameCornerNone);
}

TEST_F(CalibrationSessionTest, LeavingThePictureEndsTheDrag)
{
    edit.OnRButtonDown(PointD{195, 100});
    const CalibrationMouseResult left = edit.OnMouseMove(PointD{700, 100}, false);
    EXPECT_TRUE(left.handled);
    EXPECT_EQ(record.dragMode, kCalibDragNone);
    EXPECT_EQ(record.right, 200.0);

    EXPECT_FALSE(edit.OnMouseMove(PointD{230, 100}, true).handled);
    EXPECT_EQ(record.right, 200.0);

    edit.OnRButtonDown(PointD{18, 15});
    ASSERT_EQ(edit.cornerDrag(), kFrameCornerTopLeft);
    edit.OnMouseMove(PointD{-30, 15}, false);
    EXPECT_FALSE(edit.dragging());
    EXPECT_EQ(frame, (RECT{10, 10, 630, 470}));
}

TEST_F(CalibrationSessionTest, ReleaseEndsTheRectangleDrag)
{
    edit.OnRButtonDown(PointD{100, 195});
    ASSERT_EQ(record.dragMode, kCalibDragBottom);
    edit.OnRButtonUp();
    EXPECT_EQ(record.dragMode, kCalibDragNone);
    edit.OnMouseMove(PointD{100, 250}, true);
    EXPECT_EQ(record.bottom, 200.0);
}

TEST_F(CalibrationSessionTest, APressOnNothingGrabsNothingButSetsTheAnchor)
{
    const CalibrationMouseResult press = edit.OnRButtonDown(PointD{300, 300});
    EXPECT_FALSE(press.handled);
    EXPECT_EQ(press.cursorHint, -1);
    EXPECT_FALSE(edit.dragging());
    EXPECT_EQ(record.dragAnchor, (PointD{300, 300}));
}

TEST_F(CalibrationSessionTest, HoverNearAFrameCornerAsksForTheMoveCursor)
{
    const CalibrationMouseResult near = edit.OnMouseMove(PointD{636.5, 478.9}, true);
    EXPECT_TRUE(near.handled);
    EXPECT_FALSE(near.repaint);
    EXPECT_EQ(near.cursorHint, kCursorHintMove);
    EXPECT_FALSE(edit.OnMouseMove(PointD{641, 478}, true).handled);
    EXPECT_FALSE(edit.OnMouseMove(PointD{100, 100}, true).handled); // the rectangle's centre is no hover spot
}

TEST_F(CalibrationSessionTest, AClosedDialogHandlesNothing)
{
    edit.End();
    EXPECT_FALSE(edit.isOpen());
    EXPECT_FALSE(edit.OnRButtonDown(PointD{100, 100}).handled);
    EXPECT_FALSE(edit.OnMouseMove(PointD{15, 15}, true).handled);
    EXPECT_EQ(record.dragMode, kCalibDragNone);
}

TEST_F(CalibrationSessionTest, ClosingMidDragLeavesNoDragBehind)
{
    edit.OnRButtonDown(PointD{100, 100});
    edit.End();
    EXPECT_EQ(record.dragMode, kCalibDragNone);
    CALIBRATION other = Rectangle(0, 0, 50, 50);
    edit.Begin(other, frame);
    EXPECT_FALSE(edit.dragging());
}

} // namespace
} // namespace orvane
