#include "image/GridDrawing.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "image/ScaleBar.h"

namespace orvane {
namespace {

IntPoint T(const ViewTransform& transform, double x, double y)
{
    const PointD p = transform.ToBackBuffer({x, y});
    return {TruncateToInt(p.x), TruncateToInt(p.y)};
}

void LineT(DrawingSurface& surface, const ViewTransform& transform, double x0, double y0, double x1, double y1)
{
    const IntPoint a = T(transform, x0, y0);
    const IntPoint b = T(transform, x1, y1);
    surface.Line(a.x, a.y, b.x, b.y);
}

} // namespace

void DrawGrid(DrawingSurface& surface, const ViewTransform& transform, int width, int height, int gridSize,
              COLORREF colour)
{
    if (gridSize < 1 || width <= 0 || height <= 0) {
        return;
    }
    surface.SetPen(colour, 1);
    const double g = gridSize;
    for (int k = 1; k <= width / gridSize; ++k) {
        LineT(surface, transform, k * g, 0.0, k * g, height);
    }
    for (int k = 1; k <= height / gridSize; ++k) {
        LineT(surface, transform, 0.0, k * g, width, k * g);
    }
}

void DrawCrossHairs(DrawingSurface& surface, const ViewTransform& transform, int width, int height, PointD pointer,
                    COLORREF colour)
{
    surface.SetPen(colour, 1);
    LineT(surface, transform, pointer.x, 0.0, pointer.x, height);
    LineT(surface, transform, 0.0, pointer.y, width, pointer.y);
}

std::optional<std::string> FormatGridField(int gridSize, double unitsPerPixel, int scaleDec)
{
    if (!UsableUnitsPerPixel(unitsPerPixel)) {
        return std::nullopt;
    }
    const char* format = "%.1f";
    if (scaleDec == 2) {
        format = "%.2f";
    } else if (scaleDec == 3) {
        format = "%.3f";
    }
    char text[64];
    std::snprintf(text, sizeof text, format, gridSize * unitsPerPixel);
    return std::string(text);
}

GridFieldEntry ParseGridField(std::string_view text, double unitsPerPixel)
{
    GridFieldEntry entry;
    if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) {
        entry.scaleDec = static_cast<int>(text.size() - dot - 1);
    }
    std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string_view::npos || !UsableUnitsPerPixel(unitsPerPixel)) {
        return entry;
    }
    if (text[start] == '+') {
        ++start; // from_chars takes no plus sign; "%lf" does
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (error != std::errc{} || !std::isfinite(value) || value <= 0.0) {
        return entry;
    }
    const double pixels = std::trunc(value / unitsPerPixel);
    if (pixels > 0.0) {
        entry.gridSize = TruncateToInt(pixels);
    }
    return entry;
}

} // namespace orvane
