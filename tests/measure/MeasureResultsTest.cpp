#include "measure/MeasureResults.h"

#include <cmath>
#include <initializer_list>
#include <span>

#include <gtest/gtest.h>

#include "measure/Geometry.h"

namespace orvane {
namespace {

constexpr FrameSize kFrame{640, 480};

CALIBRATION Calibration(double mppX, double mppY, std::int32_t unit)
{
    CALIBRATION calibration;
    calibration.mpp = PointD{mppX, mppY};
    calibration.unit = unit;
    return calibration;
}

MEASURE Record(std::int32_t kind, std::initializer_list<PointD> points)
{
    MEASURE record;
    record.kind = kind;
    record.pointCount = static_cast<std::int32_t>(points.size());
    record.points.CopyFrom(0, std::span<const PointD>(points.begin(), points.size()));
    return record;
}

class LengthResultTest : public testing::TestWithParam<std::pair<int, double>> {};

TEST_P(LengthResultTest, ScalesTheLengthAndTurnsTheDirectionByTheBaseLine)
{
    const auto [baseLine, direction] = GetParam();
    MEASURE record = Record(FinishedKind(kModeLength), {{10, 10}, {20, 10}});
    ASSERT_TRUE(ComputeResults(record, Calibration(0.05, 0.05, kUnitMm), baseLine, kFrame));
    EXPECT_DOUBLE_EQ(record.value[0], 0.5);
    EXPECT_EQ(record.value[1], direction);
    EXPECT_EQ(record.unit, kUnitMm);
}

INSTANTIATE_TEST_SUITE_P(BaseLines, LengthResultTest,
                         testing::Values(std::pair{0, 0.0}, std::pair{1, 270.0}, std::pair{2, 180.0},
                                         std::pair{3, 90.0}));

TEST(MeasureResultsTest, LengthWhilePlacingUsesThePositiveMode)
{
    MEASURE record = Record(kModeLength, {{10, 20}, {10, 10}});
    ASSERT_TRUE(ComputeResults(record, Calibration(1.0, 2.0, kUnitCm), 0, kFrame));
    EXPECT_DOUBLE_EQ(record.value[0], 20.0);
    EXPECT_NEAR(record.value[1], 90.0, 1e-5);
}

TEST(MeasureResultsTest, AreaIsThePixelCountTimesBothScales)
{
    MEASURE record = Record(FinishedKind(kModeArea), {{0, 0}, {9, 0}, {9, 9}, {0, 9}});
    ASSERT_TRUE(ComputeResults(record, Calibration(0.05, 0.02, kUnitUm), 0, kFrame));
    EXPECT_DOUBLE_EQ(record.value[0], 100 * 0.05 * 0.02);
    EXPECT_EQ(record.value[1], record.value[0]);
    EXPECT_EQ(record.unit, kUnitUm);

    // One vertex is not counted: the values stay.
    MEASURE single = Record(FinishedKind(kModeArea), {{4, 4}});
    single.value[0] = single.value[1] = 7.0;
    ASSERT_TRUE(ComputeResults(single, Calibration(0.05, 0.05, kUnitMm), 0, kFrame));
    EXPECT_EQ(single.value[0], 7.0);
    EXPECT_EQ(single.value[1], 7.0);
}

TEST(MeasureResultsTest, CircleDiameterUsesTheMeanScale)
{
    MEASURE record = Record(FinishedKind(kModeCircle), {{60, 40}, {50, 50}, {40, 40}});
    ASSERT_TRUE(ComputeResults(record, Calibration(0.04, 0.06, kUnitMm), 0, kFrame));
    EXPECT_NEAR(record.centre[0].x, 50.0, 1e-12);
    EXPECT_NEAR(record.centre[0].y, 40.0, 1e-12);
    EXPECT_NEAR(record.radius[0], 10.0, 1e-12);
    EXPECT_NEAR(record.value[0], 1.0, 1e-12);
}

TEST(MeasureResultsTest, TwoCirclesGiveDiametersDistanceAndDirection)
{
    MEASURE record =
        Record(FinishedKind(kModeTwoCircles), {{15, 10}, {10, 15}, {5, 10}, {110, 10}, {100, 20}, {90, 10}});
    ASSERT_TRUE(ComputeResults(record, Calibration(0.5, 0.5, kUnitMm), 2, kFrame));
    EXPECT_NEAR(record.value[0], 5.0, 1e-12);
    EXPECT_NEAR(record.value[1], 10.0, 1e-12);
    EXPECT_NEAR(record.value[2], 45.0, 1e-12);
    EXPECT_NEAR(record.value[3], 180.0, 1e-9); // to the right, base line 2
}

TEST(MeasureResultsTest, PerpendicularStoresItsFootAsAFourthPoint)
{
    MEASURE record = Record(FinishedKind(kModePerpendicular), {{0, 0}, {10, 0}, {5, 7}});
    ASSERT_EQ(record.points.Capacity(), 3);
    ASSERT_TRUE(ComputeResults(record, Calibration(0.1, 0.5, kUnitCm), 0, kFrame));
    EXPECT_EQ(record.pointCount, 3);
    ASSERT_GE(record.points.Capacity(), 4);
    EXPECT_EQ(record.points.Slots()[3], (PointD{5, 0}));
    EXPECT_DOUBLE_EQ(record.value[0], 3.5);
    EXPECT_EQ(record.unit, kUnitCm);
}

TEST(MeasureResultsTest, AngleTakesTheMiddlePointAsVertex)
{
    MEASURE record = Record(FinishedKind(kModeAngle), {{20, 10}, {10, 10}, {10, 0}});
    ASSERT_TRUE(ComputeResults(record, Calibration(0.05, 0.05, kUnitUm), 0, kFrame));
    EXPECT_NEAR(record.value[0], 90.0, 1e-5);
    EXPECT_EQ(record.unit, kUnitUm);
}

TEST(MeasureResultsTest, RecordsLackingPointsOrKindAreLeftAlone)
{
    for (const std::int32_t kind : {-1, -3, -4, -5, -6, 0, -7}) {
        MEASURE record = Record(kind, {{1, 2}});
        record.value[0] = 3.0;
        record.unit = kUnitUm;
        EXPECT_FALSE(ComputeResults(record, Calibration(1, 1, kUnitCm), 0, kFrame)) << kind;
        EXPECT_EQ(record.value[0], 3.0);
        EXPECT_EQ(record.unit, kUnitUm);
    }
    // A count beyond the stored points is not trusted.
    MEASURE overstated = Record(FinishedKind(kModeLength), {{1, 2}});
    overstated.pointCount = 2;
    EXPECT_FALSE(ComputeResults(overstated, Calibration(1, 1, kUnitCm), 0, kFrame));
}

TEST(MeasureResultsTest, RecomputeRescalesLengthsRecountsAreasAndKeepsAngles)
{
    const CALIBRATION before = Calibration(0.05, 0.05, kUnitMm);
    CMeasureChain chain;
    MEASURE length = Record(FinishedKind(kModeLength), {{0, 0}, {30, 40}});
    MEASURE area = Record(FinishedKind(kModeArea), {{0, 0}, {9, 0}, {9, 9}, {0, 9}});
    MEASURE circle = Record(FinishedKind(kModeCircle), {{60, 40}, {50, 50}, {40, 40}});
    MEASURE circles =
        Record(FinishedKind(kModeTwoCircles), {{15, 10}, {10, 15}, {5, 10}, {110, 10}, {100, 20}, {90, 10}});
    MEASURE perpendicular = Record(FinishedKind(kModePerpendicular), {{0, 0}, {10, 0}, {5, 7}});
    MEASURE angle = Record(FinishedKind(kModeAngle), {{20, 10}, {10, 10}, {10, 0}});
    for (MEASURE* record : {&length, &area, &circle, &circles, &perpendicular, &angle}) {
        ASSERT_TRUE(ComputeResults(*record, before, 1, kFrame));
        chain.AddTailCopy(record);
    }
    // A dragged rim changes the radius alone; the rescale must start from it.
    chain.MoveTo(2);
    chain.Current()->radius[0] = 20.0;
    chain.MoveTo(1);

    const CALIBRATION after = Calibration(2.0, 3.0, kUnitUm);
    EXPECT_EQ(RecomputeForCalibration(chain, after, FrameSize{5, 5}), 6);
    EXPECT_EQ(chain.Current()->kind, FinishedKind(kModeArea));

    MEASURE* record = chain.First();
    EXPECT_DOUBLE_EQ(record->value[0], std::sqrt(60.0 * 60.0 + 120.0 * 120.0));
    EXPECT_EQ(record->value[1], length.value[1]);
    record = record->next;
    EXPECT_DOUBLE_EQ(record->value[0], 25 * 2.0 * 3.0); // counted on the 5 x 5 frame
    EXPECT_EQ(record->value[1], record->value[0]);
    record = record->next;
    EXPECT_DOUBLE_EQ(record->value[0], 20.0 * 5.0);
    record = record->next;
    EXPECT_NEAR(record->value[0], 5.0 * 5.0, 1e-9);
    EXPECT_NEAR(record->value[1], 10.0 * 5.0, 1e-9);
    EXPECT_NEAR(record->value[2], 90.0 * 2.0, 1e-9);
    EXPECT_EQ(record->value[3], circles.value[3]);
    record = record->next;
    EXPECT_DOUBLE_EQ(record->value[0], 21.0);
    record = record->next;
    EXPECT_EQ(record->value[0], angle.value[0]);
    for (const MEASURE* r = chain.First(); r != nullptr; r = r->next) {
        EXPECT_EQ(r->unit, kUnitUm);
    }
}

} // namespace
} // namespace orvane
