#include "image/PixelOps.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace orvane {
namespace {

// ---- Resampling ----------------------------------------------------------

enum class Sample { Bgr, FirstByte, GreyToBgr };

struct ScaledArgs {
    std::uint8_t* dstBits;
    const std::uint8_t* srcBits;
    RECT dstRect;
    RECT srcRect;
    int dstWidth;
    int dstHeight;
    int srcWidth;
    int srcHeight;
    int dstBytes;
    int srcBytes;
    int dstStride;
    int srcStride;
};

// Source index of destination index i: offset + trunc(ratio * i) in single
// precision, clamped to [0, limit - 1].
std::int64_t SourceIndex(float ratio, std::int64_t i, std::int64_t offset, std::int64_t limit)
{
    const auto scaled = static_cast<std::int64_t>(ratio * static_cast<float>(i));
    return std::clamp<std::int64_t>(offset + scaled, 0, limit - 1);
}

// Copies one destination row segment of `count` pixels from `src` (a source
// row) through the column byte offsets.
template <Sample kind>
void SampleRow(std::uint8_t* d, const std::uint8_t* src, const std::int32_t* offsets, int count, int fastCount,
               int dstBytes)
{
    if constexpr (kind == Sample::FirstByte) {
        for (int k = 0; k < count; ++k) {
            d[static_cast<std::ptrdiff_t>(k) * dstBytes] = src[offsets[k]];
        }
    } else if (dstBytes == 3) {
        // Four-byte moves where the fourth byte is still inside the source row and
        // is overwritten by the next destination pixel; the last pixel moves three.
        int k = 0;
        for (; k < fastCount; ++k, d += 3) {
            std::uint32_t v;
            if constexpr (kind == Sample::Bgr) {
                std::memcpy(&v, src + offsets[k], 4);
            } else {
                v = src[offsets[k]] * 0x01010101u;
            }
            std::memcpy(d, &v, 4);
        }
        for (; k < count; ++k, d += 3) {
            if constexpr (kind == Sample::Bgr) {
                std::memcpy(d, src + offsets[k], 3);
            } else {
                std::memset(d, src[offsets[k]], 3);
            }
        }
    } else {
        for (int k = 0; k < count; ++k, d += dstBytes) {
            if constexpr (kind == Sample::Bgr) {
                std::memcpy(d, src + offsets[k], 3);
            } else {
                std::memset(d, src[offsets[k]], 3);
            }
        }
    }
}

template <Sample kind> int Resample(ScaledArgs a)
{
    const int srcNeeds = kind == Sample::Bgr ? 3 : 1;
    const int dstNeeds = kind == Sample::FirstByte ? 1 : 3;
    if (a.dstBits == nullptr || a.srcBits == nullptr || a.dstBytes < dstNeeds || a.srcBytes < srcNeeds ||
        a.dstWidth <= 0 || a.dstHeight <= 0 || a.srcWidth <= 0 || a.srcHeight <= 0 ||
        static_cast<std::int64_t>(a.dstWidth) * a.dstBytes > a.dstStride ||
        static_cast<std::int64_t>(a.srcWidth) * a.srcBytes > a.srcStride || a.dstRect.IsEmpty() ||
        a.srcRect.IsEmpty()) {
        return 0;
    }
    const std::int64_t dw = static_cast<std::int64_t>(a.dstRect.right) - a.dstRect.left;
    const std::int64_t dh = static_cast<std::int64_t>(a.dstRect.bottom) - a.dstRect.top;
    const std::int64_t sw = static_cast<std::int64_t>(a.srcRect.right) - a.srcRect.left;
    const std::int64_t sh = static_cast<std::int64_t>(a.srcRect.bottom) - a.srcRect.top;
    const float ratioX = static_cast<float>(sw) / static_cast<float>(dw);
    const float ratioY = static_cast<float>(sh) / static_cast<float>(dh);

    // The part of the destination rectangle inside the destination image.
    const std::int64_t j0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(a.dstRect.left));
    const std::int64_t j1 = std::min<std::int64_t>(dw, a.dstWidth - static_cast<std::int64_t>(a.dstRect.left));
    const std::int64_t i0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(a.dstRect.top));
    const std::int64_t i1 = std::min<std::int64_t>(dh, a.dstHeight - static_cast<std::int64_t>(a.dstRect.top));
    if (j0 >= j1 || i0 >= i1) {
        return 0;
    }
    const auto count = static_cast<int>(j1 - j0);

    // Writing into the pixels being read: sample from a copy.
    std::unique_ptr<std::uint8_t[]> sourceCopy;
    if (a.dstBits == a.srcBits) {
        const std::size_t bytes = static_cast<std::size_t>(a.srcStride) * static_cast<std::size_t>(a.srcHeight);
        sourceCopy.reset(new (std::nothrow) std::uint8_t[bytes]);
        if (!sourceCopy) {
            return 0;
        }
        std::memcpy(sourceCopy.get(), a.srcBits, bytes);
        a.srcBits = sourceCopy.get();
    }

    const std::unique_ptr<std::int32_t[]> offsets(new (std::nothrow) std::int32_t[static_cast<std::size_t>(count)]);
    if (!offsets) {
        return 0;
    }
    for (int k = 0; k < count; ++k) {
        offsets[k] = static_cast<std::int32_t>(SourceIndex(ratioX, j0 + k, a.srcRect.left, a.srcWidth) * a.srcBytes);
    }
    // Columns never decrease, so the pixels whose four-byte read stays in the
    // source row come first.
    int fastCount = 0;
    while (fastCount < count - 1 && offsets[fastCount] + 4 <= a.srcStride) {
        ++fastCount;
    }

    // Rows that repeat the previous source row repeat the previous destination
    // row, unless the operation leaves bytes of the destination pixel alone.
    const bool wholePixel = a.dstBytes == dstNeeds;
    const auto rowBytes = static_cast<std::size_t>(count) * static_cast<std::size_t>(a.dstBytes);
    std::int64_t previousRow = -1;
    const std::uint8_t* previous = nullptr;
    for (std::int64_t i = i0; i < i1; ++i) {
        const std::int64_t sourceRow = SourceIndex(ratioY, i, a.srcRect.top, a.srcHeight);
        std::uint8_t* d = a.dstBits + (a.dstRect.top + i) * a.dstStride + (a.dstRect.left + j0) * a.dstBytes;
        if (wholePixel && sourceRow == previousRow) {
            std::memcpy(d, previous, rowBytes);
        } else {
            SampleRow<kind>(d, a.srcBits + sourceRow * a.srcStride, offsets.get(), count, fastCount, a.dstBytes);
        }
        previousRow = sourceRow;
        previous = d;
    }
    return 1;
}

// ---- Row conversions -----------------------------------------------------

struct RowArgs {
    std::uint8_t* dstBits;
    const std::uint8_t* srcBits;
    RECT srcRect;
    int x;
    int y;
    int dstBytes;
    int srcBytes;
    int dstStride;
    int srcStride;
};

// Runs convertRow(dstRow, srcRow, pixelCount) over the rectangle after checking
// the byte depths; `flip` reverses the row order.
template <class ConvertRow>
int ConvertRows(RowArgs a, int srcBytes, int minDstBytes, int maxDstBytes, bool flip, ConvertRow convertRow)
{
    const RECT& r = a.srcRect;
    if (a.dstBits == nullptr || a.srcBits == nullptr || a.srcBytes != srcBytes || a.dstBytes < minDstBytes ||
        a.dstBytes > maxDstBytes || r.IsEmpty() || r.left < 0 || r.top < 0 || a.x < 0 || a.y < 0 ||
        static_cast<std::int64_t>(r.right) * a.srcBytes > a.srcStride ||
        (static_cast<std::int64_t>(a.x) + r.Width()) * a.dstBytes > a.dstStride) {
        return 0;
    }
    const int width = r.Width();
    const int height = r.Height();

    // Within one image only a pixel-for-pixel rewrite in place is safe; any
    // other overlap works from a copy of the source rectangle.
    std::unique_ptr<std::uint8_t[]> sourceCopy;
    const std::uint8_t* src =
        a.srcBits + static_cast<std::ptrdiff_t>(r.top) * a.srcStride + static_cast<std::ptrdiff_t>(r.left) * a.srcBytes;
    std::ptrdiff_t srcStride = a.srcStride;
    if (a.dstBits == a.srcBits && (flip || a.x != r.left || a.y != r.top)) {
        const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(a.srcBytes);
        sourceCopy.reset(new (std::nothrow) std::uint8_t[rowBytes * static_cast<std::size_t>(height)]);
        if (!sourceCopy) {
            return 0;
        }
        for (int k = 0; k < height; ++k) {
            std::memcpy(sourceCopy.get() + k * rowBytes, src + k * srcStride, rowBytes);
        }
        src = sourceCopy.get();
        srcStride = static_cast<std::ptrdiff_t>(rowBytes);
    }

    std::uint8_t* dst = a.dstBits + static_cast<std::ptrdiff_t>(a.x) * a.dstBytes;
    for (int k = 0; k < height; ++k) {
        const int dstRow = a.y + (flip ? height - 1 - k : k);
        convertRow(dst + static_cast<std::ptrdiff_t>(dstRow) * a.dstStride, src + k * srcStride, width, a.dstBytes);
    }
    return 1;
}

// The 8-bit value of a 10-bit sample stored low byte first: bits 2-9.
std::uint8_t TopEightBits(const std::uint8_t* s)
{
    return static_cast<std::uint8_t>((s[1] << 6) | (s[0] >> 2));
}

void RepackRow(std::uint8_t* d, const std::uint8_t* s, int count, int /*dstBytes*/)
{
    for (int k = 0; k < count; ++k, d += 2, s += 2) {
        const std::uint8_t low = s[0];
        const std::uint8_t high = s[1];
        d[0] = static_cast<std::uint8_t>((high << 2) | (low & 3));
        d[1] = static_cast<std::uint8_t>(high >> 6);
    }
}

// Bytes 0 and 2 exchanged; the bytes between and after are copied.
template <int bytes> void SwapRow(std::uint8_t* d, const std::uint8_t* s, int count, int /*dstBytes*/)
{
    for (int k = 0; k < count; ++k, d += bytes, s += bytes) {
        const std::uint8_t first = s[0];
        const std::uint8_t third = s[2];
        d[1] = s[1];
        if constexpr (bytes == 4) {
            d[3] = s[3];
        }
        d[0] = third;
        d[2] = first;
    }
}

} // namespace

int Resample24To24(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& dstRect, const RECT& srcRect,
                   int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dstBytesPerPixel, int srcBytesPerPixel,
                   int dstStride, int srcStride, std::intptr_t /*extra1*/, std::intptr_t /*extra2*/)
{
    return Resample<Sample::Bgr>({dstBits, srcBits, dstRect, srcRect, dstWidth, dstHeight, srcWidth, srcHeight,
                                  dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride});
}

int ResampleFirstByte(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& dstRect, const RECT& srcRect,
                      int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dstBytesPerPixel,
                      int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t /*extra1*/,
                      std::intptr_t /*extra2*/)
{
    return Resample<Sample::FirstByte>({dstBits, srcBits, dstRect, srcRect, dstWidth, dstHeight, srcWidth, srcHeight,
                                        dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride});
}

int Resample8To24(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& dstRect, const RECT& srcRect,
                  int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dstBytesPerPixel, int srcBytesPerPixel,
                  int dstStride, int srcStride, std::intptr_t /*extra1*/, std::intptr_t /*extra2*/)
{
    return Resample<Sample::GreyToBgr>({dstBits, srcBits, dstRect, srcRect, dstWidth, dstHeight, srcWidth, srcHeight,
                                        dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride});
}

int CountZeroSamples(std::uint8_t* /*dstBits*/, const std::uint8_t* srcBits, const RECT& srcRect, int /*x*/, int /*y*/,
                     int /*dstBytesPerPixel*/, int srcBytesPerPixel, int /*dstStride*/, int srcStride,
                     std::intptr_t /*extra1*/, std::intptr_t /*extra2*/)
{
    if (srcBits == nullptr || srcBytesPerPixel < 1 || srcRect.IsEmpty() || srcRect.left < 0 || srcRect.top < 0 ||
        static_cast<std::int64_t>(srcRect.right) * srcBytesPerPixel > srcStride) {
        return 0;
    }
    int zeros = 0;
    for (int row = srcRect.top; row < srcRect.bottom; ++row) {
        const std::uint8_t* s = srcBits + static_cast<std::ptrdiff_t>(row) * srcStride +
                                static_cast<std::ptrdiff_t>(srcRect.left) * srcBytesPerPixel;
        for (int column = srcRect.left; column < srcRect.right; ++column, s += srcBytesPerPixel) {
            zeros += *s == 0 ? 1 : 0;
        }
    }
    return zeros;
}

int Convert16To24Grey(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                      int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride,
                      std::intptr_t /*extra1*/, std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 2,
                       3, 4, false, [](std::uint8_t* d, const std::uint8_t* s, int count, int dstBytes) {
                           for (int k = 0; k < count; ++k, d += dstBytes, s += 2) {
                               std::memset(d, TopEightBits(s), 3);
                           }
                       });
}

int Convert16To8(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                 int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t /*extra1*/,
                 std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 2,
                       1, 4, false, [](std::uint8_t* d, const std::uint8_t* s, int count, int dstBytes) {
                           for (int k = 0; k < count; ++k, d += dstBytes, s += 2) {
                               *d = TopEightBits(s);
                           }
                       });
}

int Repack16(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
             int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t /*extra1*/,
             std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 2,
                       2, 2, false, RepackRow);
}

int Repack16Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                 int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t /*extra1*/,
                 std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 2,
                       2, 2, true, RepackRow);
}

int SwapRedBlue24(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                  int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t /*extra1*/,
                  std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 3,
                       3, 3, false, SwapRow<3>);
}

int SwapRedBlue24Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                      int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride,
                      std::intptr_t /*extra1*/, std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 3,
                       3, 3, true, SwapRow<3>);
}

int SwapRedBlue32Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                      int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride,
                      std::intptr_t /*extra1*/, std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 4,
                       4, 4, true, SwapRow<4>);
}

int Copy8Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
              int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t /*extra1*/,
              std::intptr_t /*extra2*/)
{
    return ConvertRows({dstBits, srcBits, srcRect, x, y, dstBytesPerPixel, srcBytesPerPixel, dstStride, srcStride}, 1,
                       1, 1, true, [](std::uint8_t* d, const std::uint8_t* s, int count, int /*dstBytes*/) {
                           std::memcpy(d, s, static_cast<std::size_t>(count));
                       });
}

} // namespace orvane
