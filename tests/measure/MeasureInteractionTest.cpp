#include "measure/MeasureInteraction.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/ZoomTable.h"

namespace orvane {
namespace {

// The picture frame sits at (100, 50) in the window; at zoom x1 client
// (100 + x, 50 + y) shows image point (x, y).
constexpr int kFrameLeft = 100;
constexpr int kFrameTop = 50;

struct RowTexts {
    std::string no, type, result, unit;
    friend bool operator==(const RowTexts&, const RowTexts&) = default;
    friend std::ostream& operator<<(std::ostream& out, const RowTexts& row)
    {
        return out << row.no << ',' << row.type << ',' << row.result << ',' << row.unit;
    }
};

class InteractionTest : public testing::Test {
protected:
    InteractionTest()
    {
        calibration.mpp = {0.05, 0.05};
        calibration.unit = kUnitMm;
        settings.view.frame = {kFrameLeft, kFrameTop, kFrameLeft + 640, kFrameTop + 480};
        settings.view.imageWidth = 640;
        settings.view.imageHeight = 480;
        settings.view.zoomIndex = kZoomDefault;
        settings.calibration = &calibration;
    }
    ~InteractionTest() override { SetCurrentLanguage(Language::English); }

    MeasureInteraction& ui()
    {
        if (!m_ui) {
            InteractionContext context;
            context.settings = [this] { return settings; };
            context.measureText = [](std::string_view text) {
                return TextExtent{8 * static_cast<int>(text.size()), 12};
            };
            context.snapToEdge = [this](PointD p, bool& snapped) {
                snapped = snapTo.has_value();
                return snapTo.value_or(p);
            };
            context.askYesNo = [this](std::string_view text, std::string_view caption) {
                questions.emplace_back(std::string(text) + "|" + std::string(caption));
                return answerYes;
            };
            context.clock = [this] { return now; };
            context.repaintPicture = [this] { ++pictureRepaints; };
            context.repaintWindow = [this] { ++windowRepaints; };
            context.cancelFocusArea = [this] { ++focusCancels; };
            m_ui.emplace(std::move(context));
        }
        return *m_ui;
    }

    // A click well after the previous one, at image point (x, y) (zoom x1).
    void Click(int x, int y, bool shift = false)
    {
        now += 1000;
        ui().OnLButtonUp(kFrameLeft + x, kFrameTop + y, shift);
    }
    // The events of a double click: release, double-click, release.
    void DoubleClick(int x, int y)
    {
        now += 1000;
        ui().OnLButtonUp(kFrameLeft + x, kFrameTop + y, false);
        ui().OnLButtonDblClk(kFrameLeft + x, kFrameTop + y);
        now += 100;
        ui().OnLButtonUp(kFrameLeft + x, kFrameTop + y, false);
    }
    void RightPress(int x, int y) { ui().OnRButtonDown(kFrameLeft + x, kFrameTop + y); }
    void Move(int x, int y, bool shift = false) { ui().OnMouseMove(kFrameLeft + x, kFrameTop + y, shift); }
    void Drag(int fromX, int fromY, int toX, int toY, bool shift = false)
    {
        RightPress(fromX, fromY);
        Move(toX, toY, shift);
        ui().OnRButtonUp();
    }

    // Places a finished measurement with the tool, which is then turned off.
    MEASURE* Measure(std::int32_t mode, std::initializer_list<PointD> points)
    {
        ui().SetTool(mode);
        const std::vector<PointD> placed(points);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const int x = static_cast<int>(placed[i].x);
            const int y = static_cast<int>(placed[i].y);
            if (mode == kModeArea && i + 1 == placed.size()) {
                DoubleClick(x, y);
            } else {
                Click(x, y);
            }
        }
        ui().SetTool(kModeNone);
        ui().chain().MoveLast();
        return ui().chain().Current();
    }

    [[nodiscard]] std::vector<RowTexts> Rows()
    {
        std::vector<RowTexts> rows;
        for (const ResultListRow& row : ui().list().rows()) {
            rows.push_back({row.no, row.type, row.result, row.unit});
        }
        return rows;
    }
    [[nodiscard]] std::vector<const MEASURE*> Records()
    {
        std::vector<const MEASURE*> records;
        for (const MEASURE* record = ui().chain().First(); record != nullptr; record = record->next) {
            records.push_back(record);
        }
        return records;
    }
    [[nodiscard]] static PointD PointOf(const MEASURE& record, int index)
    {
        return record.points.Slots()[static_cast<std::size_t>(index)];
    }

    CALIBRATION calibration;
    InteractionSettings settings;
    std::uint32_t now = 100000;
    std::optional<PointD> snapTo;
    bool answerYes = false;
    std::vector<std::string> questions;
    int pictureRepaints = 0;
    int windowRepaints = 0;
    int focusCancels = 0;

private:
    std::optional<MeasureInteraction> m_ui;
};

// ---- tools and completion ---------------------------------------------------

TEST_F(InteractionTest, LengthCompletesWithTwoPointsAndStaysArmed)
{
    ui().OnToolButton(kModeLength);
    Click(10, 10);
    EXPECT_EQ(ui().chain().Count(), 0);
    EXPECT_EQ(ui().working().pointCount, 1);
    Click(20, 10);

    ASSERT_EQ(ui().chain().Count(), 1);
    const MEASURE& record = *ui().chain().First();
    EXPECT_EQ(record.kind, -1);
    EXPECT_EQ(record.pointCount, 2);
    EXPECT_EQ(PointOf(record, 0), (PointD{10, 10}));
    EXPECT_EQ(PointOf(record, 1), (PointD{20, 10}));
    EXPECT_EQ(record.unit, kUnitMm);
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Length", "0.500", "mm"}, {"1", "Angle", "0.0", "degree"}}));
    EXPECT_EQ(ui().list().rows()[0].record, &record);
    EXPECT_EQ(ui().list().rows()[1].record, &record);

    // Re-armed: the next two clicks make a second length.
    EXPECT_EQ(ui().mode(), kModeLength);
    EXPECT_EQ(ui().working().pointCount, 0);
    Click(10, 10);
    Click(10, 30);
    ASSERT_EQ(ui().chain().Count(), 2);
    EXPECT_EQ(Rows()[2], (RowTexts{"2", "Length", "1.000", "mm"}));
    EXPECT_EQ(Rows()[3], (RowTexts{"3", "Angle", "270.0", "degree"}));
}

TEST_F(InteractionTest, CircleCompletesWithThreePoints)
{
    ui().OnToolButton(kModeCircle);
    Click(100, 100);
    Click(140, 100);
    EXPECT_EQ(ui().chain().Count(), 0);
    Click(100, 140);
    ASSERT_EQ(ui().chain().Count(), 1);
    const MEASURE& record = *ui().chain().First();
    EXPECT_EQ(record.kind, -3);
    EXPECT_EQ(record.centre[0], (PointD{120, 120}));
    EXPECT_NEAR(record.radius[0], std::sqrt(800.0), 1e-9);
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Circle diameter", "2.828", "mm"}}));
    EXPECT_EQ(ui().mode(), kModeCircle);
    EXPECT_EQ(ui().working().pointCount, 0);
}

TEST_F(InteractionTest, TwoCirclesCompleteWithSixPointsAndFourRows)
{
    ui().OnToolButton(kModeTwoCircles);
    for (const PointD p : {PointD{0, 0}, PointD{10, 0}, PointD{0, 10}, PointD{100, 0}, PointD{110, 0}}) {
        Click(static_cast<int>(p.x), static_cast<int>(p.y));
    }
    EXPECT_EQ(ui().chain().Count(), 0);
    Click(100, 10);
    ASSERT_EQ(ui().chain().Count(), 1);
    EXPECT_EQ(ui().chain().First()->kind, -4);
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Circle diameter", "0.707", "mm"},
                                             {"1", "Circle diameter", "0.707", "mm"},
                                             {"2", "Circle distance", "5.000", "mm"},
                                             {"3", "Angle", "0.0", "degree"}}));
}

TEST_F(InteractionTest, AngleCompletesWithThreePoints)
{
    ui().OnToolButton(kModeAngle);
    Click(20, 10);
    Click(10, 10);
    Click(10, 0);
    ASSERT_EQ(ui().chain().Count(), 1);
    EXPECT_EQ(ui().chain().First()->kind, -6);
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Angle", "90.0", "degree"}}));
}

TEST_F(InteractionTest, PolygonIsClosedOnlyByADoubleClick)
{
    ui().OnToolButton(kModeArea);
    Click(0, 0);
    Click(9, 0);
    Click(9, 9);
    EXPECT_EQ(ui().chain().Count(), 0);
    DoubleClick(0, 9);

    ASSERT_EQ(ui().chain().Count(), 1);
    const MEASURE& record = *ui().chain().First();
    EXPECT_EQ(record.kind, -2);
    EXPECT_EQ(record.pointCount, 4);
    EXPECT_DOUBLE_EQ(record.value[0], 100 * 0.05 * 0.05);
    EXPECT_DOUBLE_EQ(record.value[1], record.value[0]);
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Polygon area", "0.250", "mm2"}}));
    // Re-armed, and the double click's second release placed nothing.
    EXPECT_EQ(ui().mode(), kModeArea);
    EXPECT_EQ(ui().working().pointCount, 0);
}

TEST_F(InteractionTest, DoubleClickAsFirstActionMakesAOneVertexPolygonOfAreaZero)
{
    ui().OnToolButton(kModeArea);
    DoubleClick(30, 40);
    ASSERT_EQ(ui().chain().Count(), 1);
    const MEASURE& record = *ui().chain().First();
    EXPECT_EQ(record.pointCount, 1);
    EXPECT_EQ(PointOf(record, 0), (PointD{30, 40}));
    EXPECT_EQ(record.value[0], 0.0);
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Polygon area", "0.000", "mm2"}}));
}

TEST_F(InteractionTest, DoubleClickOutsideModeTwoAddsNothing)
{
    ui().OnToolButton(kModeLength);
    DoubleClick(30, 40);
    EXPECT_EQ(ui().chain().Count(), 0);
    EXPECT_EQ(ui().working().pointCount, 1);
}

TEST_F(InteractionTest, ToolButtonTwiceTurnsTheToolOff)
{
    ui().OnToolButton(kModeLength);
    EXPECT_EQ(ui().mode(), kModeLength);
    ui().OnToolButton(kModeLength);
    EXPECT_EQ(ui().mode(), kModeNone);
    Click(10, 10);
    Click(20, 10);
    EXPECT_EQ(ui().working().pointCount, 0);
    EXPECT_EQ(ui().chain().Count(), 0);
}

TEST_F(InteractionTest, ChoosingAnotherToolDiscardsPlacedPoints)
{
    ui().OnToolButton(kModeLength);
    Click(10, 10);
    ui().OnToolButton(kModeCircle);
    EXPECT_EQ(ui().mode(), kModeCircle);
    EXPECT_EQ(ui().working().pointCount, 0);
    EXPECT_EQ(ui().working().points.Capacity(), MeasureInteraction::kWorkingSlots);
    EXPECT_GT(windowRepaints, 0);
    EXPECT_EQ(focusCancels, 2);
    Click(100, 100);
    Click(140, 100);
    EXPECT_EQ(ui().chain().Count(), 0);
}

TEST_F(InteractionTest, ClicksOutsideThePictureAreIgnored)
{
    ui().OnToolButton(kModeLength);
    ui().OnLButtonUp(kFrameLeft - 1, kFrameTop + 10, false);
    now += 1000;
    ui().OnLButtonUp(kFrameLeft + 10, kFrameTop + 480, false);
    EXPECT_EQ(ui().working().pointCount, 0);
}

TEST_F(InteractionTest, ManyPointsGrowTheWorkingArray)
{
    ui().OnToolButton(kModeArea);
    for (int i = 0; i < 25; ++i) {
        Click(i, 2 * i);
    }
    EXPECT_EQ(ui().working().pointCount, 25);
    EXPECT_GE(ui().working().points.Capacity(), 25);
    EXPECT_EQ(PointOf(ui().working(), 24), (PointD{24, 48}));
    EXPECT_EQ(PointOf(ui().working(), 9), (PointD{9, 18}));
}

TEST_F(InteractionTest, PlacedPointsAreSnappedToEdges)
{
    ui().OnToolButton(kModeLength);
    snapTo = PointD{33, 44};
    Click(30, 40);
    EXPECT_EQ(PointOf(ui().working(), 0), (PointD{33, 44}));
}

TEST_F(InteractionTest, PointsFollowTheViewMapping)
{
    settings.view.zoomIndex = 6; // x2
    settings.view.panX = -10;
    settings.view.panY = -20;
    ui().OnToolButton(kModeLength);
    now += 1000;
    ui().OnLButtonUp(kFrameLeft + 41, kFrameTop + 60, false);
    EXPECT_EQ(PointOf(ui().working(), 0), (PointD{30.5, 50}));
}

// ---- double-click filter ----------------------------------------------------

struct DoubleClickCase {
    const char* name;
    std::uint32_t delay;
    int dx;
    std::int32_t points;
};

class DoubleClickFilter : public InteractionTest, public testing::WithParamInterface<DoubleClickCase> {};

TEST_P(DoubleClickFilter, SecondReleaseAddsAPointOnlyWhenItIsNoDoubleClick)
{
    ui().OnToolButton(kModeAngle);
    ui().OnLButtonUp(kFrameLeft + 50, kFrameTop + 50, false);
    now += GetParam().delay;
    ui().OnLButtonUp(kFrameLeft + 50 + GetParam().dx, kFrameTop + 50, false);
    EXPECT_EQ(ui().working().pointCount, GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(Cases, DoubleClickFilter,
                         testing::Values(DoubleClickCase{"SamePlaceQuick", 200, 0, 1},
                                         DoubleClickCase{"SamePlaceAtTheLimit", 500, 0, 1},
                                         DoubleClickCase{"SamePlaceTooLate", 501, 0, 2},
                                         DoubleClickCase{"OnePixelAway", 100, 1, 2}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(InteractionTest, DoubleClickTimeSurvivesTheClockWrapping)
{
    now = 0xFFFFFF00u;
    ui().OnToolButton(kModeAngle);
    ui().OnLButtonUp(kFrameLeft + 50, kFrameTop + 50, false);
    now += 0x200; // wraps past zero, 512 ms later
    ui().OnLButtonUp(kFrameLeft + 50, kFrameTop + 50, false);
    EXPECT_EQ(ui().working().pointCount, 2);
}

// ---- perpendiculars ---------------------------------------------------------

TEST_F(InteractionTest, PerpendicularSeriesSharesItsBaseLineUntilTheRightButtonIsReleased)
{
    ui().OnToolButton(kModePerpendicular);
    Click(0, 10);
    Click(100, 10);
    EXPECT_EQ(ui().chain().Count(), 0);
    Click(50, 30);
    ASSERT_EQ(ui().chain().Count(), 1);
    const MEASURE& first = *ui().chain().First();
    EXPECT_EQ(first.kind, -5);
    EXPECT_EQ(first.pointCount, 3);
    EXPECT_EQ(PointOf(first, 0), (PointD{0, 10}));
    EXPECT_EQ(PointOf(first, 1), (PointD{100, 10}));
    EXPECT_EQ(PointOf(first, 2), (PointD{50, 30}));
    EXPECT_EQ(PointOf(first, 3), (PointD{50, 10}));
    EXPECT_EQ(first.labelOffset[0], LabelOffset{});
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Length", "1.000", "mm"}}));
    EXPECT_EQ(ui().mode(), kModePerpendicular);

    Click(20, 50);
    ASSERT_EQ(ui().chain().Count(), 2);
    const MEASURE& second = *first.next;
    EXPECT_EQ(PointOf(second, 0), (PointD{0, 10}));
    EXPECT_EQ(PointOf(second, 1), (PointD{100, 10}));
    EXPECT_EQ(PointOf(second, 3), (PointD{20, 10}));
    EXPECT_EQ(Rows()[1], (RowTexts{"1", "Length", "2.000", "mm"}));

    ui().OnRButtonUp();
    EXPECT_EQ(ui().mode(), kModePerpendicular);
    EXPECT_EQ(ui().working().pointCount, 0);
    Click(0, 100);
    Click(0, 200);
    Click(40, 150);
    ASSERT_EQ(ui().chain().Count(), 3);
    const MEASURE& third = *second.next;
    EXPECT_EQ(PointOf(third, 0), (PointD{0, 100}));
    EXPECT_EQ(PointOf(third, 3), (PointD{0, 150}));
}

TEST_F(InteractionTest, ShiftSnapsTheSecondBasePointModulo180)
{
    settings.snapStep = 45;
    ui().OnToolButton(kModePerpendicular);
    Click(100, 100);
    Click(100, 200, true); // pointing down: 270, taken as 90
    EXPECT_EQ(PointOf(ui().working(), 1), (PointD{100, 0}));
}

TEST_F(InteractionTest, ShiftSnapsTheSecondPointOfALength)
{
    settings.snapStep = 45;
    ui().OnToolButton(kModeLength);
    Click(100, 100);
    Click(200, 40, true); // 30.96 degrees: nearer to 45 than to 0
    const MEASURE& record = *ui().chain().First();
    const double length = std::sqrt(100.0 * 100.0 + 60.0 * 60.0);
    EXPECT_NEAR(PointOf(record, 1).x, 100 + length * std::cos(M_PI / 4), 1e-6);
    EXPECT_NEAR(PointOf(record, 1).y, 100 - length * std::sin(M_PI / 4), 1e-6);
    EXPECT_EQ(Rows()[1].result, "45.0");
}

// ---- editing ----------------------------------------------------------------

TEST_F(InteractionTest, DraggingALengthPointRecomputesBothRows)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    RightPress(21, 12);
    EXPECT_TRUE(ui().dragActive());
    EXPECT_EQ(ui().dragHit(), HitKind::Point);
    EXPECT_EQ(ui().dragIndex(), 1);
    EXPECT_EQ(ui().hideCursor(), 1);
    EXPECT_TRUE(ui().systemCursorHidden());
    Move(10, 30);
    const MEASURE& record = *ui().chain().First();
    EXPECT_EQ(PointOf(record, 1), (PointD{10, 30}));
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Length", "1.000", "mm"}, {"1", "Angle", "270.0", "degree"}}));
    ui().OnRButtonUp();
    EXPECT_FALSE(ui().dragActive());
    Move(10, 60);
    EXPECT_EQ(PointOf(record, 1), (PointD{10, 30}));
}

TEST_F(InteractionTest, ShiftWhileDraggingALengthPointSnapsAroundTheOtherPoint)
{
    settings.snapStep = 90;
    const MEASURE* record = Measure(kModeLength, {{100, 100}, {200, 100}});
    RightPress(100, 100);
    Move(20, 110, true); // about 187 degrees from the second point: snaps to 180
    EXPECT_EQ(PointOf(*record, 0).y, 100.0);
    EXPECT_NEAR(PointOf(*record, 0).x, 200 - std::hypot(180.0, 10.0), 1e-9);
}

TEST_F(InteractionTest, DraggedPointsAreSnappedToEdges)
{
    const MEASURE* record = Measure(kModeAngle, {{20, 10}, {10, 10}, {10, 0}});
    RightPress(10, 10);
    snapTo = PointD{0, 10};
    Move(3, 12);
    EXPECT_EQ(PointOf(*record, 1), (PointD{0, 10}));
    EXPECT_EQ(Rows()[0].result, "45.0");
}

TEST_F(InteractionTest, DraggingAPolygonVertexCountsTheAreaOnReleaseOnly)
{
    const MEASURE* record = Measure(kModeArea, {{0, 0}, {90, 0}, {90, 90}, {0, 90}});
    const double before = record->value[0];
    const std::string beforeText = Rows()[0].result;
    RightPress(90, 90);
    Move(190, 90);
    EXPECT_EQ(PointOf(*record, 2), (PointD{190, 90}));
    EXPECT_EQ(record->value[0], before);
    EXPECT_EQ(Rows()[0].result, beforeText);
    ui().OnRButtonUp();
    EXPECT_GT(record->value[0], before);
    EXPECT_EQ(record->value[1], record->value[0]);
    EXPECT_NE(Rows()[0].result, beforeText);
}

TEST_F(InteractionTest, DraggingACircleRimChangesItsDiameter)
{
    const MEASURE* record = Measure(kModeCircle, {{100, 100}, {140, 100}, {100, 140}});
    RightPress(148, 121); // about 28 from the centre (120, 120)
    EXPECT_EQ(ui().dragHit(), HitKind::Rim);
    EXPECT_EQ(ui().cursorHint(), kCursorSizeWe);
    Move(160, 120);
    EXPECT_DOUBLE_EQ(record->radius[0], 40.0);
    EXPECT_DOUBLE_EQ(record->value[0], 40.0 * 0.1);
    EXPECT_EQ(Rows()[0].result, "4.000");
}

TEST_F(InteractionTest, DraggingACircleCentreLeavesTheRimPointsAndTheDiameter)
{
    const MEASURE* record = Measure(kModeCircle, {{100, 100}, {140, 100}, {100, 140}});
    const std::string before = Rows()[0].result;
    RightPress(121, 119);
    EXPECT_EQ(ui().dragHit(), HitKind::Point);
    Move(150, 131, true); // Shift: a single circle has no second centre to snap around
    EXPECT_EQ(record->centre[0], (PointD{150, 131}));
    EXPECT_EQ(PointOf(*record, 0), (PointD{100, 100}));
    EXPECT_EQ(Rows()[0].result, before);
}

TEST_F(InteractionTest, DraggingACentreOfTwoCirclesRewritesDistanceAndAngle)
{
    const MEASURE* record = Measure(kModeTwoCircles, {{0, 0}, {40, 0}, {0, 40}, {200, 0}, {240, 0}, {200, 40}});
    ASSERT_EQ(record->centre[1], (PointD{220, 20}));
    RightPress(220, 20);
    ASSERT_EQ(ui().dragIndex(), 1);
    Move(20, 120);
    EXPECT_EQ(Rows()[2].result, "5.000");
    EXPECT_EQ(Rows()[3].result, "270.0");
    EXPECT_EQ(Rows()[0].result, "2.828");

    Move(119, 121, true); // Shift: snapped around the first centre (20, 20) to 315
    EXPECT_EQ(Rows()[3].result, "315.0");
    EXPECT_NEAR(record->centre[1].x - 20, record->centre[1].y - 20, 1e-6); // pi is taken as 3.1415926535
}

TEST_F(InteractionTest, DraggingABasePointMovesItInEveryPerpendicularOfThatBaseLine)
{
    ui().OnToolButton(kModePerpendicular);
    Click(0, 10);
    Click(100, 10);
    Click(50, 30);
    Click(20, 50);
    ui().OnRButtonUp();
    Click(300, 100);
    Click(300, 200);
    Click(340, 150);
    ui().SetTool(kModeNone);
    ASSERT_EQ(ui().chain().Count(), 3);

    RightPress(100, 10);
    ASSERT_EQ(ui().dragIndex(), 1);
    Move(100, 110); // the base line now runs diagonally down
    ui().OnRButtonUp();

    const std::vector<const MEASURE*> records = Records();
    EXPECT_EQ(PointOf(*records[0], 1), (PointD{100, 110}));
    EXPECT_EQ(PointOf(*records[1], 1), (PointD{100, 110}));
    EXPECT_EQ(PointOf(*records[2], 1), (PointD{300, 200}));
    // Feet on y = x + 10.
    EXPECT_NEAR(PointOf(*records[0], 3).y - PointOf(*records[0], 3).x, 10.0, 1e-9);
    EXPECT_NEAR(PointOf(*records[1], 3).y - PointOf(*records[1], 3).x, 10.0, 1e-9);
    EXPECT_EQ(Rows()[0].result, "1.061"); // (50, 30) is 30 / sqrt(2) pixels off
    EXPECT_EQ(Rows()[1].result, "0.707"); // (20, 50) 20 / sqrt(2)
    EXPECT_EQ(Rows()[2].result, "2.000");
}

TEST_F(InteractionTest, ShiftSnapsADraggedBasePointModulo180ToWholePixels)
{
    settings.snapStep = 90;
    const MEASURE* record = Measure(kModePerpendicular, {{100, 100}, {200, 100}, {150, 150}});
    RightPress(100, 100);
    Move(190, 0, true); // from (200, 100): 95.7 degrees -> 90, (200, -0.499) -> (200, 0)
    EXPECT_EQ(PointOf(*record, 0), (PointD{200, 0}));
    EXPECT_EQ(PointOf(*record, 3), (PointD{200, 150}));
    EXPECT_EQ(Rows()[0].result, "2.500");
}

TEST_F(InteractionTest, DraggingTheMeasuredPointMovesItsFoot)
{
    const MEASURE* record = Measure(kModePerpendicular, {{0, 10}, {100, 10}, {50, 30}});
    RightPress(50, 30);
    ASSERT_EQ(ui().dragIndex(), 2);
    Move(70, 70);
    EXPECT_EQ(PointOf(*record, 3), (PointD{70, 10}));
    EXPECT_EQ(Rows()[0].result, "3.000");
}

TEST_F(InteractionTest, ALabelDragStoresATruncatedOffset)
{
    settings.view.zoomIndex = 3; // x1.4: tolerance 10 / 1.4, label box (56 x 12) / 1.4
    MEASURE* record = Measure(kModeLength, {{14, 7}, {157, 7}});
    // The line placed at x1.4 runs from (10, 5) to (112.14, 5): its label at the midpoint.
    record->labelText[0] = "0.000mm";
    const PointD anchor = {(PointOf(*record, 0).x + PointOf(*record, 1).x) / 2, 5.0};
    // Client x 100 + 1.4 * (anchor.x + 10) lies inside the box, 10 image pixels right of its left edge.
    const int grabX = kFrameLeft + static_cast<int>(std::ceil(1.4 * (anchor.x + 10)));
    ui().OnRButtonDown(grabX, kFrameTop + 14); // image y 10
    ASSERT_EQ(ui().dragHit(), HitKind::Label);
    EXPECT_EQ(ui().dragIndex(), 0);
    EXPECT_EQ(ui().cursorHint(), kCursorLabel);

    ui().OnMouseMove(grabX + 16, kFrameTop + 23, false); // +11.43, +6.43 image pixels
    EXPECT_EQ(record->labelOffset[0], (LabelOffset{11, 6}));
    ui().OnMouseMove(grabX - 20, kFrameTop + 7, false); // -14.29, -5 image pixels
    EXPECT_EQ(record->labelOffset[0], (LabelOffset{-14, -5}));
    ui().OnRButtonUp();

    // The label is grabbed where it now is.
    ui().OnRButtonDown(grabX - 20, kFrameTop + 7);
    EXPECT_EQ(ui().dragHit(), HitKind::Label);
}

TEST_F(InteractionTest, RightDragWhileAToolIsActiveMovesNothing)
{
    const MEASURE* record = Measure(kModeLength, {{10, 10}, {20, 10}});
    ui().OnToolButton(kModeCircle);
    RightPress(20, 10);
    Move(60, 60);
    EXPECT_EQ(PointOf(*record, 1), (PointD{20, 10}));
    ui().OnRButtonUp();
    EXPECT_FALSE(ui().dragActive());
}

TEST_F(InteractionTest, RightReleaseInModeFiveEndsTheDragToo)
{
    const MEASURE* record = Measure(kModeLength, {{10, 10}, {20, 10}});
    ui().OnToolButton(kModePerpendicular);
    RightPress(20, 10);
    EXPECT_TRUE(ui().dragActive());
    ui().OnRButtonUp();
    EXPECT_FALSE(ui().dragActive());
    ui().SetTool(kModeNone);
    Move(60, 60);
    EXPECT_EQ(PointOf(*record, 1), (PointD{20, 10}));
}

TEST_F(InteractionTest, RightPressOnNothingStartsNoEdit)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    RightPress(200, 200);
    EXPECT_FALSE(ui().dragActive());
    ui().OnRButtonDown(kFrameLeft - 5, kFrameTop + 10); // outside the picture
    EXPECT_FALSE(ui().dragActive());
}

TEST_F(InteractionTest, HitToleranceIsTenScreenPixels)
{
    settings.view.zoomIndex = 11; // x3: 10 / 3 image pixels
    Measure(kModeAngle, {{30, 30}, {60, 30}, {60, 0}});
    const MEASURE* record = ui().chain().First();
    // Client points are whole screen pixels; image (x, y) = (client - frame) / 3.
    EXPECT_EQ(ui().HitTest(10 + 3.3, 10, 10.0 / 3).hit, HitKind::Point);
    EXPECT_EQ(ui().HitTest(10 + 3.4, 10, 10.0 / 3).hit, HitKind::None);
    EXPECT_EQ(ui().HitTest(10 - 3.33, 10, 10.0 / 3).record, record);
    ui().OnRButtonDown(kFrameLeft + 30 + 9, kFrameTop + 30);
    EXPECT_TRUE(ui().dragActive());
    ui().OnRButtonUp();
    ui().OnRButtonDown(kFrameLeft + 30 + 11, kFrameTop + 30);
    EXPECT_FALSE(ui().dragActive());
}

TEST_F(InteractionTest, HitTestFindsTheFirstRecordAndSkipsThePerpendicularFoot)
{
    const MEASURE* first = Measure(kModeLength, {{10, 10}, {20, 10}});
    Measure(kModeLength, {{10, 10}, {30, 30}});
    EXPECT_EQ(ui().HitTest(10, 10, 10).record, first);

    Measure(kModePerpendicular, {{0, 200}, {100, 200}, {50, 260}});
    EXPECT_EQ(ui().HitTest(50, 200, 5).hit, HitKind::None);
    EXPECT_EQ(ui().HitTest(50, 260, 5).index, 2);
}

TEST_F(InteractionTest, HiddenAngleLabelsCannotBeGrabbed)
{
    MEASURE* record = Measure(kModeLength, {{100, 100}, {300, 100}});
    record->labelText[1] = "0.0degree";
    EXPECT_EQ(ui().HitTest(120, 105, 1).hit, HitKind::Label);
    settings.showAngle = false;
    EXPECT_EQ(ui().HitTest(120, 105, 1).hit, HitKind::None);
}

TEST_F(InteractionTest, PolygonLabelBoxesSitTwentyScreenPixelsBelowTheAnchor)
{
    settings.view.zoomIndex = 6; // x2: 10 image pixels
    MEASURE* record = Measure(kModeArea, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    record->labelText[0] = "1.000mm2";
    // Anchor (25, 25) in image pixels after the x2 mapping of the clicks.
    const PointD anchor{(PointOf(*record, 0).x + PointOf(*record, 1).x) / 2,
                        (PointOf(*record, 0).y + PointOf(*record, 2).y) / 2};
    EXPECT_EQ(ui().HitTest(anchor.x + 1, anchor.y + 9, 0.1).hit, HitKind::None);
    EXPECT_EQ(ui().HitTest(anchor.x + 1, anchor.y + 11, 0.1).hit, HitKind::Label);
    EXPECT_EQ(ui().HitTest(anchor.x + 32, anchor.y + 16, 0.1).hit, HitKind::Label);
    EXPECT_EQ(ui().HitTest(anchor.x + 32.1, anchor.y + 16, 0.1).hit, HitKind::None);
}

// ---- cursors ----------------------------------------------------------------

struct RimCase {
    double degrees;
    std::int32_t cursor;
};

class RimCursorSectors : public testing::TestWithParam<RimCase> {};

TEST_P(RimCursorSectors, DirectionFromTheCentreChoosesTheSizingCursor)
{
    const double radians = GetParam().degrees * M_PI / 180.0;
    const PointD centre{200, 200};
    const PointD pointer{centre.x + 50 * std::cos(radians), centre.y - 50 * std::sin(radians)};
    EXPECT_EQ(RimCursor(centre, pointer), GetParam().cursor);
}

INSTANTIATE_TEST_SUITE_P(
    Sectors, RimCursorSectors,
    testing::Values(RimCase{0, kCursorSizeWe}, RimCase{22.5, kCursorSizeWe}, RimCase{23.5, kCursorSizeNeSw},
                    RimCase{67.5, kCursorSizeNeSw}, RimCase{68.5, kCursorSizeNs}, RimCase{90, kCursorSizeNs},
                    RimCase{112.5, kCursorSizeNs}, RimCase{113.5, kCursorSizeNwSe}, RimCase{157.5, kCursorSizeNwSe},
                    RimCase{158.5, kCursorSizeWe}, RimCase{180, kCursorSizeWe}, RimCase{202.5, kCursorSizeWe},
                    RimCase{203.5, kCursorSizeNeSw}, RimCase{247.5, kCursorSizeNeSw}, RimCase{248.5, kCursorSizeNs},
                    RimCase{270, kCursorSizeNs}, RimCase{292.5, kCursorSizeNs}, RimCase{293.5, kCursorSizeNwSe},
                    RimCase{337.5, kCursorSizeNwSe}, RimCase{338.5, kCursorSizeWe}));

TEST_F(InteractionTest, HoverCursors)
{
    MEASURE* line = Measure(kModeLength, {{10, 10}, {200, 10}});
    line->labelText[0] = "0.950mm";
    Measure(kModeCircle, {{300, 300}, {380, 300}, {300, 380}}); // centre (340, 340), r 56.6

    Move(400, 400);
    EXPECT_EQ(ui().cursorHint(), kCursorDefault);
    EXPECT_EQ(ui().hideCursor(), 0);
    EXPECT_FALSE(ui().systemCursorHidden());

    Move(12, 8);
    EXPECT_EQ(ui().hideCursor(), 1);
    EXPECT_TRUE(ui().systemCursorHidden());

    Move(110, 15);
    EXPECT_EQ(ui().cursorHint(), kCursorLabel);
    EXPECT_EQ(ui().hideCursor(), 0);
    EXPECT_FALSE(ui().systemCursorHidden());

    Move(340, 340 - 57); // top of the rim
    EXPECT_EQ(ui().cursorHint(), kCursorSizeNs);
    Move(340 + 40, 340 - 40);
    EXPECT_EQ(ui().cursorHint(), kCursorSizeNeSw);

    settings.showCenter = true;
    Move(200, 12);
    EXPECT_EQ(ui().cursorHint(), kCursorCentre);
    EXPECT_EQ(ui().hideCursor(), 1);
    EXPECT_FALSE(ui().systemCursorHidden());
}

TEST_F(InteractionTest, WithAToolThePointerIsHiddenOverThePicture)
{
    ui().OnToolButton(kModeLength);
    const int before = pictureRepaints;
    Move(50, 60, true);
    EXPECT_EQ(ui().hideCursor(), 1);
    EXPECT_TRUE(ui().systemCursorHidden());
    EXPECT_EQ(ui().mousePoint(), (PointD{50, 60}));
    EXPECT_TRUE(ui().shiftHeld());
    EXPECT_GT(pictureRepaints, before);

    snapTo = PointD{52, 61};
    Move(50, 60);
    EXPECT_EQ(ui().cursorHint(), kCursorSnapped);
    EXPECT_EQ(ui().mousePoint(), (PointD{52, 61}));

    snapTo.reset();
    settings.showCenter = true;
    Move(50, 60);
    EXPECT_EQ(ui().cursorHint(), kCursorCentre);
    EXPECT_FALSE(ui().systemCursorHidden());

    ui().OnMouseMove(kFrameLeft - 10, kFrameTop + 10, false);
    EXPECT_EQ(ui().hideCursor(), 0);
    EXPECT_FALSE(ui().systemCursorHidden());
    EXPECT_FALSE(ui().mousePoint().has_value());
}

// ---- the calibration marks come first ---------------------------------------

TEST_F(InteractionTest, CalibrationMarksAreTriedFirstAndEveryReleaseReachesThem)
{
    int releases = 0;
    bool grab = true;
    std::optional<MeasureInteraction> owned;
    {
        InteractionContext context;
        context.settings = [this] { return settings; };
        context.calibrationRightPress = [&grab](PointD) {
            return CalibrationMouseResult{grab, true, grab ? kCursorSizeAll : -1};
        };
        context.calibrationMouseMove = [&grab](PointD, bool) {
            return CalibrationMouseResult{grab, false, grab ? kCursorSizeNs : -1};
        };
        context.calibrationRightRelease = [&releases] { ++releases; };
        owned.emplace(std::move(context));
    }
    MeasureInteraction& own = *owned;
    own.OnToolButton(kModeLength);
    own.OnLButtonUp(kFrameLeft + 10, kFrameTop + 10, false);
    own.OnLButtonUp(kFrameLeft + 20, kFrameTop + 10, false);
    own.SetTool(kModeNone);
    ASSERT_EQ(own.chain().Count(), 1);

    own.OnRButtonDown(kFrameLeft + 10, kFrameTop + 10);
    EXPECT_FALSE(own.dragActive());
    EXPECT_EQ(own.cursorHint(), kCursorSizeAll);
    own.OnMouseMove(kFrameLeft + 30, kFrameTop + 30, false);
    EXPECT_EQ(own.cursorHint(), kCursorSizeNs);
    own.OnRButtonUp();
    EXPECT_EQ(releases, 1);

    grab = false;
    own.OnRButtonDown(kFrameLeft + 10, kFrameTop + 10);
    EXPECT_TRUE(own.dragActive());
    own.OnRButtonUp();
    EXPECT_EQ(releases, 2);
}

// ---- deleting and selecting -------------------------------------------------

TEST_F(InteractionTest, DeletingASelectedRowRemovesItsWholeRecord)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    Measure(kModeTwoCircles, {{0, 0}, {10, 0}, {0, 10}, {100, 0}, {110, 0}, {100, 10}});
    const MEASURE* last = Measure(kModeAngle, {{20, 10}, {10, 10}, {10, 0}});
    ASSERT_EQ(ui().list().RowCount(), 7);

    const int selected[] = {4};
    ui().OnListItemChanged(selected);
    ui().OnDelete();

    EXPECT_TRUE(questions.empty());
    ASSERT_EQ(ui().chain().Count(), 2);
    EXPECT_EQ(Rows(),
              (std::vector<RowTexts>{
                  {"0", "Length", "0.500", "mm"}, {"1", "Angle", "0.0", "degree"}, {"2", "Angle", "90.0", "degree"}}));
    EXPECT_EQ(ui().list().rows()[2].record, last);
    EXPECT_EQ(last->no, 1);
}

TEST_F(InteractionTest, DeletingTwoRowsOfOneRecordRemovesItOnce)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    Measure(kModeLength, {{10, 10}, {30, 10}});
    const int selected[] = {0, 1, 3};
    ui().OnListItemChanged(selected);
    ui().OnDelete();
    EXPECT_EQ(ui().chain().Count(), 0);
    EXPECT_EQ(ui().list().RowCount(), 0);
}

TEST_F(InteractionTest, DeletingRecordsWithEqualIdsRemovesTheSelectedOne)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    Measure(kModeLength, {{10, 10}, {30, 10}});
    ui().chain().First()->id = 7;
    ui().chain().MoveLast();
    ui().chain().Current()->id = 7;
    const int selected[] = {2};
    ui().OnListItemChanged(selected);
    ui().OnDelete();
    ASSERT_EQ(ui().chain().Count(), 1);
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Length", "0.500", "mm"}, {"1", "Angle", "0.0", "degree"}}));
}

TEST_F(InteractionTest, DeleteWithoutSelectionAsksBeforeRemovingEverything)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    ui().OnToolButton(kModeCircle);
    Click(50, 50);

    answerYes = false;
    ui().OnDelete();
    ASSERT_EQ(questions, (std::vector<std::string>{"Are all items deleted ?|confirm"}));
    EXPECT_EQ(ui().chain().Count(), 1);
    EXPECT_EQ(ui().list().RowCount(), 2);
    EXPECT_EQ(ui().mode(), kModeCircle);

    answerYes = true;
    SetCurrentLanguage(Language::Japanese);
    ui().OnDelete();
    EXPECT_EQ(questions.back(), "全てのアイテムを削除しますか？|確認");
    EXPECT_EQ(ui().chain().Count(), 0);
    EXPECT_EQ(ui().list().RowCount(), 0);
    EXPECT_EQ(ui().mode(), kModeNone);

    ui().OnDelete(); // an empty list asks nothing
    EXPECT_EQ(questions.size(), 2u);
}

TEST_F(InteractionTest, DeleteDuringAnEditEndsIt)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    RightPress(20, 10);
    const int selected[] = {0};
    ui().OnListItemChanged(selected);
    ui().OnDelete();
    EXPECT_FALSE(ui().dragActive());
    Move(40, 40); // nothing left to move
    EXPECT_EQ(ui().chain().Count(), 0);
}

TEST_F(InteractionTest, SelectionMarksTheRecordsOfTheSelectedRows)
{
    const MEASURE* length = Measure(kModeLength, {{10, 10}, {20, 10}});
    const MEASURE* angle = Measure(kModeAngle, {{20, 10}, {10, 10}, {10, 0}});
    const int first[] = {1};
    ui().OnListItemChanged(first);
    EXPECT_EQ(length->selected, 1);
    EXPECT_EQ(angle->selected, 0);
    const int second[] = {2};
    ui().OnListItemChanged(second);
    EXPECT_EQ(length->selected, 0);
    EXPECT_EQ(angle->selected, 1);
    ui().OnListItemChanged({});
    EXPECT_EQ(angle->selected, 0);
}

// ---- calibration changes ----------------------------------------------------

TEST_F(InteractionTest, ANewCalibrationRewritesTheRowsButNotTheAngles)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    Measure(kModeArea, {{0, 0}, {9, 0}, {9, 9}, {0, 9}});
    Measure(kModeAngle, {{20, 10}, {10, 10}, {10, 0}});
    int changed = 0;
    ui().list().SetListener({nullptr, [&changed](const ListChange&) { ++changed; }});

    CALIBRATION micro;
    micro.mpp = {2.0, 3.0};
    micro.unit = kUnitUm;
    settings.calibration = &micro;
    ui().OnCalibrationChanged();

    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Length", "20.00", "um"},
                                             {"1", "Angle", "0.0", "degree"},
                                             {"2", "Polygon area", "600.00", "um2"},
                                             {"3", "Angle", "90.0", "degree"}}));
    EXPECT_EQ(ui().chain().First()->unit, kUnitUm);
    EXPECT_GT(changed, 0);

    // Rows written from now on use the new unit too.
    Measure(kModeLength, {{0, 0}, {0, 5}});
    EXPECT_EQ(Rows()[4], (RowTexts{"4", "Length", "15.00", "um"}));
}

TEST_F(InteractionTest, RefillListAfterLoadingListsEveryRecordAndEndsAnEdit)
{
    Measure(kModeLength, {{10, 10}, {20, 10}});
    RightPress(20, 10);
    MEASURE loaded;
    loaded.kind = FinishedKind(kModeCircle);
    loaded.value[0] = 1.5;
    ui().chain().RemoveAll();
    ui().chain().AddTailCopy(&loaded);
    ui().RefillList();
    EXPECT_FALSE(ui().dragActive());
    EXPECT_EQ(Rows(), (std::vector<RowTexts>{{"0", "Circle diameter", "1.500", "mm"}}));
}

} // namespace
} // namespace orvane
