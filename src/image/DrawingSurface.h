#pragma once

#include <span>
#include <string>
#include <string_view>

#include "image/BitmapTypes.h"
#include "image/ViewMath.h"

namespace orvane {

// A font as the settings describe it: the fields of the platform's logical
// font record that change what is drawn.
struct DrawingFont {
    int height = -21; // < 0: character height in pixels; > 0: cell height in pixels; 0: default size
    int weight = 0;   // 0 default (normal), 100 thin ... 400 normal, 700 bold ... 900 heavy
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::string faceName; // UTF-8; a face the system lacks falls back to a sans-serif face

    friend bool operator==(const DrawingFont&, const DrawingFont&) = default;
};

struct TextExtent {
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(const TextExtent&, const TextExtent&) = default;
};

// The few drawing primitives every overlay is written against (measurements,
// grid, scale bar, calibration marks, ...). The app draws them with QPainter
// into the paint back buffer or into a saved picture; tests record them.
//
// Coordinates are whole back-buffer pixels: (0, 0) is the top-left pixel of
// the picture as shown, x to the right, y downward, whatever the row order of
// the pixel memory underneath. Callers map image points with the view's
// ViewTransform and truncate towards zero before they get here.
//
// Drawing is aliased, as the reference platform's device context draws:
// - pen width <= 1: one-pixel lines; a line does not draw its end pixel (so a
//   line from (x - 3, y) to (x + 3, y) covers 6 pixels), and neither does a
//   polyline's last point;
// - pen width > 1: lines of that width with round ends and round joins;
// - outlines (polygon, ellipse) are closed and drawn with the pen only, never
//   filled.
// Nothing is clipped by the caller: the surface drops what falls outside it.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Solid pen for the following lines, outlines and dots; width < 1 counts as 1.
    virtual void SetPen(COLORREF colour, int width) = 0;

    // Straight line from (x0, y0) towards (x1, y1) with the pen.
    virtual void Line(int x0, int y0, int x1, int y1) = 0;

    // Open line through the points in order (nothing for fewer than two).
    virtual void Polyline(std::span<const IntPoint> points) = 0;

    // Closed outline through the points in order and back to the first
    // (nothing for fewer than two).
    virtual void PolygonOutline(std::span<const IntPoint> points) = 0;

    // Outline of the ellipse inscribed in the box (right and bottom exclusive):
    // the full arc of the reference platform with start = end at the left middle.
    virtual void Ellipse(const RECT& box) = 0;

    // The mark of a zero-length line: a filled round dot of the pen's width and
    // colour centred on (x, y).
    virtual void Dot(int x, int y) = 0;

    // Solid fill of the rectangle (right and bottom exclusive), pen unchanged.
    virtual void FillRect(const RECT& rect, COLORREF colour) = 0;

    // Font for the following texts and text sizes.
    virtual void SetFont(const DrawingFont& font) = 0;

    // One line of UTF-8 text in the colour, its top-left corner at (x, y), on a
    // transparent background.
    virtual void Text(int x, int y, std::string_view utf8, COLORREF colour) = 0;

    // Width and height the text takes in the current font.
    [[nodiscard]] virtual TextExtent TextSize(std::string_view utf8) = 0;
};

// The colour's bitwise complement within 24 bits: how selected things are drawn.
[[nodiscard]] constexpr COLORREF InvertedColour(COLORREF colour)
{
    return ~colour & 0xFFFFFFu;
}

} // namespace orvane
