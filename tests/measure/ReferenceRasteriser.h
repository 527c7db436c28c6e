#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "image/PointD.h"

namespace orvane::test {

// The plain way of counting a polygon's pixels: a canvas the size of the
// frame, the polygon filled (even-odd, pixel centres, half-open spans), then
// its outline drawn with the textbook Bresenham loop, then every canvas pixel
// counted. Used to check PolygonPixelCount and as its benchmark baseline.
class ReferenceCanvas {
public:
    ReferenceCanvas(int width, int height)
        : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, 0)
    {
    }

    void Plot(int x, int y)
    {
        if (x >= 0 && x < m_width && y >= 0 && y < m_height) {
            m_pixels[static_cast<std::size_t>(y) * m_width + x] = 1;
        }
    }

    struct IntPoint {
        int x;
        int y;
    };

    void FillPolygon(const std::vector<IntPoint>& vertices)
    {
        std::vector<double> crossings;
        for (int y = 0; y < m_height; ++y) {
            const double centre = y + 0.5;
            crossings.clear();
            for (std::size_t i = 0; i < vertices.size(); ++i) {
                const IntPoint a = vertices[i];
                const IntPoint b = vertices[(i + 1) % vertices.size()];
                if ((a.y < centre) != (b.y < centre)) {
                    crossings.push_back(a.x + (centre - a.y) * (b.x - a.x) / (b.y - a.y));
                }
            }
            std::sort(crossings.begin(), crossings.end());
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                const int first = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5)));
                const int last = std::min(m_width - 1, static_cast<int>(std::ceil(crossings[i + 1] - 0.5)) - 1);
                for (int x = first; x <= last; ++x) {
                    Plot(x, y);
                }
            }
        }
    }

    void Line(IntPoint from, IntPoint to)
    {
        const int dx = std::abs(to.x - from.x);
        const int dy = std::abs(to.y - from.y);
        const int sx = to.x >= from.x ? 1 : -1;
        const int sy = to.y >= from.y ? 1 : -1;
        int x = from.x;
        int y = from.y;
        if (dx >= dy) {
            int error = 2 * dy - dx;
            for (;; x += sx) {
                Plot(x, y);
                if (x == to.x) {
                    break;
                }
                if (error > 0) {
                    y += sy;
                    error -= 2 * dx;
                }
                error += 2 * dy;
            }
        } else {
            int error = 2 * dx - dy;
            for (;; y += sy) {
                Plot(x, y);
                if (y == to.y) {
                    break;
                }
                if (error > 0) {
                    x += sx;
                    error -= 2 * dy;
                }
                error += 2 * dx;
            }
        }
    }

    [[nodiscard]] std::int64_t CountSet() const
    {
        std::int64_t count = 0;
        for (const std::uint8_t pixel : m_pixels) {
            count += pixel;
        }
        return count;
    }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
};

inline std::optional<std::int64_t> ReferencePolygonPixelCount(std::span<const PointD> vertices, int width, int height)
{
    if (vertices.size() < 2) {
        return std::nullopt;
    }
    if (width <= 0 || height <= 0) {
        return 0;
    }
    std::vector<ReferenceCanvas::IntPoint> pixels;
    for (const PointD& vertex : vertices) {
        pixels.push_back({static_cast<int>(vertex.x), static_cast<int>(vertex.y)});
    }
    ReferenceCanvas canvas(width, height);
    canvas.FillPolygon(pixels);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        canvas.Line(pixels[i], pixels[(i + 1) % pixels.size()]);
    }
    return canvas.CountSet();
}

} // namespace orvane::test
