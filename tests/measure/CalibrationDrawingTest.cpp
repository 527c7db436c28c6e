#include "measure/CalibrationDrawing.h"

#include <vector>

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct Segment {
    int x0, y0, x1, y1;
    friend bool operator==(const Segment&, const Segment&) = default;
};

// Keeps the pen, lines and outlines; the calibration marks use nothing else.
class RecordingSurface : public DrawingSurface {
public:
    void SetPen(COLORREF colour, int width) override
    {
        penColour = colour;
        penWidth = width;
    }
    void Line(int x0, int y0, int x1, int y1) override { lines.push_back({x0, y0, x1, y1}); }
    void Polyline(std::span<const IntPoint>) override { ++others; }
    void PolygonOutline(std::span<const IntPoint> points) override
    {
        outlines.emplace_back(points.begin(), points.end());
    }
    void Ellipse(const RECT&) override { ++others; }
    void Dot(int, int) override { ++others; }
    void FillRect(const RECT&, COLORREF) override { ++others; }
    void SetFont(const DrawingFont&) override { ++others; }
    void Text(int, int, std::string_view, COLORREF) override { ++others; }
    TextExtent TextSize(std::string_view) override { return {}; }

    COLORREF penColour = 0;
    int penWidth = 0;
    std::vector<Segment> lines;
    std::vector<std::vector<IntPoint>> outlines;
    int others = 0;
};

CALIBRATION Rectangle(double left, double top, double right, double bottom)
{
    CALIBRATION record;
    record.left = left;
    record.top = top;
    record.right = right;
    record.bottom = bottom;
    return record;
}

TEST(CalibrationDrawingTest, CrossMarksAndFrameAtZoomOne)
{
    RecordingSurface surface;
    DrawCalibrationMarks(surface, ViewTransform{}, Rectangle(0, 0, 200, 200), RECT{10, 10, 630, 470}, RGB(0, 255, 0),
                         3);

    EXPECT_EQ(surface.penColour, RGB(0, 255, 0));
    EXPECT_EQ(surface.penWidth, 3);
    const std::vector<Segment> expected{
        {0, 100, 200, 100}, {100, 0, 100, 200},  // the cross
        {90, 0, 110, 0},    {90, 200, 110, 200}, // end marks of the vertical line
        {0, 90, 0, 110},    {200, 90, 200, 110}, // end marks of the horizontal line
    };
    EXPECT_EQ(surface.lines, expected);
    ASSERT_EQ(surface.outlines.size(), 1U);
    EXPECT_EQ(surface.outlines[0], (std::vector<IntPoint>{{10, 10}, {630, 10}, {630, 470}, {10, 470}}));
    EXPECT_EQ(surface.others, 0);
}

TEST(CalibrationDrawingTest, ZoomTwoScalesThePositionsButNotTheMarks)
{
    RecordingSurface surface;
    const ViewTransform zoom2{2.0, 2.0, -5.0, -5.0};
    DrawCalibrationMarks(surface, zoom2, Rectangle(10.7, 20, 60.2, 45), RECT{10, 10, 630, 470}, RGB(1, 2, 3), 1);

    // L = 11, T = 30, R = 110, B = 80; mx = 11 + 99 / 2 = 60, my = 55.
    const std::vector<Segment> expected{
        {11, 55, 110, 55}, {60, 30, 60, 80}, {50, 30, 70, 30}, {50, 80, 70, 80}, {11, 45, 11, 65}, {110, 45, 110, 65},
    };
    EXPECT_EQ(surface.lines, expected);
    ASSERT_EQ(surface.outlines.size(), 1U);
    EXPECT_EQ(surface.outlines[0], (std::vector<IntPoint>{{10, 10}, {1250, 10}, {1250, 930}, {10, 930}}));
}

TEST(CalibrationDrawingTest, HalvingTruncatesTowardsZeroLeftOfTheOrigin)
{
    RecordingSurface surface;
    // Panned so that the rectangle maps to L = -11, R = 0, T = -7, B = 0.
    DrawCalibrationMarks(surface, ViewTransform{1.0, 1.0, -11.0, -7.0}, Rectangle(0, 0, 11, 7), RECT{}, 0, 1);
    ASSERT_EQ(surface.lines.size(), 6U);
    EXPECT_EQ(surface.lines[0], (Segment{-11, -4, 0, -4}));
    EXPECT_EQ(surface.lines[1], (Segment{-6, -7, -6, 0}));
}

TEST(CalibrationDrawingTest, AnInvertedRectangleIsDrawnAsItStands)
{
    RecordingSurface surface;
    DrawCalibrationMarks(surface, ViewTransform{}, Rectangle(100, 80, 40, 20), RECT{}, 0, 1);
    // mx = 100 + (40 - 100) / 2 = 70, my = 80 + (20 - 80) / 2 = 50.
    EXPECT_EQ(surface.lines[0], (Segment{100, 50, 40, 50}));
    EXPECT_EQ(surface.lines[1], (Segment{70, 80, 70, 20}));
}

TEST(CalibrationDrawingTest, FarAwayRectanglesSaturateInsteadOfOverflowing)
{
    RecordingSurface surface;
    DrawCalibrationMarks(surface, ViewTransform{}, Rectangle(-1e300, -1e300, 1e300, 1e300), RECT{}, 0, 1);
    ASSERT_EQ(surface.lines.size(), 6U);
    EXPECT_EQ(surface.lines[2].x0, -11); // mx = -1
    EXPECT_EQ(surface.lines[2].y0, -2147483647 - 1);
    EXPECT_EQ(surface.lines[5].x0, 2147483647);
}

} // namespace
} // namespace orvane
