#pragma once

namespace orvane {

// Two doubles, x then y: an image point in pixels of the display frame (y
// growing downwards), or a real client point. Fractional values come from the
// zoomed view, whole ones from the edge snapping.
struct PointD {
    double x = 0.0;
    double y = 0.0;
    friend constexpr bool operator==(const PointD&, const PointD&) = default;
};

} // namespace orvane
