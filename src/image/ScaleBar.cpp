#include "image/ScaleBar.h"

#include <cmath>
#include <cstdio>

#include "image/ImageLines.h"

namespace orvane {
namespace {

constexpr int kTick = 5;            // image pixels either side of a bar end
constexpr double kLabelLeft = 30.0; // label position relative to the bar's middle
constexpr double kLabelDrop = 15.0;
constexpr int kPlaceMargin = 50;

} // namespace

bool UsableUnitsPerPixel(double unitsPerPixel)
{
    return std::isfinite(unitsPerPixel) && unitsPerPixel > 0.0;
}

std::optional<ScaleBarLengths> ScaleBarPixelLengths(int type, int sizeX, int sizeY, double unitsPerPixelX,
                                                    double unitsPerPixelY)
{
    if (!UsableUnitsPerPixel(unitsPerPixelX) || (type == 1 && !UsableUnitsPerPixel(unitsPerPixelY))) {
        return std::nullopt;
    }
    ScaleBarLengths length{sizeX / unitsPerPixelX, 0.0};
    if (UsableUnitsPerPixel(unitsPerPixelY)) {
        length.y = sizeY / unitsPerPixelY;
    }
    return length;
}

std::string ScaleBarLabel(int sizeX, const std::string& unit)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(sizeX));
    return number + unit;
}

void DrawScaleBar(DrawingSurface& surface, const ViewTransform& transform, const ScaleBarLook& look)
{
    const double x = look.anchor.x;
    const double y = look.anchor.y;
    const double left = x - look.length.x;
    surface.SetPen(look.lineColour, look.lineWidth);
    ImageLine(surface, transform, x, y, left, y);
    ImageLine(surface, transform, left, y - kTick, left, y + kTick);
    if (look.type == 0) {
        ImageLine(surface, transform, x, y - kTick, x, y + kTick);
    }
    surface.SetFont(look.font);
    const IntPoint label = BackBufferPoint(transform, x - look.length.x * 0.5 - kLabelLeft, y + kLabelDrop);
    surface.Text(label.x, label.y, ScaleBarLabel(look.sizeX, look.unit), look.textColour);
    if (look.type == 1) {
        const double top = y - look.length.y;
        ImageLine(surface, transform, x, y, x, top);
        ImageLine(surface, transform, x - kTick, top, x + kTick, top);
    }
}

ScaleBarPart ScaleBarHit(int type, IntPoint anchor, ScaleBarLengths length, PointD image)
{
    const double x = image.x;
    const double y = image.y;
    // In doubles: a bar longer than the int range must not wrap around.
    const double ax = anchor.x;
    const double ay = anchor.y;
    if (ax - std::trunc(length.x) < x && x < ax && ay - kTick < y && y < ay + kTick) {
        return ScaleBarPart::Horizontal;
    }
    if (type == 1 && ax - kTick < x && x < ax + kTick && ay - std::trunc(length.y) < y && y < ay) {
        return ScaleBarPart::Vertical;
    }
    return ScaleBarPart::None;
}

bool ScaleBarDrag::Press(int type, IntPoint anchor, ScaleBarLengths length, PointD image)
{
    switch (ScaleBarHit(type, anchor, length, image)) {
    case ScaleBarPart::Horizontal: m_grab = {TruncateToInt(image.x) - anchor.x, 0}; break;
    case ScaleBarPart::Vertical: m_grab = {0, TruncateToInt(image.y) - anchor.y}; break;
    case ScaleBarPart::None: return false;
    }
    m_dragging = true;
    return true;
}

bool ScaleBarDrag::Move(PointD image, bool insidePicture, IntPoint& anchor)
{
    if (!m_dragging) {
        return false;
    }
    if (!insidePicture) {
        m_dragging = false;
        return false;
    }
    anchor = {TruncateToInt(image.x) - m_grab.x, TruncateToInt(image.y) - m_grab.y};
    return true;
}

std::optional<IntPoint> ScaleBarAnchor(ScaleBarPlace place, double x, double y, double unitsPerPixelX,
                                       double unitsPerPixelY, int width, int height)
{
    const bool needsX = place == ScaleBarPlace::UpperLeft || place == ScaleBarPlace::LowerLeft;
    const bool needsY = place == ScaleBarPlace::UpperLeft || place == ScaleBarPlace::UpperRight;
    if ((needsX && !UsableUnitsPerPixel(unitsPerPixelX)) || (needsY && !UsableUnitsPerPixel(unitsPerPixelY))) {
        return std::nullopt;
    }
    const int fromLeft = needsX ? TruncateToInt(std::trunc(x / unitsPerPixelX) + kPlaceMargin) : 0;
    const int fromTop = needsY ? TruncateToInt(std::trunc(y / unitsPerPixelY) + kPlaceMargin) : 0;
    switch (place) {
    case ScaleBarPlace::UpperLeft: return IntPoint{fromLeft, fromTop};
    case ScaleBarPlace::LowerLeft: return IntPoint{fromLeft, height - kPlaceMargin};
    case ScaleBarPlace::UpperRight: return IntPoint{width - kPlaceMargin, fromTop};
    case ScaleBarPlace::LowerRight: return IntPoint{width - kPlaceMargin, height - kPlaceMargin};
    case ScaleBarPlace::Center: return IntPoint{width / 2, height / 2};
    }
    return std::nullopt;
}

} // namespace orvane
