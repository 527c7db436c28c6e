#include "image/ViewMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "image/ZoomTable.h"

namespace orvane {
namespace {

int FrameWidth(const ViewGeometry& g)
{
    return g.frame.Width();
}
int FrameHeight(const ViewGeometry& g)
{
    return g.frame.Height();
}

int ClampToInt(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double FiniteOrZero(double v)
{
    return std::isfinite(v) ? v : 0.0;
}

// Pan clamp of one axis: min(pan, 0), then max(pan, frame / f - image).
double ClampPan(double pan, int frame, int image, double factor)
{
    pan = std::min(FiniteOrZero(pan), 0.0);
    return std::max(pan, frame / factor - image);
}

// (a * b) / c rounded half away from zero, in 64 bits; -1 when c is 0 (Windows' MulDiv).
int MulDiv(int a, int b, int c)
{
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c;
    const bool negative = (product < 0) != (divisor < 0);
    const std::int64_t magnitude = (std::abs(product) + std::abs(divisor) / 2) / std::abs(divisor);
    return ClampToInt(negative ? -magnitude : magnitude);
}

// A 96-dpi layout value -> pixels at `dpi`: (value * dpi) / 96 rounded half away from zero.
int ScaleFrom96Dpi(int value, int dpi)
{
    return MulDiv(value, dpi, 96);
}

} // namespace

int TruncateToInt(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    if (v <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    if (v >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(v);
}

bool IsMappable(const ViewGeometry& g)
{
    return g.imageWidth > 0 && g.imageHeight > 0 && FrameWidth(g) > 0 && FrameHeight(g) > 0 &&
           IsValidZoomIndex(g.zoomIndex);
}

std::optional<ViewTransform> TransformOf(const ViewGeometry& g)
{
    if (!IsMappable(g)) {
        return std::nullopt;
    }
    if (g.zoomIndex == kZoomFit) {
        return ViewTransform{static_cast<double>(FrameWidth(g)) / g.imageWidth,
                             static_cast<double>(FrameHeight(g)) / g.imageHeight, 0.0, 0.0};
    }
    const double f = ZoomFactor(g.zoomIndex);
    return ViewTransform{f, f, g.panX, g.panY};
}

std::optional<PointD> ClientToImage(const ViewGeometry& g, PointD client)
{
    if (!IsMappable(g)) {
        return std::nullopt;
    }
    const double dx = client.x - g.frame.left;
    const double dy = client.y - g.frame.top;
    if (g.zoomIndex == kZoomFit) {
        return PointD{static_cast<double>(g.imageWidth) / FrameWidth(g) * dx,
                         static_cast<double>(g.imageHeight) / FrameHeight(g) * dy};
    }
    const double f = ZoomFactor(g.zoomIndex);
    return PointD{dx / f - g.panX, dy / f - g.panY};
}

std::optional<IntPoint> ClientToImageInt(const ViewGeometry& g, PointD client)
{
    const std::optional<PointD> p = ClientToImage(g, client);
    if (!p) {
        return std::nullopt;
    }
    return IntPoint{TruncateToInt(p->x), TruncateToInt(p->y)};
}

std::optional<PointD> ImageToClient(const ViewGeometry& g, PointD image)
{
    const std::optional<ViewTransform> t = TransformOf(g);
    if (!t) {
        return std::nullopt;
    }
    const PointD b = t->ToBackBuffer(image);
    return PointD{b.x + g.frame.left, b.y + g.frame.top};
}

PointD ImagePointAtFraction(const ViewGeometry& g, double rx, double ry)
{
    if (g.zoomIndex == kZoomFit) {
        return {g.imageWidth * rx, g.imageHeight * ry};
    }
    const double f = ZoomFactor(g.zoomIndex);
    return {FrameWidth(g) / f * rx - g.panX, FrameHeight(g) / f * ry - g.panY};
}

PointD PanShowingPoint(int zoomIndex, PointD image, double rx, double ry, int frameWidth, int frameHeight)
{
    if (zoomIndex == kZoomFit) {
        return {0.0, 0.0};
    }
    const double f = ZoomFactor(zoomIndex);
    return {-(image.x - frameWidth / f * rx), -(image.y - frameHeight / f * ry)};
}

ViewLayoutResult ComputeViewLayout(const WindowLayout& window, const ViewGeometry& view)
{
    const int clientRight = window.clientWidth;
    const int clientBottom = window.clientHeight;
    const int rightLimit = window.rightPanelShown ? window.rightReserve : ScaleFrom96Dpi(24, window.dpiX);
    const int bottomLimit = window.bottomPanelShown ? window.bottomReserve : ScaleFrom96Dpi(20, window.dpiY);
    const RECT& v = view.frame;
    const std::int64_t w = std::max(0, view.imageWidth);
    const std::int64_t h = std::max(0, view.imageHeight);

    std::int64_t frameWidth = 0;
    std::int64_t frameHeight = 0;
    if (view.zoomIndex == kZoomFit) {
        std::int64_t aw = std::max<std::int64_t>(0, static_cast<std::int64_t>(clientRight) - v.left - rightLimit);
        std::int64_t ah = std::max<std::int64_t>(0, static_cast<std::int64_t>(clientBottom) - v.top - bottomLimit);
        if (aw * h > ah * w) {
            aw = ah * w / h;
        } else if (aw * h < ah * w) {
            ah = aw * h / w;
        }
        frameWidth = v.left + aw;
        frameHeight = v.top + ah;
    } else {
        const double f = ZoomFactor(view.zoomIndex);
        frameWidth = std::min<std::int64_t>(TruncateToInt(static_cast<double>(w) * f),
                                            static_cast<std::int64_t>(clientRight) - rightLimit);
        frameHeight = std::min<std::int64_t>(TruncateToInt(static_cast<double>(h) * f),
                                             static_cast<std::int64_t>(clientBottom) - bottomLimit);
    }
    frameWidth = std::max<std::int64_t>(0, frameWidth);
    frameHeight = std::max<std::int64_t>(0, frameHeight);

    ViewLayoutResult r;
    r.frame = RECT{v.left, v.top, ClampToInt(v.left + frameWidth), ClampToInt(v.top + frameHeight)};

    const int cornerWidth = window.cornerButtonWidth;
    const int cornerHeight = window.cornerButtonHeight;
    const RECT& list = window.resultsList;
    const int listRight = clientRight - cornerWidth;
    r.resultsList =
        RECT{listRight - list.Width(), list.top, listRight, std::max(list.top, clientBottom - cornerHeight)};

    const int stripWidth = std::max(0, clientRight - window.rightReserve);
    const auto placeAboveCorner = [&](const RECT& box) {
        const int bottom = clientBottom - cornerHeight;
        return RECT{box.left, bottom - box.Height(), box.left + stripWidth, bottom};
    };
    r.stripBox = placeAboveCorner(window.stripBox);
    r.scrollBar = placeAboveCorner(window.scrollBar);

    const double f = ZoomFactor(view.zoomIndex);
    r.panX = ClampPan(view.panX, r.frame.Width(), view.imageWidth, f);
    r.panY = ClampPan(view.panY, r.frame.Height(), view.imageHeight, f);
    return r;
}

} // namespace orvane
