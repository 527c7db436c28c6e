#include "settings/ValueForms.h"

#include <limits>

#include <gtest/gtest.h>

#include "ProfileText.h"

namespace orvane {
namespace {

struct FrameCase {
    std::int64_t frame;
    std::int64_t frameTime;
};

class FrameConversion : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameConversion, FrameToFrameTimeAndBack)
{
    const FrameCase c = GetParam();
    EXPECT_EQ(FrameTimeFromFrame(c.frame, -1), c.frameTime);
    EXPECT_EQ(FrameFromFrameTime(c.frameTime, -1), c.frame);
}

INSTANTIATE_TEST_SUITE_P(Rates, FrameConversion,
                         testing::Values(FrameCase{300, 333333}, FrameCase{150, 666666}, FrameCase{250, 400000},
                                         FrameCase{75, 1333333}, FrameCase{1, 100000000}, FrameCase{100000000, 1}));

TEST(FrameConversionLimits, NonPositiveValuesGiveTheFallback)
{
    EXPECT_EQ(FrameTimeFromFrame(0, 333333), 333333);
    EXPECT_EQ(FrameTimeFromFrame(-300, 666666), 666666);
    EXPECT_EQ(FrameFromFrameTime(0, 300), 300);
    EXPECT_EQ(FrameFromFrameTime(-1, 150), 150);
}

TEST(FrameConversionLimits, DivisionIsIntegerDivision)
{
    // 100000000 / 299 = 334448.16...; back: 100000000 / 334448 = 299.0...
    EXPECT_EQ(FrameTimeFromFrame(299, 0), 334448);
    EXPECT_EQ(FrameFromFrameTime(334448, 0), 299);
    // A frame time beyond 10 s has no whole tenth of a frame per second.
    EXPECT_EQ(FrameFromFrameTime(100000001, 300), 0);
}

struct TruncateCase {
    double value;
    int expected;
};

class Truncation : public testing::TestWithParam<TruncateCase> {};

TEST_P(Truncation, TowardZeroWithinTheIntRange)
{
    EXPECT_EQ(TruncateToInt(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, Truncation,
                         testing::Values(TruncateCase{10.9, 10}, TruncateCase{-3.7, -3}, TruncateCase{0.999, 0},
                                         TruncateCase{-0.5, 0}, TruncateCase{630.0, 630},
                                         TruncateCase{1e12, std::numeric_limits<int>::max()},
                                         TruncateCase{-1e12, std::numeric_limits<int>::min()},
                                         TruncateCase{std::numeric_limits<double>::quiet_NaN(), 0}));

TEST(FrameKey, MissingOrNonPositiveKeepsTheFrameTime)
{
    const ProfileFile profile = test::ProfileFromText("[S]\nZero=0\nNegative=-150\nText=abc\nGood=150\n");
    std::int64_t frameTime = 333333;
    ReadFrameKey(profile, "S", "Missing", frameTime);
    EXPECT_EQ(frameTime, 333333);
    ReadFrameKey(profile, "S", "Zero", frameTime);
    ReadFrameKey(profile, "S", "Negative", frameTime);
    ReadFrameKey(profile, "S", "Text", frameTime);
    EXPECT_EQ(frameTime, 333333);
    ReadFrameKey(profile, "S", "Good", frameTime);
    EXPECT_EQ(frameTime, 666666);
}

TEST(FrameKey, NonPositiveFrameTimeWritesTheFallback)
{
    ProfileFile profile;
    WriteFrameKey(profile, "S", "A", 333333, 150);
    WriteFrameKey(profile, "S", "B", 0, 150);
    EXPECT_EQ(profile.GetString("S", "A", "", 20), "300");
    EXPECT_EQ(profile.GetString("S", "B", "", 20), "150");
}

} // namespace
} // namespace orvane
