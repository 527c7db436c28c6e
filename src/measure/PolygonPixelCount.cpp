#include "measure/PolygonPixelCount.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace orvane {
namespace {

// Vertices are kept within +-2^26 pixels so that the exact integer crossing
// arithmetic below stays inside 64 bits; no picture comes near it.
constexpr double kCoordinateLimit = 67108864.0;

std::int64_t ToPixel(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<std::int64_t>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

// Floor and ceiling of a / b for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t quotient = a / b;
    return (a % b != 0 && a < 0) ? quotient - 1 : quotient;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    return -FloorDiv(-a, b);
}

// One side of the polygon as drawn, from (x0, y0) to (x1, y1).
struct Edge {
    std::int64_t x0 = 0;
    std::int64_t y0 = 0;
    std::int64_t x1 = 0;
    std::int64_t y1 = 0;
    std::int64_t dx = 0; // |x1 - x0|
    std::int64_t dy = 0; // |y1 - y0|
    std::int64_t sx = 1; // direction of travel on each axis
    std::int64_t sy = 1;
    std::int64_t top = 0; // first and last row touched
    std::int64_t bottom = 0;
};

Edge MakeEdge(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
{
    Edge edge{x0, y0, x1, y1};
    edge.dx = x1 >= x0 ? x1 - x0 : x0 - x1;
    edge.dy = y1 >= y0 ? y1 - y0 : y0 - y1;
    edge.sx = x1 >= x0 ? 1 : -1;
    edge.sy = y1 >= y0 ? 1 : -1;
    edge.top = std::min(y0, y1);
    edge.bottom = std::max(y0, y1);
    return edge;
}

// Outline pixels of the edge on row y (top <= y <= bottom), as an inclusive
// x range. The Bresenham line puts step k of its major axis at minor offset
// ceil((2k * dMinor - dMajor) / (2 dMajor)), which is inverted here for the
// run of an x-major line on one row.
std::pair<std::int64_t, std::int64_t> OutlineRun(const Edge& edge, std::int64_t y)
{
    const std::int64_t j = (y - edge.y0) * edge.sy;
    if (edge.dx >= edge.dy) {
        std::int64_t kFirst = 0;
        std::int64_t kLast = edge.dx;
        if (edge.dy != 0) {
            kFirst = std::max<std::int64_t>(0, FloorDiv(2 * edge.dx * j - edge.dx, 2 * edge.dy) + 1);
            kLast = std::min(edge.dx, FloorDiv(2 * edge.dx * j + edge.dx, 2 * edge.dy));
        }
        const std::int64_t xa = edge.x0 + edge.sx * kFirst;
        const std::int64_t xb = edge.x0 + edge.sx * kLast;
        return {std::min(xa, xb), std::max(xa, xb)};
    }
    const std::int64_t x = edge.x0 + edge.sx * CeilDiv(2 * j * edge.dx - edge.dy, 2 * edge.dy);
    return {x, x};
}

// First pixel whose centre lies at or right of the edge's crossing with the
// centre line of row y (top <= y < bottom): ceil(X - 0.5), exactly.
std::int64_t CrossingPixel(const Edge& edge, std::int64_t y)
{
    const bool downward = edge.y1 > edge.y0;
    const std::int64_t xa = downward ? edge.x0 : edge.x1;
    const std::int64_t ya = downward ? edge.y0 : edge.y1;
    const std::int64_t xb = downward ? edge.x1 : edge.x0;
    const std::int64_t yb = downward ? edge.y1 : edge.y0;
    const std::int64_t numerator = (2 * xa - 1) * (yb - ya) + (2 * y + 1 - 2 * ya) * (xb - xa);
    return CeilDiv(numerator, 2 * (yb - ya));
}

} // namespace

std::optional<std::int64_t> PolygonPixelCount(std::span<const PointD> vertices, std::int32_t frameWidth,
                                              std::int32_t frameHeight)
{
    if (vertices.size() < 2) {
        return std::nullopt;
    }
    if (frameWidth <= 0 || frameHeight <= 0) {
        return 0;
    }

    std::vector<Edge> edges;
    edges.reserve(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const PointD& from = vertices[i];
        const PointD& to = vertices[(i + 1) % vertices.size()];
        edges.push_back(MakeEdge(ToPixel(from.x), ToPixel(from.y), ToPixel(to.x), ToPixel(to.y)));
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });

    std::int64_t lowest = edges.front().bottom;
    for (const Edge& edge : edges) {
        lowest = std::max(lowest, edge.bottom);
    }
    const std::int64_t firstRow = std::max<std::int64_t>(0, edges.front().top);
    const std::int64_t lastRow = std::min<std::int64_t>(frameHeight - 1, lowest);
    const std::int64_t lastColumn = frameWidth - 1;

    std::vector<const Edge*> active;
    std::vector<std::int64_t> crossings;
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    const auto addRun = [&runs, lastColumn](std::int64_t first, std::int64_t last) {
        first = std::max<std::int64_t>(first, 0);
        last = std::min(last, lastColumn);
        if (first <= last) {
            runs.emplace_back(first, last);
        }
    };

    std::int64_t total = 0;
    std::size_t nextEdge = 0;
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
        for (; nextEdge < edges.size() && edges[nextEdge].top <= y; ++nextEdge) {
            active.push_back(&edges[nextEdge]);
        }
        std::erase_if(active, [y](const Edge* edge) { return edge->bottom < y; });

        crossings.clear();
        runs.clear();
        for (const Edge* edge : active) {
            if (y < edge->bottom && edge->top <= y) {
                crossings.push_back(CrossingPixel(*edge, y));
            }
            const auto [first, last] = OutlineRun(*edge, y);
            addRun(first, last);
        }
        // Even-odd: a pixel is filled when an odd number of crossings lie at
        // or left of its centre, i.e. between crossing pixels 2i and 2i+1.
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            addRun(crossings[i], crossings[i + 1] - 1);
        }

        std::sort(runs.begin(), runs.end());
        std::int64_t coveredTo = -1; // last column counted on this row
        for (const auto& [first, last] : runs) {
            const std::int64_t start = std::max(first, coveredTo + 1);
            if (last >= start) {
                total += last - start + 1;
                coveredTo = last;
            }
        }
    }
    return total;
}

} // namespace orvane
