#pragma once

#include <optional>

#include "image/BitmapTypes.h"
#include "image/PointD.h"

// The mapping between the main window's client coordinates and the image
// coordinates of the display frame, and the layout of the picture frame. Every
// overlay and every mouse interaction converts through these functions only.
//
// Image coordinates: x to the right, y downward from the top-left pixel of the
// display frame (w x h pixels). The picture frame V is given in client
// coordinates; W = V.right - V.left, H = V.bottom - V.top. The pan (px, py) is
// the image coordinate of the frame's top-left corner, negated.
namespace orvane {

struct IntPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const IntPoint&, const IntPoint&) = default;
};

// What the mapping depends on.
struct ViewGeometry {
    RECT frame;          // picture frame V, client coordinates
    int imageWidth = 0;  // w of the display frame
    int imageHeight = 0; // h
    int zoomIndex = 1;   // 0 fit, 1..21 magnification (ZoomTable.h)
    double panX = 0.0;   // px
    double panY = 0.0;   // py
};

// Image -> back buffer (client minus V's top-left): bx = (x + panX) * scaleX,
// by = (y + panY) * scaleY. Fit mode has scale (W / w, H / h) and pan 0;
// magnification f has scale (f, f) and the view's pan.
struct ViewTransform {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double panX = 0.0;
    double panY = 0.0;

    [[nodiscard]] PointD ToBackBuffer(PointD image) const
    {
        return {(image.x + panX) * scaleX, (image.y + panY) * scaleY};
    }

    friend bool operator==(const ViewTransform&, const ViewTransform&) = default;
};

// v -> v truncated toward zero, saturated to the int range; NaN gives 0.
[[nodiscard]] int TruncateToInt(double v);

// Point inside the rectangle: left <= x < right and top <= y < bottom.
[[nodiscard]] constexpr bool Contains(const RECT& r, IntPoint p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// True when the mapping gives usable results: a non-empty display frame, a
// picture frame of positive width and height, a zoom index of the list.
[[nodiscard]] bool IsMappable(const ViewGeometry& g);

// Geometry -> the transform of the overlays (see ViewTransform); nullopt when not mappable.
[[nodiscard]] std::optional<ViewTransform> TransformOf(const ViewGeometry& g);

// Client point c -> image point: zoom f: ((cx - V.left) / f - px, (cy - V.top) / f - py);
// fit: (w / W * (cx - V.left), h / H * (cy - V.top)). nullopt when not mappable.
[[nodiscard]] std::optional<PointD> ClientToImage(const ViewGeometry& g, PointD client);

// ClientToImage with each coordinate truncated toward zero.
[[nodiscard]] std::optional<IntPoint> ClientToImageInt(const ViewGeometry& g, PointD client);

// Image point p -> client point: ((x + px) * sx + V.left, (y + py) * sy + V.top),
// with the pan taken as 0 in fit mode. nullopt when not mappable.
[[nodiscard]] std::optional<PointD> ImageToClient(const ViewGeometry& g, PointD image);

// Fractions (rx, ry) of the picture frame -> the image point shown there:
// fit (w * rx, h * ry); zoom f (W / f * rx - px, H / f * ry - py).
[[nodiscard]] PointD ImagePointAtFraction(const ViewGeometry& g, double rx, double ry);

// Image point m, zoom index n and fractions (rx, ry) of a W x H frame -> the pan
// that shows m there: fit (0, 0); zoom f (-(mx - W / f * rx), -(my - H / f * ry)).
[[nodiscard]] PointD PanShowingPoint(int zoomIndex, PointD image, double rx, double ry, int frameWidth,
                                        int frameHeight);

// The main window's part of the layout: what the view does not own.
struct WindowLayout {
    int clientWidth = 0;  // K.right (K.left = K.top = 0)
    int clientHeight = 0; // K.bottom
    int rightReserve = 0;
    int bottomReserve = 0;
    bool rightPanelShown = true;
    bool bottomPanelShown = true;
    int dpiX = 96; // logical pixels per inch
    int dpiY = 96;
    int cornerButtonWidth = 0; // the bottom-left corner button
    int cornerButtonHeight = 0;
    RECT resultsList; // current rectangles, client coordinates
    RECT stripBox;
    RECT scrollBar;
};

struct ViewLayoutResult {
    RECT frame; // the picture frame's new rectangle
    RECT resultsList;
    RECT stripBox;
    RECT scrollBar;
    double panX = 0.0; // the clamped pan
    double panY = 0.0;
};

// The window's layout and the view's geometry -> new rectangles of the picture
// frame, results list, strip box and scroll bar, and the clamped pan.
//
// Free space: R = rightReserve (right panel shown) or 24 at 96 dpi; B =
// bottomReserve (strip shown) or 20 at 96 dpi (MulDiv(n, dpi, 96)). Zoom f: the frame keeps its
// top-left and becomes min(trunc(w * f), K.right - R) x min(trunc(h * f),
// K.bottom - B). Fit: aw = K.right - V.left - R, ah = K.bottom - V.top - B,
// shrunk to the image's aspect; the frame becomes (V.left + aw) x (V.top + ah):
// its own offsets are added to the fitted size, as the window has always done,
// so the fitted frame runs past the free area by them. Sizes never go below 0.
// The pan is clamped to [W / f - w, 0] x [H / f - h, 0] (f = 1.0 in fit mode);
// a pan that is not a finite number becomes 0 first. The results list keeps
// its width and top, its right edge one corner-button width left of K.right and
// its bottom one corner-button height above K.bottom; strip box and scroll bar
// keep their left edge and height, end one corner-button height above K.bottom
// and become K.right - rightReserve wide (the reserve counts even with the right
// panel hidden).
[[nodiscard]] ViewLayoutResult ComputeViewLayout(const WindowLayout& window, const ViewGeometry& view);

} // namespace orvane
