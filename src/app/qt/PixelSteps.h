#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

// The pixels of the aliased primitives the drawing surfaces set one by one
// (one-pixel lines and dots), handed to a callback in picture coordinates.
// The screen's back buffer and the cached measurement layer both draw
// through them, so that they set the same pixels.
namespace orvane {

struct PixelArea {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

namespace pixelsteps {

// One-pixel lines with an end further out than this are first cut to the
// picture (with this margin), so that the stepping stays in 64 bits and
// within the picture's size.
inline constexpr std::int64_t kFarCoordinate = std::int64_t{1} << 24;
inline constexpr double kClipMargin = 16.0;

// n / d rounded half up, d > 0.
[[nodiscard]] inline std::int64_t RoundDiv(std::int64_t n, std::int64_t d)
{
    const std::int64_t twice = 2 * n + d;
    const std::int64_t q = twice / (2 * d);
    return (twice % (2 * d) != 0 && twice < 0) ? q - 1 : q;
}

// Cuts the segment to the box (Liang-Barsky); false when it misses it.
inline bool ClipToBox(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
                      double bottom)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const std::array<std::pair<double, double>, 4> edges{
        {{-dx, x0 - left}, {dx, right - x0}, {-dy, y0 - top}, {dy, bottom - y0}}};
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q / p;
        if (p < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const double ex = x0 + t1 * dx;
    const double ey = y0 + t1 * dy;
    x0 += t0 * dx;
    y0 += t0 * dy;
    x1 = ex;
    y1 = ey;
    return true;
}

} // namespace pixelsteps

// One-pixel line from (x0, y0) to (x1, y1) without the end pixel; only the
// steps whose major coordinate lies on the area are handed on (the callback
// still drops pixels whose minor coordinate falls outside).
template <typename SetPixel>
void ForEachThinLinePixel(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, PixelArea area,
                          SetPixel&& set)
{
    using namespace pixelsteps;
    if (std::max({std::abs(x0), std::abs(y0), std::abs(x1), std::abs(y1)}) > kFarCoordinate) {
        double fx0 = static_cast<double>(x0);
        double fy0 = static_cast<double>(y0);
        double fx1 = static_cast<double>(x1);
        double fy1 = static_cast<double>(y1);
        if (!ClipToBox(fx0, fy0, fx1, fy1, -kClipMargin, -kClipMargin, static_cast<double>(area.width) + kClipMargin,
                       static_cast<double>(area.height) + kClipMargin)) {
            return;
        }
        x0 = std::llround(fx0);
        y0 = std::llround(fy0);
        x1 = std::llround(fx1);
        y1 = std::llround(fy1);
    }
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const std::int64_t steps = alongX ? std::abs(dx) : std::abs(dy);
    if (steps == 0) {
        return; // a zero-length one-pixel line draws nothing
    }
    const std::int64_t major0 = alongX ? x0 : y0;
    const std::int64_t size = alongX ? area.width : area.height;
    const bool forward = (alongX ? dx : dy) > 0;
    std::int64_t first = forward ? -major0 : major0 - (size - 1);
    std::int64_t last = forward ? size - 1 - major0 : major0; // inclusive
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps - 1);
    for (std::int64_t i = first; i <= last; ++i) {
        set(x0 + RoundDiv(i * dx, steps), y0 + RoundDiv(i * dy, steps));
    }
}

// A disk of the pen's width on the pixel grid: centred on the pixel for odd
// widths, on its top-left corner for even ones; only its part on the area.
template <typename SetPixel> void ForEachDotPixel(int x, int y, int penWidth, PixelArea area, SetPixel&& set)
{
    const std::int64_t width = penWidth;
    const double centreShift = width % 2 == 1 ? 0.0 : -0.5;
    const double limit = static_cast<double>(width * width) / 4.0 + 0.25; // radius squared, rounded in
    const std::int64_t reach = width / 2;
    const std::int64_t dyFirst = std::max(-reach, -std::int64_t{y});
    const std::int64_t dyLast = std::min(reach, area.height - 1 - std::int64_t{y});
    const std::int64_t dxFirst = std::max(-reach, -std::int64_t{x});
    const std::int64_t dxLast = std::min(reach, area.width - 1 - std::int64_t{x});
    for (std::int64_t dy = dyFirst; dy <= dyLast; ++dy) {
        for (std::int64_t dx = dxFirst; dx <= dxLast; ++dx) {
            const double ox = static_cast<double>(dx) - centreShift;
            const double oy = static_cast<double>(dy) - centreShift;
            if (ox * ox + oy * oy <= limit) {
                set(std::int64_t{x} + dx, std::int64_t{y} + dy);
            }
        }
    }
}

} // namespace orvane
