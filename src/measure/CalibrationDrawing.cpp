#include "measure/CalibrationDrawing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace orvane {
namespace {

constexpr int kHalfMark = 10;

// Mapped coordinates are saturated ints; the arithmetic on them stays in 64
// bits and comes back saturated, so a stray rectangle cannot overflow.
int Saturate(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

IntPoint ToPixel(const ViewTransform& transform, double x, double y)
{
    const PointD p = transform.ToBackBuffer(PointD{x, y});
    return IntPoint{TruncateToInt(p.x), TruncateToInt(p.y)};
}

} // namespace

void DrawCalibrationMarks(DrawingSurface& surface, const ViewTransform& transform, const CALIBRATION& rectangle,
                          const RECT& frame, COLORREF lineColour, int lineWidth)
{
    surface.SetPen(lineColour, lineWidth);

    const IntPoint topLeft = ToPixel(transform, rectangle.left, rectangle.top);
    const IntPoint bottomRight = ToPixel(transform, rectangle.right, rectangle.bottom);
    const std::int64_t l = topLeft.x;
    const std::int64_t t = topLeft.y;
    const std::int64_t r = bottomRight.x;
    const std::int64_t b = bottomRight.y;
    const std::int64_t mx = l + (r - l) / 2;
    const std::int64_t my = t + (b - t) / 2;

    surface.Line(Saturate(l), Saturate(my), Saturate(r), Saturate(my));
    surface.Line(Saturate(mx), Saturate(t), Saturate(mx), Saturate(b));
    surface.Line(Saturate(mx - kHalfMark), Saturate(t), Saturate(mx + kHalfMark), Saturate(t));
    surface.Line(Saturate(mx - kHalfMark), Saturate(b), Saturate(mx + kHalfMark), Saturate(b));
    surface.Line(Saturate(l), Saturate(my - kHalfMark), Saturate(l), Saturate(my + kHalfMark));
    surface.Line(Saturate(r), Saturate(my - kHalfMark), Saturate(r), Saturate(my + kHalfMark));

    const std::array<IntPoint, 4> corners{
        ToPixel(transform, frame.left, frame.top),
        ToPixel(transform, frame.right, frame.top),
        ToPixel(transform, frame.right, frame.bottom),
        ToPixel(transform, frame.left, frame.bottom),
    };
    surface.PolygonOutline(corners);
}

} // namespace orvane
