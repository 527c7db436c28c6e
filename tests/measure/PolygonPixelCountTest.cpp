#include "measure/PolygonPixelCount.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceRasteriser.h"

namespace orvane {
namespace {

using Polygon = std::vector<PointD>;

TEST(PolygonPixelCountTest, SquareCountsItsFillAndOutline)
{
    const Polygon square{{0, 0}, {9, 0}, {9, 9}, {0, 9}};
    EXPECT_EQ(PolygonPixelCount(square, 640, 480), 100);
    const Polygon reversed{{0, 9}, {9, 9}, {9, 0}, {0, 0}};
    EXPECT_EQ(PolygonPixelCount(reversed, 640, 480), 100);
    // Fractions are cut off toward zero.
    const Polygon fractional{{0.9, -0.7}, {9.99, 0.2}, {9.5, 9.9}, {-0.5, 9.01}};
    EXPECT_EQ(PolygonPixelCount(fractional, 640, 480), 100);
}

TEST(PolygonPixelCountTest, ClipsToTheFrame)
{
    const Polygon square{{-5, -5}, {4, -5}, {4, 4}, {-5, 4}};
    EXPECT_EQ(PolygonPixelCount(square, 640, 480), 25);
    const Polygon corner{{630, 470}, {700, 470}, {700, 500}, {630, 500}};
    EXPECT_EQ(PolygonPixelCount(corner, 640, 480), 10 * 10);
    const Polygon outside{{-50, -50}, {-10, -50}, {-10, -10}};
    EXPECT_EQ(PolygonPixelCount(outside, 640, 480), 0);
    const Polygon covering{{-10, -10}, {100, -10}, {100, 100}, {-10, 100}};
    EXPECT_EQ(PolygonPixelCount(covering, 64, 48), 64 * 48);
}

TEST(PolygonPixelCountTest, TooFewVerticesAreNotCounted)
{
    EXPECT_EQ(PolygonPixelCount(Polygon{}, 640, 480), std::nullopt);
    EXPECT_EQ(PolygonPixelCount(Polygon{{5, 5}}, 640, 480), std::nullopt);
    EXPECT_EQ(PolygonPixelCount(Polygon{{0, 0}, {9, 0}}, 640, 480), 10);
    EXPECT_EQ(PolygonPixelCount(Polygon{{2, 3}, {2, 3}}, 640, 480), 1);
    EXPECT_EQ(PolygonPixelCount(Polygon{{0, 0}, {9, 0}, {9, 9}}, 0, 0), 0);
}

TEST(PolygonPixelCountTest, SurvivesWildCoordinates)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Polygon wild{{nan, 5}, {1e300, 10}, {-1e300, -1e300}, {20, 1e18}};
    const std::optional<std::int64_t> count = PolygonPixelCount(wild, 64, 48);
    ASSERT_TRUE(count.has_value());
    EXPECT_GE(*count, 0);
    EXPECT_LE(*count, 64 * 48);
}

enum class Shape { Convex, Star, Tangle, PartlyOutside, Degenerate, Large };

struct RandomCase {
    Shape shape;
    int width;
    int height;
};

std::ostream& operator<<(std::ostream& out, const RandomCase& c)
{
    return out << "shape " << static_cast<int>(c.shape) << " on " << c.width << " x " << c.height;
}

std::string ShapeName(const testing::TestParamInfo<RandomCase>& info)
{
    static const char* const kNames[] = {"Convex", "Star", "Tangle", "PartlyOutside", "Degenerate", "Large"};
    return kNames[static_cast<int>(info.param.shape)];
}

// Vertices around (cx, cy) at increasing angles; equal radii give a convex
// polygon, varying radii a concave star.
Polygon Radial(std::mt19937& random, int count, double cx, double cy, double minRadius, double maxRadius)
{
    std::uniform_real_distribution<double> radius(minRadius, maxRadius);
    std::uniform_real_distribution<double> jitter(0.0, 0.9);
    Polygon polygon;
    const double turn = 2.0 * std::acos(-1.0);
    for (int i = 0; i < count; ++i) {
        const double angle = (i + jitter(random)) * turn / count;
        const double r = radius(random);
        polygon.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
    }
    return polygon;
}

Polygon MakePolygon(std::mt19937& random, const RandomCase& c)
{
    std::uniform_int_distribution<int> count(3, 14);
    std::uniform_real_distribution<double> inX(0.0, c.width);
    std::uniform_real_distribution<double> inY(0.0, c.height);
    std::uniform_real_distribution<double> aroundX(-0.5 * c.width, 1.5 * c.width);
    std::uniform_real_distribution<double> aroundY(-0.5 * c.height, 1.5 * c.height);
    const double size = std::min(c.width, c.height);
    switch (c.shape) {
    case Shape::Convex: {
        const double r = std::uniform_real_distribution<double>(2.0, size / 2)(random);
        return Radial(random, count(random), inX(random), inY(random), r, r);
    }
    case Shape::Star: return Radial(random, count(random), inX(random), inY(random), 1.0, size / 2);
    case Shape::Tangle: {
        Polygon polygon;
        for (int i = count(random); i > 0; --i) {
            polygon.push_back({inX(random), inY(random)});
        }
        return polygon;
    }
    case Shape::PartlyOutside: {
        Polygon polygon;
        for (int i = count(random); i > 0; --i) {
            polygon.push_back({aroundX(random), aroundY(random)});
        }
        return polygon;
    }
    case Shape::Degenerate: {
        // Lines, repeated vertices, axis-parallel runs and collinear points.
        const PointD a{inX(random), inY(random)};
        const PointD b{inX(random), inY(random)};
        switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0: return {a, b};
        case 1: return {a, b, a};
        case 2: return {a, {(a.x + b.x) / 2, (a.y + b.y) / 2}, b};
        case 3: return {a, {b.x, a.y}, {b.x, a.y}, b, {a.x, b.y}};
        default: return {a, a, a};
        }
    }
    case Shape::Large: return Radial(random, 100, c.width / 2.0, c.height / 2.0, size / 8, size / 2 + 50);
    }
    return {};
}

class PolygonPixelCountRandomTest : public testing::TestWithParam<RandomCase> {};

TEST_P(PolygonPixelCountRandomTest, AgreesWithTheCanvasRasteriser)
{
    const RandomCase& c = GetParam();
    std::mt19937 random(1234 + static_cast<unsigned>(c.shape));
    const int rounds = c.shape == Shape::Large ? 20 : 600;
    for (int round = 0; round < rounds; ++round) {
        const Polygon polygon = MakePolygon(random, c);
        const std::optional<std::int64_t> expected = test::ReferencePolygonPixelCount(polygon, c.width, c.height);
        const std::optional<std::int64_t> counted = PolygonPixelCount(polygon, c.width, c.height);
        ASSERT_EQ(counted, expected) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, PolygonPixelCountRandomTest,
                         testing::Values(RandomCase{Shape::Convex, 61, 47}, RandomCase{Shape::Star, 80, 60},
                                         RandomCase{Shape::Tangle, 50, 70}, RandomCase{Shape::PartlyOutside, 40, 30},
                                         RandomCase{Shape::Degenerate, 33, 29}, RandomCase{Shape::Large, 640, 480}),
                         ShapeName);

} // namespace
} // namespace orvane
