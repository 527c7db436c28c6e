#include "image/GridDrawing.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "image/ImageLines.h"
#include "image/ScaleBar.h"

namespace orvane {

void DrawGrid(DrawingSurface& surface, const ViewTransform& transform, int width, int height, int gridSize,
              COLORREF colour)
{
    if (gridSize < 1 || width <= 0 || height <= 0) {
        return;
    }
    surface.SetPen(colour, 1);
    const double g = gridSize;
    for (int k = 1; k <= width / gridSize; ++k) {
        ImageLine(surface, transform, k * g, 0.0, k * g, height);
    }
    for (int k = 1; k <= height / gridSize; ++k) {
        ImageLine(surface, transform, 0.0, k * g, width, k * g);
    }
}

void DrawCrossHairs(DrawingSurface& surface, const ViewTransform& transform, int width, int height, PointD pointer,
                    COLORREF colour)
{
    surface.SetPen(colour, 1);
    ImageLine(surface, transform, pointer.x, 0.0, pointer.x, height);
    ImageLine(surface, transform, 0.0, pointer.y, width, pointer.y);
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
