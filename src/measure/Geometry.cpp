#include "measure/Geometry.h"

#include <cmath>
#include <cstdlib>

namespace orvane {
namespace {

// The program's values of 2 pi and pi; results depend on them to the bit.
constexpr double kTwoPi = 6.2831853;
constexpr double kPi = 3.1415926535;

// Angle of the vector (c, d) -> (a, b) from atan of the slope, put into its
// quadrant. A vertical vector divides by zero and takes atan(+-inf) = +-90.
double QuadrantAngle(double a, double b, double c, double d)
{
    const double g0 = std::atan((b - d) / (c - a)) / kTwoPi * 360.0;
    if (a >= c && d >= b) {
        return g0;
    }
    if (c > a) {
        return g0 + 180.0;
    }
    if (c == a && b > d) {
        return g0 + 180.0;
    }
    return g0 + 360.0;
}

double BaseLineOffset(std::int32_t baseLine)
{
    switch (baseLine) {
    case 1: return 270.0;
    case 2: return 180.0;
    case 3: return 90.0;
    default: return 0.0;
    }
}

// atan2 result in degrees, mapped to (0, 360] counting clockwise on screen.
double ArmAngle(double theta)
{
    const double degrees = theta / kTwoPi * 360.0;
    return degrees >= 0.0 ? 360.0 - degrees : -degrees;
}

} // namespace

double DirectionAngle(double x1, double y1, double x0, double y0, std::int32_t baseLine)
{
    double angle = 0.0;
    // The zero vector would give atan(0/0) = NaN, which then shows as "nan"
    // in lists and files.
    if (x1 != x0 || y1 != y0) {
        // Measured against the reference direction +x (which gives -0) so
        // that atan(+-inf) of both vertical directions comes out positive.
        angle = std::fabs(QuadrantAngle(x1, y1, x0, y0) - QuadrantAngle(x0 + 100.0, y0, x0, y0));
    }
    angle += BaseLineOffset(baseLine);
    while (angle >= 360.0) {
        angle -= 360.0;
    }
    return angle;
}

double VertexAngle(double ax, double ay, double vx, double vy, double bx, double by)
{
    const double g = ArmAngle(std::atan2(ay - vy, vx - ax));
    const double h = ArmAngle(std::atan2(by - vy, vx - bx));
    double angle = std::fabs(g - h);
    if (angle > 180.0) {
        angle = 360.0 - angle;
    }
    return angle;
}

CircleFit CircleFrom3Points(PointD p1, PointD p2, PointD p3)
{
    const double x1 = p1.x;
    const double y1 = p1.y;
    const double x2 = p2.x;
    const double y2 = p2.y;
    const double x3 = p3.x;
    const double y3 = p3.y;

    const double t = x1 * x1 - x2 * x2 + y1 * y1 - y2 * y2;
    const double r = x1 * x1 - x3 * x3 + y1 * y1 - y3 * y3;
    const double d1 = 2.0 * ((y1 - y3) * (x1 - x2) - (y1 - y2) * (x1 - x3));
    const double d2 = 2.0 * ((y1 - y2) * (x1 - x3) - (y1 - y3) * (x1 - x2));

    CircleFit fit;
    if (d1 == 0.0 || d2 == 0.0) {
        fit.radius = std::sqrt(x1 * x1 + y1 * y1);
        return fit;
    }
    const double cx = -((y1 - y2) * r - (y1 - y3) * t) / d1;
    const double cy = -((x1 - x2) * r - (x1 - x3) * t) / d2;
    fit.centre = PointD{cx, cy};
    const double k = 2.0 * x1 * cx + 2.0 * y1 * cy - x1 * x1 - y1 * y1;
    if (k < cx * cx + cy * cy) {
        fit.radius = std::sqrt(cx * cx + cy * cy - k);
    }
    return fit;
}

LineEquation LineThrough(PointD p1, PointD p2)
{
    if (p1.x - p2.x == 0.0) {
        return {kVerticalSlope, p1.x, kVerticalSlope};
    }
    if (p1.y - p2.y == 0.0) {
        return {kHorizontalSlope, p1.y, kHorizontalSlope};
    }
    const double slope = (p1.y - p2.y) / (p1.x - p2.x);
    return {slope, p1.y - slope * p1.x, (p2.x - p1.x) / (p1.y - p2.y)};
}

PointD FootOfPerpendicular(PointD p, double slope, double intercept)
{
    if (slope == kVerticalSlope) {
        return {intercept, p.y};
    }
    if (slope == kHorizontalSlope) {
        return {p.x, intercept};
    }
    const double fx = (p.y * slope + p.x - slope * intercept) / (slope * slope + 1.0);
    const double fy = slope == 0.0 ? p.y : (p.x - fx) / slope + p.y;
    return {fx, fy};
}

double ScaledDistance(PointD p, PointD q, PointD mpp)
{
    const double dx = (p.x - q.x) * mpp.x;
    const double dy = (p.y - q.y) * mpp.y;
    return std::sqrt(dx * dx + dy * dy);
}

PointD SnapSecondPoint(PointD p0, PointD p1, std::int32_t step, SnapRange range)
{
    const double theta = DirectionAngle(p1.x, p1.y, p0.x, p0.y, 0);
    if (step <= 0 || !std::isfinite(theta)) {
        return p1;
    }
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    const double length = std::sqrt(dx * dx + dy * dy);

    const auto whole = static_cast<std::int64_t>(theta);
    std::int64_t snapped = step * (whole / step);
    if (std::llabs(step + snapped - whole) < std::llabs(whole - snapped)) {
        snapped = (snapped + step) % 360;
    }
    const std::int64_t angle = range == SnapRange::HalfTurn ? snapped % 180 : snapped;

    const double alpha = static_cast<double>(angle) * kPi / 180.0;
    PointD result{p0.x + length * std::cos(alpha), p0.y - length * std::sin(alpha)};
    if (angle == 0 || angle == 180) {
        result.y = p0.y;
    }
    if (angle == 90 || angle == 270) {
        result.x = p0.x;
    }
    return result;
}

} // namespace orvane
