#pragma once

#include <cstdint>
#include <optional>

#include "image/PointD.h"

namespace orvane {

// Plane geometry of the measurements, in image pixels with y growing
// downwards. Angles are degrees. The constants are those the results were
// always computed with (2 pi taken as 6.2831853), so that values match
// earlier results to the bit.

// Base lines (zero direction of direction angles): offsets 0, 270, 180, 90.
inline constexpr std::int32_t kBaseLineCount = 4;

// Sentinel slopes of LineThrough, compared by exact equality.
inline constexpr double kVerticalSlope = 9999.9;
inline constexpr double kHorizontalSlope = 9998.9;

// (x0, y0) -> (x1, y1): direction counter-clockwise from the screen's +x axis
// (screen up is 90) plus 0/270/180/90 for base line 0/1/2/3, in [0, 360).
// A zero vector counts as direction 0 before the base-line offset.
[[nodiscard]] double DirectionAngle(double x1, double y1, double x0, double y0, std::int32_t baseLine);

// Angle at vertex v between the directions to a and to b, in [0, 180].
[[nodiscard]] double VertexAngle(double ax, double ay, double vx, double vy, double bx, double by);

// Circle through three points. Collinear points give centre (0, 0) through the
// first point. When the radius cannot be formed, `radius` is empty and callers
// keep the radius they had (the centre is still given).
struct CircleFit {
    PointD centre;
    std::optional<double> radius;
};
[[nodiscard]] CircleFit CircleFrom3Points(PointD p1, PointD p2, PointD p3);

// y = slope * x + intercept through two points; a vertical line gives
// slope = perpendicularSlope = kVerticalSlope and intercept = its x, a
// horizontal one kHorizontalSlope and its y.
struct LineEquation {
    double slope = 0.0;
    double intercept = 0.0;
    double perpendicularSlope = 0.0;
};
[[nodiscard]] LineEquation LineThrough(PointD p1, PointD p2);

// Foot of the perpendicular from p onto the line (slope, intercept) of
// LineThrough, sentinels included.
[[nodiscard]] PointD FootOfPerpendicular(PointD p, double slope, double intercept);

// Distance with each axis scaled by its units per pixel:
// sqrt(((p.x - q.x) * mpp.x)^2 + ((p.y - q.y) * mpp.y)^2).
[[nodiscard]] double ScaledDistance(PointD p, PointD q, PointD mpp);

// Angle snapping (Shift held): the direction p0 -> p1 goes to the nearest
// whole multiple of `step` degrees (a tie keeps the lower one), keeping the
// length. A base line of a perpendicular takes the snapped angle mod 180.
// A step of 0 or less leaves p1 unchanged.
enum class SnapRange { FullTurn, HalfTurn };
[[nodiscard]] PointD SnapSecondPoint(PointD p0, PointD p1, std::int32_t step, SnapRange range);

} // namespace orvane
