#include "app/qt/OverlayLayer.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr std::uint32_t kCoverageShift = 24;
constexpr std::uint32_t kColourMask = 0xFFFFFFu;

constexpr std::uint32_t OpaqueCell(COLORREF colour)
{
    return (255u << kCoverageShift) | (colour & kColourMask);
}

// One blend step on a pixel's blue, green and red bytes.
inline void BlendPixel(std::uint8_t* bgr, COLORREF colour, std::uint32_t coverage)
{
    bgr[0] = BlendChannel(GetBValue(colour), coverage, bgr[0]);
    bgr[1] = BlendChannel(GetGValue(colour), coverage, bgr[1]);
    bgr[2] = BlendChannel(GetRValue(colour), coverage, bgr[2]);
}

COLORREF BlendColour(COLORREF colour, std::uint32_t coverage, COLORREF under)
{
    return RGB(BlendChannel(GetRValue(colour), coverage, GetRValue(under)),
               BlendChannel(GetGValue(colour), coverage, GetGValue(under)),
               BlendChannel(GetBValue(colour), coverage, GetBValue(under)));
}

} // namespace

void OverlayLayer::Reset(int width, int height)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_cells.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0u);
    m_chains.clear();
    m_rowLeft.assign(static_cast<std::size_t>(m_height), m_width);
    m_rowRight.assign(static_cast<std::size_t>(m_height), 0);
}

std::uint32_t& OverlayLayer::Cell(std::int64_t x, std::int64_t y)
{
    return m_cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void OverlayLayer::Widen(std::int64_t x, std::int64_t y)
{
    const auto row = static_cast<std::size_t>(y);
    m_rowLeft[row] = std::min(m_rowLeft[row], static_cast<int>(x));
    m_rowRight[row] = std::max(m_rowRight[row], static_cast<int>(x) + 1);
}

void OverlayLayer::SetOpaque(std::int64_t x, std::int64_t y, COLORREF colour)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    Cell(x, y) = OpaqueCell(colour);
    Widen(x, y);
}

void OverlayLayer::Blend(std::int64_t x, std::int64_t y, COLORREF colour, int coverage)
{
    if (coverage <= 0 || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    if (coverage >= 255) {
        SetOpaque(x, y, colour);
        return;
    }
    const auto a = static_cast<std::uint32_t>(coverage);
    colour &= kColourMask;
    std::uint32_t& cell = Cell(x, y);
    const std::uint32_t held = cell >> kCoverageShift;
    if (cell == 0) {
        cell = (a << kCoverageShift) | colour;
    } else if (held == 255) {
        // Over a known colour the result is a known colour.
        cell = OpaqueCell(BlendColour(colour, a, cell & kColourMask));
    } else if (held != 0) {
        m_chains.push_back({Step{cell & kColourMask, static_cast<std::uint8_t>(held)},
                            Step{colour, static_cast<std::uint8_t>(a)}});
        cell = static_cast<std::uint32_t>(m_chains.size());
    } else {
        m_chains[cell - 1].push_back(Step{colour, static_cast<std::uint8_t>(a)});
    }
    Widen(x, y);
}

bool OverlayLayer::CompositeOnto(FrameImage& picture) const
{
    if (picture.width() != m_width || picture.height() != m_height || picture.bitsPerPixel() != 24) {
        return false;
    }
    for (int y = 0; y < m_height; ++y) {
        const auto row = static_cast<std::size_t>(y);
        const int left = m_rowLeft[row];
        const int right = m_rowRight[row];
        if (left >= right) {
            continue;
        }
        const std::uint32_t* cells = m_cells.data() + row * static_cast<std::size_t>(m_width);
        std::uint8_t* bgr = picture.Row(y);
        for (int x = left; x < right; ++x) {
            const std::uint32_t cell = cells[x];
            if (cell == 0) {
                continue;
            }
            std::uint8_t* pixel = bgr + static_cast<std::ptrdiff_t>(x) * 3;
            const std::uint32_t coverage = cell >> kCoverageShift;
            if (coverage == 255) {
                pixel[0] = GetBValue(cell);
                pixel[1] = GetGValue(cell);
                pixel[2] = GetRValue(cell);
            } else if (coverage != 0) {
                BlendPixel(pixel, cell & kColourMask, coverage);
            } else {
                for (const Step& step : m_chains[cell - 1]) {
                    BlendPixel(pixel, step.colour, step.coverage);
                }
            }
        }
    }
    return true;
}

std::int64_t OverlayLayer::TouchedPixels() const
{
    return std::count_if(m_cells.begin(), m_cells.end(), [](std::uint32_t cell) { return cell != 0; });
}

} // namespace orvane
