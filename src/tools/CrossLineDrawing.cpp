#include "tools/CrossLineDrawing.h"

#include <algorithm>
#include <cstdint>

namespace orvane {
namespace {

IntPoint ToBackBuffer(const ViewTransform& transform, IntPoint image)
{
    const PointD p = transform.ToBackBuffer({double(image.x), double(image.y)});
    return {TruncateToInt(p.x), TruncateToInt(p.y)};
}

// The channel bytes of a colour in pixel order (blue, green, red) and the
// blended value of every possible old byte, so a band costs one lookup per byte.
struct BlendTable {
    std::uint8_t value[3][256];

    BlendTable(COLORREF colour, int draw)
    {
        const int channel[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
        for (int c = 0; c < 3; ++c) {
            for (int old = 0; old < 256; ++old) {
                value[c][old] = static_cast<std::uint8_t>(BlendChannel(old, channel[c], draw));
            }
        }
    }

    void Apply(std::uint8_t* pixel) const
    {
        pixel[0] = value[0][pixel[0]];
        pixel[1] = value[1][pixel[1]];
        pixel[2] = value[2][pixel[2]];
    }
};

bool Visible(std::span<const CrossLine> list, std::size_t index)
{
    return !list.empty() && list.front().Show != 0 && list[index].Show != 0;
}

} // namespace

IntPoint CrossLinePosition(std::span<const CrossLine> list, std::size_t index)
{
    if (index >= list.size()) {
        return {};
    }
    const CrossLine& entry = list[index];
    if (index == 0) {
        return {entry.Pos_x, entry.Pos_y};
    }
    // Offsets and positions come from the settings file: add without wrapping.
    const auto add = [](std::int32_t a, std::int32_t b) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b, INT32_MIN, INT32_MAX));
    };
    return {add(list.front().Pos_x, entry.Pos_x), add(list.front().Pos_y, entry.Pos_y)};
}

void BlendCrossBands(FrameImage& image, IntPoint crossing, const CrossLine& line)
{
    const int bytes = image.bytesPerPixel();
    if (image.isEmpty() || (bytes != 3 && bytes != 4) || line.Size < 1) {
        return;
    }
    const BlendTable table(line.Color, std::clamp(line.Draw, 0, 100));
    const bool dashed = line.Type == 1;
    const int width = image.width();
    const int height = image.height();
    const std::int64_t first = std::int64_t{crossing.y} - line.Size / 2;
    const std::int64_t firstColumn = std::int64_t{crossing.x} - line.Size / 2;

    // Horizontal band: whole rows.
    const int rowBegin = static_cast<int>(std::clamp<std::int64_t>(first, 0, height));
    const int rowEnd = static_cast<int>(std::clamp<std::int64_t>(first + line.Size, 0, height));
    for (int r = rowBegin; r < rowEnd; ++r) {
        std::uint8_t* pixel = image.Row(r);
        for (int x = 0; x < width; ++x, pixel += bytes) {
            if (!dashed || x % kDashPeriod < kDashOn) {
                table.Apply(pixel);
            }
        }
    }

    // Vertical band: a few columns of every row.
    const int columnBegin = static_cast<int>(std::clamp<std::int64_t>(firstColumn, 0, width));
    const int columnEnd = static_cast<int>(std::clamp<std::int64_t>(firstColumn + line.Size, 0, width));
    if (columnBegin >= columnEnd) {
        return;
    }
    for (int y = 0; y < height; ++y) {
        if (dashed && y % kDashPeriod >= kDashOn) {
            continue;
        }
        std::uint8_t* pixel = image.Row(y) + static_cast<std::ptrdiff_t>(columnBegin) * bytes;
        for (int x = columnBegin; x < columnEnd; ++x, pixel += bytes) {
            table.Apply(pixel);
        }
    }
}

void BlendCrossLines(FrameImage& image, const ViewTransform& transform, std::span<const CrossLine> lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Visible(lines, i)) {
            BlendCrossBands(image, ToBackBuffer(transform, CrossLinePosition(lines, i)), lines[i]);
        }
    }
}

void BlendCrossCircleCentres(FrameImage& image, const ViewTransform& transform, std::span<const CrossLine> circles)
{
    for (std::size_t i = 0; i < circles.size(); ++i) {
        if (Visible(circles, i) && circles[i].Mode >= 3) {
            BlendCrossBands(image, ToBackBuffer(transform, CrossLinePosition(circles, i)), circles[i]);
        }
    }
}

void DrawCrossCircleOutlines(DrawingSurface& surface, const ViewTransform& transform,
                             std::span<const CrossLine> circles)
{
    for (std::size_t i = 0; i < circles.size(); ++i) {
        const CrossLine& circle = circles[i];
        if (!Visible(circles, i) || circle.Mode < 3 || !(circle.Radius > 0.0F)) {
            continue;
        }
        const IntPoint centre = CrossLinePosition(circles, i);
        const double r = circle.Radius;
        const PointD topLeft = transform.ToBackBuffer({centre.x - r, centre.y - r});
        const PointD bottomRight = transform.ToBackBuffer({centre.x + r, centre.y + r});
        surface.SetPen(circle.Color, circle.Size);
        surface.Ellipse(RECT{TruncateToInt(topLeft.x), TruncateToInt(topLeft.y), TruncateToInt(bottomRight.x),
                             TruncateToInt(bottomRight.y)});
    }
}

} // namespace orvane
