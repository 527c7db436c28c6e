#include "measure/ResultFormat.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "platform/StringTable.h"

namespace orvane {
namespace {

std::string Printf(const char* format, double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

struct ListCase {
    double value;
    std::int32_t unit;
    ListColumns length;
    ListColumns area;
};

std::ostream& operator<<(std::ostream& out, const ListCase& c)
{
    return out << c.value << " unit " << c.unit;
}

class ListTextTest : public testing::TestWithParam<ListCase> {};

TEST_P(ListTextTest, FormatsNumberAndUnitPerUnitCode)
{
    const ListCase& c = GetParam();
    EXPECT_EQ(FormatLength(c.value, c.unit), c.length);
    EXPECT_EQ(FormatArea(c.value, c.unit), c.area);
}

INSTANTIATE_TEST_SUITE_P(Units, ListTextTest,
                         testing::Values(ListCase{0.5, 0, {"0.50", "cm"}, {"0.50", "cm2"}},
                                         ListCase{0.5, 1, {"0.500", "mm"}, {"0.500", "mm2"}},
                                         ListCase{1234.5678, 2, {"1234.57", "um"}, {"1234.57", "um2"}},
                                         ListCase{-0.0004, 1, {"-0.000", "mm"}, {"-0.000", "mm2"}},
                                         ListCase{2.675, 0, {"2.67", "cm"}, {"2.67", "cm2"}}, ListCase{0.5, 3, {}, {}},
                                         ListCase{0.5, -1, {}, {}}));

TEST(ResultFormatTest, NumbersRoundAsPrintfDoes)
{
    std::mt19937 random(99);
    std::uniform_real_distribution<double> mantissa(-1000.0, 1000.0);
    std::uniform_int_distribution<int> scale(-6, 6);
    for (int i = 0; i < 5000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, scale(random));
        ASSERT_EQ(FormatLength(value, kUnitCm).result, Printf("%.2f", value));
        ASSERT_EQ(FormatArea(value, kUnitMm).result, Printf("%.3f", value));
        ASSERT_EQ(FormatAngle(value).result, Printf("%.1f", value));
    }
    // Halves that are exact in binary.
    for (const double value : {0.125, 0.375, 2.5, 0.0625, 1.0005}) {
        EXPECT_EQ(FormatArea(value, kUnitCm).result, Printf("%.2f", value));
        EXPECT_EQ(FormatAngle(value).result, Printf("%.1f", value));
    }
}

TEST(ResultFormatTest, AnglesCarryTheDegreeTextOfTheLanguage)
{
    EXPECT_EQ(FormatAngle(89.96), (ListColumns{"90.0", "degree"}));
    EXPECT_EQ(FormatAngleLabel(45.04), "45.0degree");
    SetCurrentLanguage(Language::Japanese);
    const ListColumns japanese = FormatAngle(270.0);
    const std::string label = FormatAngleLabel(12.345);
    SetCurrentLanguage(Language::English);
    EXPECT_EQ(japanese, (ListColumns{"270.0", "°"}));
    EXPECT_EQ(label, "12.3°");
}

TEST(ResultFormatTest, LabelsJoinNumberAndUnitOrKeepTheirText)
{
    EXPECT_EQ(FormatLengthLabel(0.5, kUnitMm), "0.500mm");
    EXPECT_EQ(FormatLengthLabel(12.345, kUnitCm), "12.35cm");
    EXPECT_EQ(FormatLengthLabel(7.0, kUnitUm), "7.00um");
    EXPECT_EQ(FormatAreaLabel(0.25, kUnitCm), "0.25cm2");
    EXPECT_EQ(FormatAreaLabel(0.25, kUnitMm), "0.250mm2");
    EXPECT_EQ(FormatAreaLabel(0.25, kUnitUm), "0.25um2");
    EXPECT_EQ(FormatLengthLabel(1.0, 3), std::nullopt);
    EXPECT_EQ(FormatAreaLabel(1.0, -1), std::nullopt);
}

TEST(ResultFormatTest, LabelsStopAtSixtyThreeCharacters)
{
    const std::optional<std::string> huge = FormatLengthLabel(1e100, kUnitMm);
    ASSERT_TRUE(huge.has_value());
    EXPECT_EQ(huge->size(), 63U);
    EXPECT_EQ(*huge, Printf("%.3f", 1e100).substr(0, 63));
    EXPECT_EQ(FormatAngleLabel(1e80).size(), 63U);
    EXPECT_EQ(FormatLength(1e100, kUnitMm).result, Printf("%.3f", 1e100)); // list cells are not cut
}

} // namespace
} // namespace orvane
