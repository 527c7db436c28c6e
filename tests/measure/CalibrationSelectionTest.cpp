#include "measure/CalibrationSelection.h"

#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "measure/CalibrationEdit.h"

namespace orvane {
namespace {

constexpr FrameSize kFrame{640, 480};

class CalibrationSelectionTest : public testing::Test {
protected:
    void SetUp() override
    {
        AddDefaultCalibrations(calibrations);
        CALIBRATION* lens = calibrations.RectAt(2);
        lens->right = 100.0;
        lens->bottom = 100.0;
        StoreCalibration(*lens, "Lens", 1.0, 1.0, kUnitCm); // 0.01 cm per pixel

        MEASURE length;
        length.kind = FinishedKind(kModeLength);
        length.pointCount = 2;
        const std::array<PointD, 2> points{PointD{0, 0}, PointD{30, 40}};
        length.points.CopyFrom(0, points);
        length.value[1] = 53.13;
        measurements.AddTailCopy(&length);
    }

    CCalibChain calibrations;
    CMeasureChain measurements;
    std::vector<std::int32_t> rewrittenIn; // the unit of every rewrite of the rows
};

TEST_F(CalibrationSelectionTest, RescalesEveryRecordAndRewritesTheRows)
{
    const SelectedCalibration chosen = ApplyCalibrationChoice(
        calibrations, 2, measurements, kFrame, [this](const CALIBRATION& shown) { rewrittenIn.push_back(shown.unit); });

    ASSERT_NE(chosen.record, nullptr);
    EXPECT_EQ(chosen.record->name, "Lens");
    EXPECT_EQ(chosen.mpp, (PointD{0.01, 0.01}));
    EXPECT_EQ(chosen.unit, kUnitCm);
    EXPECT_EQ(calibrations.Current(), chosen.record);
    const MEASURE* record = measurements.First();
    EXPECT_DOUBLE_EQ(record->value[0], 0.5);
    EXPECT_EQ(record->value[1], 53.13); // angles do not depend on the scale
    EXPECT_EQ(record->unit, kUnitCm);
    EXPECT_EQ(rewrittenIn, std::vector<std::int32_t>{kUnitCm});

    ApplyCalibrationChoice(calibrations, 0, measurements, kFrame,
                           [this](const CALIBRATION& shown) { rewrittenIn.push_back(shown.unit); });
    EXPECT_DOUBLE_EQ(measurements.First()->value[0], 2.5);
    EXPECT_EQ(measurements.First()->unit, kUnitMm);
    EXPECT_EQ(rewrittenIn, (std::vector<std::int32_t>{kUnitCm, kUnitMm}));
}

TEST_F(CalibrationSelectionTest, AnIndexPastTheListTakesTheLastCalibration)
{
    const SelectedCalibration chosen = ApplyCalibrationChoice(calibrations, 25, measurements, kFrame, {});
    ASSERT_NE(chosen.record, nullptr);
    EXPECT_EQ(chosen.record->name, "Data20");
    EXPECT_EQ(ApplyCalibrationChoice(calibrations, -1, measurements, kFrame, {}).record->name, "Data1");
}

TEST_F(CalibrationSelectionTest, AnEmptyListChangesNothing)
{
    CCalibChain none;
    const SelectedCalibration chosen = ApplyCalibrationChoice(
        none, 0, measurements, kFrame, [this](const CALIBRATION& shown) { rewrittenIn.push_back(shown.unit); });
    EXPECT_EQ(chosen.record, nullptr);
    EXPECT_TRUE(rewrittenIn.empty());
    EXPECT_EQ(measurements.First()->value[0], 0.0);
}

} // namespace
} // namespace orvane
