#pragma once

#include <span>

#include "image/BitmapTypes.h"
#include "image/DrawingSurface.h"
#include "image/FrameImage.h"
#include "image/ViewMath.h"
#include "settings/CrossLineSettings.h"

// Cross lines burnt into the shown picture's pixels: full-width horizontal and
// full-height vertical bands, blended with the picture, a screen pixel wide
// per unit of Size whatever the zoom.
namespace orvane {

// A dashed band draws where the position along it modulo 24 is below 18.
inline constexpr int kDashPeriod = 24;
inline constexpr int kDashOn = 18;

// Entry `index` of a list at its absolute image position: the master (entry
// 0) where it is, every other entry at master + its offset.
[[nodiscard]] IntPoint CrossLinePosition(std::span<const CrossLine> list, std::size_t index);

// One channel blended at `draw` percent: old x (100 - draw) / 100 + draw x
// colour / 100, each product divided on its own, clamped to 0..255.
[[nodiscard]] constexpr int BlendChannel(int oldValue, int colourValue, int draw)
{
    const int value = oldValue * (100 - draw) / 100 + draw * colourValue / 100;
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

// The bands of one crossing point (back-buffer pixels): rows y - Size / 2 ..
// y - Size / 2 + Size - 1 across the whole width and the same columns around
// x across the whole height; Type 1 draws only where the column (horizontal
// band) or row (vertical band) modulo 24 is below 18. Every covered pixel of a
// 24- or 32-bit image is blended channel by channel with Color at Draw
// percent (clamped to 0..100); pixels outside the image are skipped, as are
// images of other depths.
void BlendCrossBands(FrameImage& image, IntPoint crossing, const CrossLine& line);

// Every shown line of the list (nothing when the master is hidden), each at
// its absolute position mapped by the view (truncated), as bands.
void BlendCrossLines(FrameImage& image, const ViewTransform& transform, std::span<const CrossLine> lines);

// The complete circles (Mode 3 or more) of the circle list, positioned as
// lines are: the centre as bands, and the outline of radius Radius (mapped
// like points) drawn on `surface` with a solid pen of the circle's colour and
// Size. Circles still being defined (Mode 0-2) show nothing.
void BlendCrossCircleCentres(FrameImage& image, const ViewTransform& transform, std::span<const CrossLine> circles);
void DrawCrossCircleOutlines(DrawingSurface& surface, const ViewTransform& transform,
                             std::span<const CrossLine> circles);

} // namespace orvane
