#include "measure/CalibrationEdit.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "measure/CCalibChain.h"
#include "measure/Measure.h"

namespace orvane {
namespace {

class FormatLengthTest : public testing::TestWithParam<std::pair<double, const char*>> {};

TEST_P(FormatLengthTest, DropsTrailingZerosAndPoint)
{
    EXPECT_EQ(FormatLengthForEdit(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Lengths, FormatLengthTest,
                         testing::Values(std::pair{10.0, "10"}, std::pair{0.5, "0.5"}, std::pair{0.0, "0"},
                                         std::pair{100.0, "100"}, std::pair{12.25, "12.25"}, std::pair{-3.1, "-3.1"},
                                         std::pair{0.0000004, "0"}, std::pair{0.0000006, "0.000001"},
                                         std::pair{1234567.125, "1234567.125"}));

class ParseLengthTest : public testing::TestWithParam<std::pair<std::string, double>> {};

TEST_P(ParseLengthTest, ReadsTheLeadingNumberOrZero)
{
    EXPECT_EQ(ParseLengthEdit(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseLengthTest,
                         testing::Values(std::pair{std::string("10"), 10.0}, std::pair{std::string("  2.5mm"), 2.5},
                                         std::pair{std::string("-1.5"), -1.5}, std::pair{std::string("+3"), 3.0},
                                         std::pair{std::string(".25"), 0.25}, std::pair{std::string("1e3"), 1000.0},
                                         std::pair{std::string("1,5"), 1.0}, std::pair{std::string("abc"), 0.0},
                                         std::pair{std::string(""), 0.0}, std::pair{std::string("+-3"), 0.0},
                                         std::pair{std::string("inf"), 0.0}, std::pair{std::string("nan"), 0.0},
                                         std::pair{std::string("1e999"), 0.0},
                                         // Only 32 characters are read: the 1 in place 33 is lost.
                                         std::pair{std::string("0.") + std::string(30, '0') + "1", 0.0},
                                         std::pair{std::string("0.") + std::string(29, '0') + "1", 1e-30}));

CALIBRATION Rectangle(double left, double top, double right, double bottom)
{
    CALIBRATION record;
    record.left = left;
    record.top = top;
    record.right = right;
    record.bottom = bottom;
    return record;
}

TEST(CalibrationInfoTextTest, DefaultsGiveFiveHundredthsOfAMillimetre)
{
    EXPECT_EQ(CalibrationInfoText(10.0, 10.0, Rectangle(0, 0, 200, 200), "mm"), "X = 0.050000, Y = 0.050000 [mm/pix]");
}

TEST(CalibrationInfoTextTest, FollowsTheRectangleAndUnitPerAxis)
{
    EXPECT_EQ(CalibrationInfoText(3.0, 1.0, Rectangle(10, 20, 70, 420), "um"), "X = 0.050000, Y = 0.002500 [um/pix]");
}

TEST(CalibrationInfoTextTest, ZeroSidesShowInfinityAndNan)
{
    const std::string text = CalibrationInfoText(5.0, 0.0, Rectangle(50, 30, 50, 30), "cm");
    EXPECT_EQ(text.rfind("X = inf, Y = ", 0), 0U) << text;
    EXPECT_NE(text.find("nan [cm/pix]"), std::string::npos) << text;
    EXPECT_EQ(CalibrationInfoText(-5.0, 1.0, Rectangle(50, 0, 50, 10), "mm"), "X = -inf, Y = 0.100000 [mm/pix]");
}

TEST(CalibrationEditTest, ResetKeepsTheScaleUntilOk)
{
    CALIBRATION record = Rectangle(12, 34, 56, 78);
    record.length = PointD{3.0, 4.0};
    record.unit = kUnitUm;
    record.mpp = PointD{0.25, 0.5};
    record.name = "Lens A";

    ResetCalibration(record);

    EXPECT_EQ(record.length, (PointD{10.0, 10.0}));
    EXPECT_EQ(record.unit, kUnitMm);
    EXPECT_EQ(record.left, 0.0);
    EXPECT_EQ(record.top, 0.0);
    EXPECT_EQ(record.right, 200.0);
    EXPECT_EQ(record.bottom, 200.0);
    EXPECT_EQ(record.mpp, (PointD{0.25, 0.5}));
    EXPECT_EQ(record.name, "Lens A");
}

TEST(CalibrationEditTest, CancelAfterResetKeepsTheOldScaleUntilTheNextStart)
{
    CCalibChain chain;
    AddDefaultCalibrations(chain);
    CALIBRATION* record = chain.RectAt(4);
    ASSERT_NE(record, nullptr);
    record->right = 100.0;
    StoreCalibration(*record, "Lens", 1.0, 2.0, kUnitCm);
    ASSERT_EQ(record->mpp, (PointD{0.01, 0.01}));

    ResetCalibration(*record); // then Cancel: nothing else is stored

    EXPECT_EQ(record->length, (PointD{10.0, 10.0}));
    EXPECT_EQ(record->unit, kUnitMm);
    EXPECT_EQ(record->mpp, (PointD{0.01, 0.01}));
    chain.RecomputeScales(); // the next start
    EXPECT_EQ(record->mpp, (PointD{0.05, 0.05}));
}

TEST(CalibrationEditTest, OkStoresNameLengthsUnitAndScale)
{
    CCalibChain chain;
    AddDefaultCalibrations(chain);
    CALIBRATION* record = chain.RectAt(3);
    ASSERT_NE(record, nullptr);
    record->left = 20.0;
    record->right = 120.0;
    record->top = 50.0;
    record->bottom = 450.0;

    StoreCalibration(*record, "Lens B", 2.0, 1.0, kUnitUm);

    EXPECT_EQ(record->name, "Lens B");
    EXPECT_EQ(record->length, (PointD{2.0, 1.0}));
    EXPECT_EQ(record->unit, kUnitUm);
    EXPECT_DOUBLE_EQ(record->mpp.x, 0.02);
    EXPECT_DOUBLE_EQ(record->mpp.y, 0.0025);
    EXPECT_EQ(chain.RectAt(2)->name, "Data3");
}

TEST(CalibrationEditTest, OkKeepsTheScaleOfAZeroSide)
{
    CALIBRATION record = Rectangle(40, 10, 40, 60);
    record.mpp = PointD{0.7, 0.9};
    StoreCalibration(record, "Flat", 5.0, 5.0, kUnitMm);
    EXPECT_EQ(record.mpp.x, 0.7);
    EXPECT_DOUBLE_EQ(record.mpp.y, 0.1);
}

TEST(CalibrationEditTest, OkCutsTheNameTo255CharactersWithoutSplittingOne)
{
    CALIBRATION record = Rectangle(0, 0, 200, 200);
    std::string name(254, 'a');
    name += "\xC3\xA9\xC3\xA9"; // two two-byte characters: 256 in all
    StoreCalibration(record, name, 10.0, 10.0, kUnitMm);
    EXPECT_EQ(record.name, std::string(254, 'a') + "\xC3\xA9");
}

} // namespace
} // namespace orvane
