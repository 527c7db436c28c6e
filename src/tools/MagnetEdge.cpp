#include "tools/MagnetEdge.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "image/ViewMath.h"
#include "tools/MagnetSobel.h"

namespace orvane {

namespace {

// Images of the frame's size and 8 bits, made when they are not.
bool MatchEightBit(const FrameImage& like, FrameImage& image)
{
    if (image.width() == like.width() && image.height() == like.height() && image.bitsPerPixel() == 8) {
        return true;
    }
    return image.Create(like.width(), like.height(), 8);
}

std::uint8_t* MemoryRow(FrameImage& image, int row)
{
    return image.bits() + static_cast<std::ptrdiff_t>(row) * image.stride();
}

const std::uint8_t* MemoryRow(const FrameImage& image, int row)
{
    return image.bits() + static_cast<std::ptrdiff_t>(row) * image.stride();
}

} // namespace

bool UpdateEdgeImage(const FrameImage& frame, int vector, FrameImage& edge)
{
    const int bytesPerPixel = frame.bytesPerPixel();
    if (frame.isEmpty() || (bytesPerPixel != 3 && bytesPerPixel != 4) || !MatchEightBit(frame, edge)) {
        return false;
    }
    const int width = frame.width();
    const int height = frame.height();
    std::memset(MemoryRow(edge, 0), 0, static_cast<std::size_t>(width));
    std::memset(MemoryRow(edge, height - 1), 0, static_cast<std::size_t>(width));
    if (width < 3 || height < 3) {
        std::memset(edge.bits(), 0, edge.byteCount());
        return true;
    }
    int keepLow = 0;
    int keepHigh = 255;
    if (vector == kMagnetEdgeWhite) {
        keepLow = 128;
    } else if (vector == kMagnetEdgeBlack) {
        keepHigh = 128;
    }

    // Three grey rows in turn: each frame row is converted once.
    std::vector<std::uint16_t> rows(static_cast<std::size_t>(width) * 3);
    const auto ring = [&rows, width](int row) { return rows.data() + static_cast<std::ptrdiff_t>(row % 3) * width; };
    sobel::GreyRow(MemoryRow(frame, 0), bytesPerPixel, width, ring(0));
    sobel::GreyRow(MemoryRow(frame, 1), bytesPerPixel, width, ring(1));
    for (int row = 1; row < height - 1; ++row) {
        sobel::GreyRow(MemoryRow(frame, row + 1), bytesPerPixel, width, ring(row + 1));
        sobel::EdgeRow(ring(row - 1), ring(row), ring(row + 1), width, keepLow, keepHigh, MemoryRow(edge, row));
    }
    return true;
}

bool SnapPoint(const FrameImage& edge, const MagnetOptions& options, PointD& point)
{
    if (edge.isEmpty() || edge.bitsPerPixel() != 8 || !std::isfinite(point.x) || !std::isfinite(point.y)) {
        return false;
    }
    const int size = std::clamp(options.halfSize, 1, 10);
    const int left = std::max(TruncateToInt(point.x - size), 0);
    const int right = std::min(TruncateToInt(point.x + size), edge.width());
    const int top = std::max(TruncateToInt(point.y - size), 0);
    const int bottom = std::min(TruncateToInt(point.y + size), edge.height());
    if (right <= left || bottom <= top) {
        return false;
    }
    const int w = right - left;
    const int h = bottom - top;
    int bestColumn = w / 2;
    int bestRow = h / 2;
    constexpr float kNoDistance = 100000.0f;
    float bestDistance = kNoDistance;
    // Memory order: the window's bottom row first, so that of two pixels at
    // the same distance the lower one stays.
    for (int row = h - 1; row >= 0; --row) {
        const std::uint8_t* values = edge.Row(top + row) + left;
        const int dy = h / 2 - row;
        for (int column = 0; column < w; ++column) {
            if (values[column] <= options.threshold) {
                continue;
            }
            const int dx = w / 2 - column;
            const float distance = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            if (distance < bestDistance) {
                bestDistance = distance;
                bestColumn = column;
                bestRow = row;
            }
        }
    }
    // Nothing to snap to: the point stays where it was put, also where the
    // window is clipped at the picture's border and its centre lies elsewhere.
    if (bestDistance == kNoDistance) {
        return false;
    }
    const int x = left + bestColumn;
    const int y = top + bestRow;
    if (x == TruncateToInt(point.x) && y == TruncateToInt(point.y)) {
        return false;
    }
    point = {static_cast<double>(x), static_cast<double>(y)};
    return true;
}

bool ThresholdForDisplay(const FrameImage& frame, const FrameImage& edge, const MagnetOptions& options,
                         FrameImage& display)
{
    const bool binary = options.vector == kMagnetBinary;
    const FrameImage& source = binary ? frame : edge;
    const int bytesPerPixel = source.bytesPerPixel();
    if (source.isEmpty() || frame.isEmpty() || source.width() != frame.width() || source.height() != frame.height() ||
        (bytesPerPixel != 1 && bytesPerPixel != 3 && bytesPerPixel != 4) || !MatchEightBit(frame, display)) {
        return false;
    }
    const int width = source.width();
    const int threshold = options.threshold;
    for (int row = 0; row < source.height(); ++row) {
        const std::uint8_t* in = MemoryRow(source, row);
        std::uint8_t* out = MemoryRow(display, row);
        if (bytesPerPixel == 1) {
            if (threshold < 0) {
                std::memset(out, 255, static_cast<std::size_t>(width));
            } else {
                sobel::ThresholdRow(in, width, static_cast<std::uint8_t>(std::min(threshold, 255)), out);
            }
            continue;
        }
        const long long scaled = 100LL * threshold;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = in + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
            const int weighted = 11 * pixel[2] + 30 * pixel[1] + 59 * pixel[0];
            out[x] = weighted > scaled ? 255 : 0;
        }
    }
    return true;
}

void MagnetAid::SetOn(bool on)
{
    if (on && !m_on) {
        m_rebuildRequested = true;
    }
    m_on = on;
}

void MagnetAid::Rebuild(const FrameImage& frame, int vector)
{
    UpdateEdgeImage(frame, vector, m_edge);
}

bool MagnetAid::OnFrame(const FrameImage& frame, const MagnetOptions& options, bool show, std::uint32_t now)
{
    if (show || m_rebuildRequested) {
        m_rebuildRequested = false;
        m_clockStarted = true;
        m_lastRebuild = now;
        return UpdateEdgeImage(frame, options.vector, m_edge);
    }
    if (!m_on) {
        m_clockStarted = false;
        return false;
    }
    if (!m_clockStarted) {
        m_clockStarted = true;
        m_lastRebuild = now;
        return false;
    }
    if (static_cast<std::uint32_t>(now - m_lastRebuild) <= kRebuildMilliseconds) {
        return false;
    }
    m_lastRebuild = now;
    return UpdateEdgeImage(frame, options.vector, m_edge);
}

bool MagnetAid::Snap(const MagnetOptions& options, PointD& point) const
{
    return m_on && SnapPoint(m_edge, options, point);
}

const FrameImage* MagnetAid::ShownPicture(const FrameImage& frame, const MagnetOptions& options)
{
    return ThresholdForDisplay(frame, m_edge, options, m_shown) ? &m_shown : nullptr;
}

} // namespace orvane
