#include "app/qt/OverlayLayer.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {
namespace {

constexpr std::uint32_t kCoverageShift = 24;
constexpr std::uint32_t kColourMask = 0xFFFFFFu;

constexpr std::uint64_t OpaqueCell(COLORREF colour)
{
    return (255u << kCoverageShift) | (colour & kColourMask);
}

// Untouched gaps shorter than this (bytes) are stepped through rather than
// starting a new stretch; stretches are widened to whole blend steps.
constexpr int kStretchGap = 48;
constexpr int kBlendStep = 16;

// BlendChannel over a run of bytes: one step per byte of `bytes`, with its
// colour and coverage (coverage 0 leaves the byte as it is).
void BlendBytes(std::uint8_t* bytes, const std::uint8_t* colour, const std::uint8_t* cover, int count)
{
    int i = 0;
#if defined(__SSE2__)
    // (c * a + d * (255 - a) + 127) / 255 in 16-bit lanes; x / 255 is
    // (x * 0x8081) >> 23 for every 16-bit x.
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(127);
    const __m128i divide = _mm_set1_epi16(static_cast<short>(0x8081));
    const auto blend8 = [&](__m128i d, __m128i c, __m128i a) {
        const __m128i sum =
            _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(c, a), _mm_mullo_epi16(d, _mm_sub_epi16(full, a))), half);
        return _mm_srli_epi16(_mm_mulhi_epu16(sum, divide), 7);
    };
    for (; i + 16 <= count; i += 16) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour + i));
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cover + i));
        const __m128i low = blend8(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(a, zero));
        const __m128i high =
            blend8(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(a, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + i), _mm_packus_epi16(low, high));
    }
#endif
    for (; i < count; ++i) {
        bytes[i] = BlendChannel(colour[i], cover[i], bytes[i]);
    }
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
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height) {
        // Only what was drawn needs clearing.
        for (int y = 0; y < m_height; ++y) {
            const auto row = static_cast<std::size_t>(y);
            if (m_rowLeft[row] < m_rowRight[row]) {
                const auto start = m_cells.begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(m_width));
                std::fill(start + m_rowLeft[row], start + m_rowRight[row], 0u);
            }
        }
    } else {
        m_width = width;
        m_height = height;
        m_cells.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0u);
    }
    m_steps.clear();
    m_rowLimit.clear();
    m_allDirty = true;
    m_rowLeft.assign(static_cast<std::size_t>(m_height), m_width);
    m_rowRight.assign(static_cast<std::size_t>(m_height), 0);
    m_finished = false;
}

std::uint64_t& OverlayLayer::Cell(std::int64_t x, std::int64_t y)
{
    return m_cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void OverlayLayer::Widen(std::int64_t x, std::int64_t y)
{
    m_finished = false;
    const auto row = static_cast<std::size_t>(y);
    m_rowLeft[row] = std::min(m_rowLeft[row], static_cast<int>(x));
    m_rowRight[row] = std::max(m_rowRight[row], static_cast<int>(x) + 1);
}

void OverlayLayer::LimitToRows(std::vector<std::uint8_t> rows)
{
    m_rowLimit = std::move(rows);
}

void OverlayLayer::ClearRows(const std::vector<std::uint8_t>& rows)
{
    for (int y = 0; y < m_height && static_cast<std::size_t>(y) < rows.size(); ++y) {
        const auto row = static_cast<std::size_t>(y);
        if (rows[row] == 0) {
            continue;
        }
        if (m_rowLeft[row] < m_rowRight[row]) {
            const auto start = m_cells.begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(m_width));
            std::fill(start + m_rowLeft[row], start + m_rowRight[row], 0u);
        }
        m_rowLeft[row] = m_width;
        m_rowRight[row] = 0;
        if (row < m_dirtyRows.size()) {
            m_dirtyRows[row] = 1;
        }
    }
    m_finished = false;
}

bool OverlayLayer::Drawable(std::int64_t y) const
{
    return m_rowLimit.empty() || (static_cast<std::size_t>(y) < m_rowLimit.size() && m_rowLimit[static_cast<std::size_t>(y)] != 0);
}

void OverlayLayer::SetOpaque(std::int64_t x, std::int64_t y, COLORREF colour)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || !Drawable(y)) {
        return;
    }
    Cell(x, y) = OpaqueCell(colour);
    Widen(x, y);
}

void OverlayLayer::Blend(std::int64_t x, std::int64_t y, COLORREF colour, int coverage)
{
    if (coverage <= 0 || x < 0 || y < 0 || x >= m_width || y >= m_height || !Drawable(y)) {
        return;
    }
    if (coverage >= 255) {
        SetOpaque(x, y, colour);
        return;
    }
    BlendCell(Cell(x, y), colour & kColourMask, static_cast<std::uint32_t>(coverage));
    Widen(x, y);
}

void OverlayLayer::BlendCell(std::uint64_t& cell, COLORREF colour, std::uint32_t a)
{
    const auto single = static_cast<std::uint32_t>(cell);
    const std::uint32_t held = single >> kCoverageShift;
    if (cell == 0) {
        cell = (a << kCoverageShift) | colour;
    } else if (held == 255) {
        // Over a known colour the result is a known colour.
        cell = OpaqueCell(BlendColour(colour, a, single & kColourMask));
    } else {
        std::uint32_t previous = static_cast<std::uint32_t>(cell >> 32);
        if (held != 0) {
            m_steps.push_back({single & kColourMask, static_cast<std::uint8_t>(held), 0});
            previous = static_cast<std::uint32_t>(m_steps.size());
        }
        m_steps.push_back({colour, static_cast<std::uint8_t>(a), previous});
        cell = static_cast<std::uint64_t>(m_steps.size()) << 32;
    }
}

void OverlayLayer::BlendMask(std::int64_t left, std::int64_t top, int width, int height,
                             const std::uint8_t* coverage, COLORREF colour)
{
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t x1 = std::min<std::int64_t>(left + width, m_width);
    const std::int64_t y1 = std::min<std::int64_t>(top + height, m_height);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    colour &= kColourMask;
    const std::uint64_t opaque = OpaqueCell(colour);
    for (std::int64_t y = y0; y < y1; ++y) {
        if (!Drawable(y)) {
            continue;
        }
        const std::uint8_t* mask = coverage + (y - top) * width;
        std::uint64_t* cells = &Cell(0, y);
        std::int64_t first = x1;
        std::int64_t last = x0;
        for (std::int64_t x = x0; x < x1; ++x) {
            const std::uint32_t a = mask[x - left];
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                cells[x] = opaque;
            } else {
                BlendCell(cells[x], colour, a);
            }
            first = std::min(first, x);
            last = x;
        }
        if (first <= last) {
            Widen(first, y);
            Widen(last, y);
        }
    }
}

void OverlayLayer::Pass::Close(int rowBytes)
{
    if (stretches.empty()) {
        return;
    }
    Stretch& last = stretches.back();
    const int whole = last.begin + (last.end - last.begin + kBlendStep - 1) / kBlendStep * kBlendStep;
    const int end = std::min(whole, rowBytes);
    if (end > last.end) {
        colour.resize(colour.size() + static_cast<std::size_t>(end - last.end), 0);
        cover.resize(cover.size() + static_cast<std::size_t>(end - last.end), 0);
        last.end = end;
    }
}

void OverlayLayer::Pass::Add(int row, int byte, COLORREF stepColour, std::uint8_t coverage, int rowBytes)
{
    if (stretches.empty() || stretches.back().row != row || byte - stretches.back().end > kStretchGap) {
        Close(rowBytes);
        stretches.push_back({row, byte, byte, colour.size()});
    }
    Stretch& open = stretches.back();
    // The untouched bytes of a short gap are stepped through unchanged.
    const auto grow = static_cast<std::size_t>(byte + 3 - open.end);
    colour.resize(colour.size() + grow, 0);
    cover.resize(cover.size() + grow, 0);
    std::uint8_t* c = colour.data() + colour.size() - 3;
    std::uint8_t* a = cover.data() + cover.size() - 3;
    c[0] = GetBValue(stepColour);
    c[1] = GetGValue(stepColour);
    c[2] = GetRValue(stepColour);
    a[0] = a[1] = a[2] = coverage;
    open.end = byte + 3;
}

void OverlayLayer::LayOutRow(int y, std::vector<Pass>& passes, std::size_t& used) const
{
    const auto row = static_cast<std::size_t>(y);
    const std::uint64_t* cells = m_cells.data() + row * static_cast<std::size_t>(m_width);
    const auto use = [&passes, &used](std::size_t count) {
        if (passes.size() < count) {
            passes.resize(count);
        }
        used = std::max(used, count);
    };
    const int rowBytes = 3 * m_width;
    std::vector<const Step*> chain;
    for (int x = m_rowLeft[row]; x < m_rowRight[row]; ++x) {
        const std::uint64_t cell = cells[x];
        if (cell == 0) {
            continue;
        }
        const auto single = static_cast<std::uint32_t>(cell);
        if (single != 0) {
            use(1);
            passes[0].Add(y, 3 * x, single & kColourMask, static_cast<std::uint8_t>(single >> kCoverageShift), rowBytes);
            continue;
        }
        chain.clear();
        for (auto index = static_cast<std::uint32_t>(cell >> 32); index != 0; index = m_steps[index - 1].previous) {
            chain.push_back(&m_steps[index - 1]);
        }
        use(chain.size());
        // Linked from the last: the first blend is at the back.
        for (std::size_t k = 0; k < chain.size(); ++k) {
            const Step& step = *chain[chain.size() - 1 - k];
            passes[k].Add(y, 3 * x, step.colour, step.coverage, rowBytes);
        }
    }
    for (std::size_t k = 0; k < used; ++k) {
        passes[k].Close(rowBytes);
    }
}

void OverlayLayer::Finish()
{
    if (m_finished) {
        return;
    }
    if (m_allDirty) {
        // The passes keep their memory from one drawing to the next.
        for (Pass& pass : m_passes) {
            pass.colour.clear();
            pass.cover.clear();
            pass.stretches.clear();
        }
        m_passCount = 0;
        for (int y = 0; y < m_height; ++y) {
            LayOutRow(y, m_passes, m_passCount);
        }
    } else {
        // Rows drawn anew are laid out again; the others are copied over.
        std::vector<Pass> passes(m_passCount);
        std::size_t used = m_passCount;
        std::vector<std::size_t> next(m_passCount, 0);
        for (int y = 0; y < m_height; ++y) {
            const bool dirty = m_dirtyRows[static_cast<std::size_t>(y)] != 0;
            if (dirty) {
                LayOutRow(y, passes, used);
            }
            for (std::size_t k = 0; k < m_passCount; ++k) {
                const Pass& old = m_passes[k];
                for (; next[k] < old.stretches.size() && old.stretches[next[k]].row == y; ++next[k]) {
                    if (dirty) {
                        continue; // laid out anew above
                    }
                    const Stretch& stretch = old.stretches[next[k]];
                    const auto length = static_cast<std::size_t>(stretch.end - stretch.begin);
                    Pass& into = passes[k];
                    into.stretches.push_back({y, stretch.begin, stretch.end, into.colour.size()});
                    into.colour.insert(into.colour.end(), old.colour.begin() + static_cast<std::ptrdiff_t>(stretch.offset),
                                       old.colour.begin() + static_cast<std::ptrdiff_t>(stretch.offset + length));
                    into.cover.insert(into.cover.end(), old.cover.begin() + static_cast<std::ptrdiff_t>(stretch.offset),
                                      old.cover.begin() + static_cast<std::ptrdiff_t>(stretch.offset + length));
                }
            }
        }
        m_passes = std::move(passes);
        m_passCount = used;
    }
    m_dirtyRows.assign(static_cast<std::size_t>(m_height), 0);
    m_allDirty = false;
    m_finished = true;
}

bool OverlayLayer::CompositeOnto(FrameImage& picture)
{
    if (picture.width() != m_width || picture.height() != m_height || picture.bitsPerPixel() != 24) {
        return false;
    }
    if (!m_finished) {
        Finish();
    }
    for (std::size_t k = 0; k < m_passCount; ++k) {
        const Pass& pass = m_passes[k];
        for (const Stretch& stretch : pass.stretches) {
            BlendBytes(picture.Row(stretch.row) + stretch.begin, pass.colour.data() + stretch.offset,
                       pass.cover.data() + stretch.offset, stretch.end - stretch.begin);
        }
    }
    return true;
}

std::int64_t OverlayLayer::TouchedPixels() const
{
    return std::count_if(m_cells.begin(), m_cells.end(), [](std::uint64_t cell) { return cell != 0; });
}

} // namespace orvane
