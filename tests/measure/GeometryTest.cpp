#include "measure/Geometry.h"

#include <cmath>
#include <limits>
#include <ostream>

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Angles carry the program's 2 pi of 6.2831853, a few 1e-6 degrees off.
constexpr double kAngleTolerance = 1e-5;

std::ostream& operator<<(std::ostream& out, const PointD& p)
{
    return out << '(' << p.x << ", " << p.y << ')';
}

struct DirectionCase {
    PointD from;
    PointD to;
    int baseLine;
    double expected;
};

std::ostream& operator<<(std::ostream& out, const DirectionCase& c)
{
    return out << c.from << "->" << c.to << " base " << c.baseLine;
}

class DirectionAngleTest : public testing::TestWithParam<DirectionCase> {};

TEST_P(DirectionAngleTest, CountsCounterClockwiseFromTheBaseLine)
{
    const DirectionCase& c = GetParam();
    const double angle = DirectionAngle(c.to.x, c.to.y, c.from.x, c.from.y, c.baseLine);
    EXPECT_NEAR(angle, c.expected, kAngleTolerance);
    EXPECT_GE(angle, 0.0);
    EXPECT_LT(angle, 360.0);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, DirectionAngleTest,
    testing::Values(DirectionCase{{10, 10}, {20, 10}, 0, 0.0}, DirectionCase{{10, 10}, {20, 10}, 1, 270.0},
                    DirectionCase{{10, 10}, {20, 10}, 2, 180.0}, DirectionCase{{10, 10}, {20, 10}, 3, 90.0},
                    DirectionCase{{10, 20}, {10, 10}, 0, 90.0}, DirectionCase{{10, 10}, {10, 20}, 0, 270.0},
                    DirectionCase{{0, 0}, {10, -10}, 0, 45.0}, DirectionCase{{0, 0}, {-10, -10}, 0, 135.0},
                    DirectionCase{{0, 0}, {-10, 0}, 0, 180.0}, DirectionCase{{0, 0}, {-10, 10}, 0, 225.0},
                    DirectionCase{{0, 0}, {10, 10}, 0, 315.0}, DirectionCase{{0, 0}, {10, 10}, 3, 45.0},
                    DirectionCase{{0, 0}, {-10, 10}, 1, 135.0}, DirectionCase{{5, 5}, {5, 5}, 0, 0.0},
                    DirectionCase{{5, 5}, {5, 5}, 2, 180.0}, DirectionCase{{0, 0}, {10, 0}, 7, 0.0}));

TEST(DirectionAngleExactTest, UsesTheProgramsValueOfTwoPi)
{
    const double twoPi = 6.2831853;
    EXPECT_EQ(DirectionAngle(10, -10, 0, 0, 0), std::atan(1.0) / twoPi * 360.0);
    EXPECT_EQ(DirectionAngle(0, -10, 0, 0, 0), std::atan(std::numeric_limits<double>::infinity()) / twoPi * 360.0);
    EXPECT_EQ(DirectionAngle(10, 0, 0, 0, 1), 270.0);
}

struct VertexCase {
    PointD a;
    PointD vertex;
    PointD b;
    double expected;
};

std::ostream& operator<<(std::ostream& out, const VertexCase& c)
{
    return out << c.a << c.vertex << c.b;
}

class VertexAngleTest : public testing::TestWithParam<VertexCase> {};

TEST_P(VertexAngleTest, IsTheSmallerAngleBetweenTheArms)
{
    const VertexCase& c = GetParam();
    EXPECT_NEAR(VertexAngle(c.a.x, c.a.y, c.vertex.x, c.vertex.y, c.b.x, c.b.y), c.expected, kAngleTolerance);
    EXPECT_NEAR(VertexAngle(c.b.x, c.b.y, c.vertex.x, c.vertex.y, c.a.x, c.a.y), c.expected, kAngleTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, VertexAngleTest,
    testing::Values(VertexCase{{10, 0}, {0, 0}, {0, -10}, 90.0}, VertexCase{{10, 0}, {0, 0}, {-10, 0}, 180.0},
                    VertexCase{{10, 0}, {0, 0}, {20, 0}, 0.0}, VertexCase{{15, 5}, {5, 5}, {15, -5}, 45.0},
                    VertexCase{{10, 0}, {0, 0}, {-10, -10}, 135.0}, VertexCase{{10, 0}, {0, 0}, {-10, 10}, 135.0},
                    VertexCase{{0, 10}, {0, 0}, {-10, -10}, 135.0}));

struct CircleCase {
    PointD p1;
    PointD p2;
    PointD p3;
    PointD centre;
    double radius;
};

std::ostream& operator<<(std::ostream& out, const CircleCase& c)
{
    return out << c.p1 << c.p2 << c.p3;
}

class CircleFrom3PointsTest : public testing::TestWithParam<CircleCase> {};

TEST_P(CircleFrom3PointsTest, FindsCentreAndRadius)
{
    const CircleCase& c = GetParam();
    const CircleFit fit = CircleFrom3Points(c.p1, c.p2, c.p3);
    EXPECT_NEAR(fit.centre.x, c.centre.x, 1e-9);
    EXPECT_NEAR(fit.centre.y, c.centre.y, 1e-9);
    ASSERT_TRUE(fit.radius.has_value());
    EXPECT_NEAR(*fit.radius, c.radius, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Circles, CircleFrom3PointsTest,
                         testing::Values(CircleCase{{0, 0}, {10, 0}, {0, 10}, {5, 5}, std::sqrt(50.0)},
                                         CircleCase{{130, 50}, {100, 80}, {70, 50}, {100, 50}, 30.0},
                                         CircleCase{{100 + 30 * std::cos(0.3), 50 - 30 * std::sin(0.3)},
                                                    {100 + 30 * std::cos(2.0), 50 - 30 * std::sin(2.0)},
                                                    {100 + 30 * std::cos(4.4), 50 - 30 * std::sin(4.4)},
                                                    {100, 50},
                                                    30.0},
                                         // Collinear points: the circle about the image origin through the first point.
                                         CircleCase{{0, 0}, {1, 1}, {2, 2}, {0, 0}, 0.0},
                                         CircleCase{{3, 4}, {6, 8}, {9, 12}, {0, 0}, 5.0},
                                         CircleCase{{3, 4}, {3, 4}, {9, 12}, {0, 0}, 5.0}));

TEST(LineThroughTest, GivesSentinelsForAxisParallelLines)
{
    const LineEquation vertical = LineThrough({3, 1}, {3, 8});
    EXPECT_EQ(vertical.slope, kVerticalSlope);
    EXPECT_EQ(vertical.intercept, 3.0);
    EXPECT_EQ(vertical.perpendicularSlope, kVerticalSlope);

    const LineEquation horizontal = LineThrough({1, 4}, {9, 4});
    EXPECT_EQ(horizontal.slope, kHorizontalSlope);
    EXPECT_EQ(horizontal.intercept, 4.0);
    EXPECT_EQ(horizontal.perpendicularSlope, kHorizontalSlope);

    const LineEquation sloped = LineThrough({0, 1}, {2, 5});
    EXPECT_EQ(sloped.slope, 2.0);
    EXPECT_EQ(sloped.intercept, 1.0);
    EXPECT_EQ(sloped.perpendicularSlope, -0.5);
}

struct FootCase {
    PointD base1;
    PointD base2;
    PointD point;
    PointD foot;
};

std::ostream& operator<<(std::ostream& out, const FootCase& c)
{
    return out << c.base1 << c.base2 << c.point;
}

class FootOfPerpendicularTest : public testing::TestWithParam<FootCase> {};

TEST_P(FootOfPerpendicularTest, LiesOnTheBaseLine)
{
    const FootCase& c = GetParam();
    const LineEquation line = LineThrough(c.base1, c.base2);
    const PointD foot = FootOfPerpendicular(c.point, line.slope, line.intercept);
    EXPECT_NEAR(foot.x, c.foot.x, 1e-12);
    EXPECT_NEAR(foot.y, c.foot.y, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Feet, FootOfPerpendicularTest,
                         testing::Values(FootCase{{3, 0}, {3, 10}, {7, 9}, {3, 9}},
                                         FootCase{{0, 4}, {10, 4}, {7, 9}, {7, 4}},
                                         FootCase{{0, 0}, {5, 5}, {0, 2}, {1, 1}},
                                         FootCase{{0, 1}, {2, 5}, {5, 0}, {0.6, 2.2}},
                                         FootCase{{0, 0}, {10, -5}, {10, -5}, {10, -5}}));

TEST(FootOfPerpendicularTest, TakesARealSentinelSlopeForTheSentinel)
{
    EXPECT_EQ(FootOfPerpendicular({1, 2}, kVerticalSlope, 5.0), (PointD{5.0, 2.0}));
    EXPECT_EQ(FootOfPerpendicular({1, 2}, kHorizontalSlope, 5.0), (PointD{1.0, 5.0}));
}

TEST(ScaledDistanceTest, ScalesEachAxisByItsOwnFactor)
{
    EXPECT_DOUBLE_EQ(ScaledDistance({10, 10}, {20, 10}, {0.05, 0.05}), 0.5);
    EXPECT_DOUBLE_EQ(ScaledDistance({0, 0}, {3, 4}, {1.0, 2.0}), std::sqrt(9.0 + 64.0));
    EXPECT_EQ(ScaledDistance({0, 0}, {3, 4}, {0.0, 0.0}), 0.0);
}

struct SnapCase {
    const char* name;
    PointD p0;
    double directionDegrees; // of the unsnapped second point, length 100
    int step;
    SnapRange range;
    double snappedDegrees; // NaN: left unsnapped
};

std::ostream& operator<<(std::ostream& out, const SnapCase& c)
{
    return out << c.name;
}

PointD AtDirection(PointD from, double degrees, double length)
{
    const double radians = degrees * std::acos(-1.0) / 180.0;
    return {from.x + length * std::cos(radians), from.y - length * std::sin(radians)};
}

class SnapSecondPointTest : public testing::TestWithParam<SnapCase> {};

TEST_P(SnapSecondPointTest, MovesToTheNearestMultipleKeepingTheLength)
{
    const SnapCase& c = GetParam();
    const PointD p1 = AtDirection(c.p0, c.directionDegrees, 100.0);
    const PointD snapped = SnapSecondPoint(c.p0, p1, c.step, c.range);
    if (std::isnan(c.snappedDegrees)) {
        EXPECT_EQ(snapped, p1);
        return;
    }
    const PointD expected = AtDirection(c.p0, c.snappedDegrees, 100.0);
    EXPECT_NEAR(snapped.x, expected.x, 1e-6);
    EXPECT_NEAR(snapped.y, expected.y, 1e-6);
    // Axis directions are exact, not merely close.
    const double snappedAngle = std::fmod(c.snappedDegrees, 360.0);
    if (snappedAngle == 0.0 || snappedAngle == 180.0) {
        EXPECT_EQ(snapped.y, c.p0.y);
    }
    if (snappedAngle == 90.0 || snappedAngle == 270.0) {
        EXPECT_EQ(snapped.x, c.p0.x);
    }
}

constexpr double kUnsnapped = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Snaps, SnapSecondPointTest,
    testing::Values(SnapCase{"sixty_seven_goes_down", {10, 10}, 67.9, 45, SnapRange::FullTurn, 45.0},
                    SnapCase{"sixty_eight_goes_up", {10, 10}, 68.2, 45, SnapRange::FullTurn, 90.0},
                    SnapCase{"tie_keeps_the_lower", {0, 0}, 15.5, 10, SnapRange::FullTurn, 10.0},
                    SnapCase{"near_full_turn_wraps_to_zero", {3, 7}, 359.0, 45, SnapRange::FullTurn, 0.0},
                    SnapCase{"left", {50, 50}, 181.0, 90, SnapRange::FullTurn, 180.0},
                    SnapCase{"down", {50, 50}, 268.0, 90, SnapRange::FullTurn, 270.0},
                    SnapCase{"base_line_down_goes_up", {0, 0}, 270.0, 90, SnapRange::HalfTurn, 90.0},
                    SnapCase{"base_line_left_goes_right", {0, 0}, 200.0, 45, SnapRange::HalfTurn, 0.0},
                    SnapCase{"base_line_lower_left", {0, 0}, 226.0, 45, SnapRange::HalfTurn, 45.0},
                    SnapCase{"odd_step", {0, 0}, 100.0, 7, SnapRange::FullTurn, 98.0},
                    SnapCase{"zero_step", {0, 0}, 33.0, 0, SnapRange::FullTurn, kUnsnapped},
                    SnapCase{"negative_step", {0, 0}, 33.0, -45, SnapRange::FullTurn, kUnsnapped}),
    [](const testing::TestParamInfo<SnapCase>& param) { return std::string(param.param.name); });

TEST(SnapSecondPointTest, LeavesAZeroLengthLineWhereItIs)
{
    EXPECT_EQ(SnapSecondPoint({4, 5}, {4, 5}, 45, SnapRange::FullTurn), (PointD{4, 5}));
}

} // namespace
} // namespace orvane
