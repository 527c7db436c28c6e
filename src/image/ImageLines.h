#pragma once

#include "image/DrawingSurface.h"
#include "image/ViewMath.h"

namespace orvane {

// An image point in whole back-buffer pixels (truncated, as GDI takes them).
[[nodiscard]] inline IntPoint BackBufferPoint(const ViewTransform& transform, double x, double y)
{
    const PointD p = transform.ToBackBuffer({x, y});
    return {TruncateToInt(p.x), TruncateToInt(p.y)};
}

// A line between two image points, drawn in the back buffer.
inline void ImageLine(DrawingSurface& surface, const ViewTransform& transform, double x0, double y0, double x1,
                      double y1)
{
    const IntPoint a = BackBufferPoint(transform, x0, y0);
    const IntPoint b = BackBufferPoint(transform, x1, y1);
    surface.Line(a.x, a.y, b.x, b.y);
}

} // namespace orvane
