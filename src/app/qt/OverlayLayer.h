#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "image/BitmapTypes.h"
#include "image/FrameImage.h"

namespace orvane {

// One pixel of text or of any partly covered shape laid over a pixel d with
// coverage a (0-255): what QPainter's raster engine writes into a 24-bit
// picture for a solid colour c, per channel, (c * a + d * (255 - a)) / 255
// rounded to nearest.
[[nodiscard]] constexpr std::uint8_t BlendChannel(std::uint32_t c, std::uint32_t a, std::uint32_t d)
{
    return static_cast<std::uint8_t>((c * a + d * (255u - a) + 127u) / 255u);
}

// What a sequence of overlay drawing does to each pixel of a picture, kept
// apart from the picture so that it can be laid over every new frame.
//
// Each pixel holds a function of the pixel underneath: untouched, a colour
// (an opaque pen, or a blend over such a colour, which is a colour again), or
// the ordered blends (colour, coverage) that text edges left on it. Laying it
// over a frame applies exactly those steps, so the frame ends as it would
// have had the overlays been drawn into it directly, blending and rounding
// included; an alpha layer composited once would round differently where
// glyph edges overlap.
//
// UI thread only.
class OverlayLayer {
public:
    // All pixels untouched, `width` x `height` (the picture area).
    void Reset(int width, int height);
    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }

    // Drawing from now on changes only the rows marked non-zero (one entry a
    // row); an empty list lifts the limit.
    void LimitToRows(std::vector<std::uint8_t> rows);
    // The marked rows untouched again (a partial drawing anew starts so).
    void ClearRows(const std::vector<std::uint8_t>& rows);
    // Blends kept for pixels with several; rows cleared leave theirs behind.
    [[nodiscard]] std::size_t stepCount() const { return m_steps.size(); }

    // The pen's colour over (x, y); outside the area nothing happens.
    void SetOpaque(std::int64_t x, std::int64_t y, COLORREF colour);
    // Colour over (x, y) with coverage 1-255 (255 is SetOpaque, 0 nothing).
    void Blend(std::int64_t x, std::int64_t y, COLORREF colour, int coverage);

    // Blend for each pixel of a coverage mask (width x height bytes, top row
    // first) with its top-left corner at (left, top); the part off the area
    // is dropped.
    void BlendMask(std::int64_t left, std::int64_t top, int width, int height, const std::uint8_t* coverage,
                   COLORREF colour);

    // Applies every pixel's steps to the 24-bit picture of the same size;
    // false (nothing done) for another size or depth. The first call after a
    // change lays the pixels out for it (Finish).
    bool CompositeOnto(FrameImage& picture);

    // Lays the drawn pixels out for compositing: one colour and one coverage
    // byte per picture byte and step, so that compositing is branch-free
    // steps over whole stretches of rows, one pass per step.
    void Finish();

    // Pixels that are not untouched (tests and the benchmark look at it).
    [[nodiscard]] std::int64_t TouchedPixels() const;
    // Passes over the picture a composite makes (the most blends on a pixel).
    [[nodiscard]] std::size_t passCount() const { return m_passCount; }

private:
    // One blend of a pixel with several, linked to the blend before it.
    struct Step {
        COLORREF colour;
        std::uint8_t coverage;
        std::uint32_t previous; // index + 1 in m_steps; 0 for the first
    };

    [[nodiscard]] std::uint64_t& Cell(std::int64_t x, std::int64_t y);
    // One blend onto a pixel's steps; coverage 1-254, colour within 24 bits.
    void BlendCell(std::uint64_t& cell, COLORREF colour, std::uint32_t coverage);
    void Widen(std::int64_t x, std::int64_t y);
    [[nodiscard]] bool Drawable(std::int64_t y) const;

    int m_width = 0;
    int m_height = 0;
    // Per pixel: 0 untouched; coverage << 24 | colour with coverage 1-255;
    // several blends: index + 1 of the last in m_steps, shifted up 32 bits.
    std::vector<std::uint64_t> m_cells;
    std::vector<Step> m_steps;
    // The touched columns of each row, [left, right); left >= right for none.
    std::vector<int> m_rowLeft;
    std::vector<int> m_rowRight;
    std::vector<std::uint8_t> m_rowLimit;

    // Laid out by Finish: pass k holds the k-th step of every pixel that has
    // one, as stretches of a row (in picture bytes, 3 a pixel, untouched
    // bytes inside with coverage 0) with one colour and one coverage byte per
    // picture byte. Most pixels have one step; text over text adds passes.
    struct Stretch {
        int row = 0;
        int begin = 0; // bytes, [begin, end)
        int end = 0;
        std::size_t offset = 0; // into colour and cover
    };
    struct Pass {
        std::vector<std::uint8_t> colour;
        std::vector<std::uint8_t> cover;
        std::vector<Stretch> stretches;
        void Add(int row, int byte, COLORREF colour, std::uint8_t coverage, int rowBytes);
        // Widens the last stretch to whole 16-byte steps within the row.
        void Close(int rowBytes);
    };
    // Lays out the steps of row y into the passes (more as needed; `used`
    // counts those in use).
    void LayOutRow(int y, std::vector<Pass>& passes, std::size_t& used) const;

    bool m_finished = false;
    // Since the last Finish: every row drawn (after Reset), or these rows
    // (cleared and drawn anew); drawing elsewhere needs a Reset first.
    bool m_allDirty = true;
    std::vector<std::uint8_t> m_dirtyRows;
    std::vector<Pass> m_passes;
    std::size_t m_passCount = 0; // passes in use; the others keep their memory
};

} // namespace orvane
