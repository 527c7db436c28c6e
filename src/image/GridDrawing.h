#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/BitmapTypes.h"
#include "image/DrawingSurface.h"
#include "image/PointD.h"
#include "image/ViewMath.h"

// The grid and the cursor cross hairs over the picture, and the colour
// dialog's grid-spacing field in calibration units.
namespace orvane {

// Grid lines at multiples of `gridSize` image pixels from the picture's
// top-left corner, over a w x h picture: vertical lines from T(k g, 0) to
// T(k g, h) for k = 1 .. trunc(w / g), horizontal ones from T(0, k g) to T(w,
// k g) for k = 1 .. trunc(h / g), solid, width 1, in `colour` (T the view's
// mapping, truncated). A line falls on the right or bottom border when w or h
// is a multiple of g. Nothing for a grid size below 1.
void DrawGrid(DrawingSurface& surface, const ViewTransform& transform, int width, int height, int gridSize,
              COLORREF colour);

// The cursor cross hairs at image point `pointer` over a w x h picture: a
// vertical line from T(x, 0) to T(x, h) and a horizontal one from T(0, y) to
// T(w, y), solid, width 1.
void DrawCrossHairs(DrawingSurface& surface, const ViewTransform& transform, int width, int height, PointD pointer,
                    COLORREF colour);

// The grid field's text: gridSize x unitsPerPixel with "%.1f", "%.2f" or
// "%.3f" for ScaleDec 1, 2 or 3 and "%.1f" otherwise. nullopt when the units
// per pixel are 0, negative or not finite: the field keeps what it shows.
[[nodiscard]] std::optional<std::string> FormatGridField(int gridSize, double unitsPerPixel, int scaleDec);

// What typed grid-field text says: ScaleDec is the number of characters after
// the first "." (-1 without one); the text is read as a real as "%lf" reads
// it (leading blanks, a sign, then the longest number); when that value is
// positive and trunc(value / unitsPerPixel) > 0, that is the new grid size.
struct GridFieldEntry {
    int scaleDec = -1;
    std::optional<int> gridSize;
};
[[nodiscard]] GridFieldEntry ParseGridField(std::string_view text, double unitsPerPixel);

} // namespace orvane
