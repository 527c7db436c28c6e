#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "image/PointD.h"

namespace orvane {

// Pixels that a polygon area covers on a frame of the given size: the polygon
// filled with the even-odd rule together with its closed one-pixel outline,
// clipped to the frame. Vertices are truncated toward zero to whole pixels.
//
// Fill: a pixel is inside when its centre (x + 0.5, y + 0.5) is, spans being
// half-open, so the right and bottom edges of a rectangle are left to the
// outline ((0,0),(9,0),(9,9),(0,9) fills 0..8 x 0..8, 100 pixels with the
// outline). Outline: Bresenham lines from each vertex to the next, both ends
// included; on an exact tie the line stays on the row (or column) nearer its
// start.
//
// Counted row by row over the polygon's rows only; no canvas is made. Fewer
// than two vertices are not counted (empty result), as the drawing platform
// refuses such a polygon.
[[nodiscard]] std::optional<std::int64_t> PolygonPixelCount(std::span<const PointD> vertices, std::int32_t frameWidth,
                                                            std::int32_t frameHeight);

} // namespace orvane
