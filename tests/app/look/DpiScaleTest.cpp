#include "app/look/DpiScale.h"

#include <limits>
#include <tuple>

#include <gtest/gtest.h>

namespace orvane {
namespace {

// (a, b, c, a × b ÷ c rounded half away from zero, or -1)
class MulDivTest : public ::testing::TestWithParam<std::tuple<int, int, int, int>> {};

TEST_P(MulDivTest, RoundsLikeWindows)
{
    const auto [a, b, c, expected] = GetParam();
    EXPECT_EQ(MulDiv(a, b, c), expected);
}

constexpr int kMax = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(Cases, MulDivTest,
                         ::testing::Values(std::make_tuple(50, 144, 96, 75), // exact
                                           std::make_tuple(53, 144, 96, 80), // 79.5 rounds up
                                           std::make_tuple(1, 144, 96, 2),   // 1.5 rounds up
                                           std::make_tuple(7, 1, 3, 2),      // 2.33 rounds down
                                           std::make_tuple(8, 1, 3, 3),      // 2.67 rounds up
                                           std::make_tuple(-3, 1, 2, -2),    // -1.5 away from zero
                                           std::make_tuple(3, 1, -2, -2),    // negative divisor
                                           std::make_tuple(-3, -1, 2, 2),    // two negatives
                                           std::make_tuple(-7, 1, 3, -2),    // -2.33 towards zero
                                           std::make_tuple(0, 144, 96, 0), std::make_tuple(5, 7, 0, -1), // no divisor
                                           std::make_tuple(kMax, 1, 1, kMax),                 // largest that fits
                                           std::make_tuple(kMax, 2, 1, -1),                   // too large
                                           std::make_tuple(-kMax, 2, 1, -1),                  // too small
                                           std::make_tuple(100000, 100000, 100000, 100000))); // 64-bit product

TEST(DpiScaleTest, At96DotsPerInchValuesPassUnchanged)
{
    const DpiScale dpi;
    for (const int n : {0, 1, 11, 50, 53, 1000}) {
        EXPECT_EQ(dpi.DpiScaleX(n), n);
        EXPECT_EQ(dpi.DpiScaleY(n), n);
    }
}

TEST(DpiScaleTest, At144DotsPerInchValuesGrowByHalfRoundedUp)
{
    const DpiScale dpi(144, 144);
    EXPECT_EQ(dpi.DpiScaleX(50), 75);
    EXPECT_EQ(dpi.DpiScaleY(53), 80);
    EXPECT_EQ(dpi.DpiScaleX(11), 17);
    EXPECT_EQ(dpi.DpiScaleY(41), 62);
}

TEST(DpiScaleTest, AxesScaleIndependently)
{
    const DpiScale dpi(120, 192);
    EXPECT_EQ(dpi.DpiScaleX(10), 13); // 12.5
    EXPECT_EQ(dpi.DpiScaleY(10), 20);
}

TEST(DpiScaleTest, NonsenseDotsPerInchFallBackTo96)
{
    EXPECT_EQ(DpiScale(0, -5), DpiScale());
}

} // namespace
} // namespace orvane
