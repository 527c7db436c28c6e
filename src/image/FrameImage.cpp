#include "image/FrameImage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <utility>

#include "image/DibLayout.h"
#include "platform/FileIo.h"
#include "platform/Log.h"

namespace orvane {
namespace {

inline constexpr log::Logger kLog{"orvane.image"};

// Larger sides or pixel arrays are refused rather than allocated: no frame,
// file or thumbnail of the program comes near them, and every offset then fits an int.
constexpr int kMaxSide = 65535;
constexpr std::int64_t kMaxByteCount = std::numeric_limits<std::int32_t>::max();

bool IsSupportedDepth(int bitsPerPixel)
{
    return bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

constexpr std::array<RGBQUAD, 256> MakeGreyRamp()
{
    std::array<RGBQUAD, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        table[static_cast<std::size_t>(i)] = RGBQUAD{v, v, v, 0};
    }
    return table;
}
constexpr std::array<RGBQUAD, 256> kGreyRamp = MakeGreyRamp();

bool IsGreyRamp(const std::array<RGBQUAD, 256>& table)
{
    return table == kGreyRamp;
}

// Index of the table entry nearest to the colour (squared distance in RGB),
// the first of equals. The grey ramp's nearest entry is the rounded mean.
std::uint8_t NearestIndex(const std::array<RGBQUAD, 256>& table, bool greyRamp, int red, int green, int blue)
{
    if (greyRamp) {
        return static_cast<std::uint8_t>((red + green + blue + 1) / 3);
    }
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256 && bestDistance != 0; ++i) {
        const RGBQUAD& e = table[static_cast<std::size_t>(i)];
        const int dr = e.rgbRed - red;
        const int dg = e.rgbGreen - green;
        const int db = e.rgbBlue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

// Converts one row of `count` pixels between two formats, as a blit between
// bitmaps of different depths does: through the colour tables for 8 bits,
// alpha 0 when 32 bits are made from fewer.
class RowConverter {
public:
    RowConverter(const FrameImage& dst, const FrameImage& src)
        : m_dstBytes(dst.bytesPerPixel()), m_srcBytes(src.bytesPerPixel()), m_srcTable(src.colorTable()),
          m_dstTable(dst.colorTable()), m_dstGrey(IsGreyRamp(dst.colorTable()))
    {
        const int d = dst.bitsPerPixel();
        const int s = src.bitsPerPixel();
        if (d == s && (d != 8 || m_srcTable == m_dstTable)) {
            m_kind = Kind::Copy;
        } else if (d == 8 && s == 8) {
            m_kind = Kind::Remap8;
            for (std::size_t i = 0; i < 256; ++i) {
                const RGBQUAD& e = m_srcTable[i];
                m_remap[i] = NearestIndex(m_dstTable, m_dstGrey, e.rgbRed, e.rgbGreen, e.rgbBlue);
            }
        } else if (s == 8 && (d == 24 || d == 32)) {
            m_kind = Kind::Expand8;
        } else if ((s == 24 || s == 32) && (d == 24 || d == 32)) {
            m_kind = Kind::Colour;
        } else if ((s == 24 || s == 32) && d == 8) {
            m_kind = Kind::ToIndex;
        }
    }

    [[nodiscard]] bool supported() const { return m_kind != Kind::None; }

    void Convert(std::uint8_t* d, const std::uint8_t* s, int count)
    {
        switch (m_kind) {
        case Kind::None: break;
        case Kind::Copy:
            std::memmove(d, s, static_cast<std::size_t>(count) * static_cast<std::size_t>(m_dstBytes));
            break;
        case Kind::Remap8:
            for (int i = 0; i < count; ++i) {
                d[i] = m_remap[s[i]];
            }
            break;
        case Kind::Expand8:
            for (int i = 0; i < count; ++i, d += m_dstBytes) {
                const RGBQUAD& e = m_srcTable[s[i]];
                d[0] = e.rgbBlue;
                d[1] = e.rgbGreen;
                d[2] = e.rgbRed;
                if (m_dstBytes == 4) {
                    d[3] = 0;
                }
            }
            break;
        case Kind::Colour:
            for (int i = 0; i < count; ++i, d += m_dstBytes, s += m_srcBytes) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                if (m_dstBytes == 4) {
                    d[3] = 0;
                }
            }
            break;
        case Kind::ToIndex:
            for (int i = 0; i < count; ++i, s += m_srcBytes) {
                const std::uint32_t colour = s[0] | (s[1] << 8) | (s[2] << 16);
                if (colour != m_lastColour) {
                    m_lastColour = colour;
                    m_lastIndex = NearestIndex(m_dstTable, m_dstGrey, s[2], s[1], s[0]);
                }
                d[i] = m_lastIndex;
            }
            break;
        }
    }

private:
    enum class Kind { None, Copy, Remap8, Expand8, Colour, ToIndex };

    Kind m_kind = Kind::None;
    int m_dstBytes;
    int m_srcBytes;
    const std::array<RGBQUAD, 256>& m_srcTable;
    const std::array<RGBQUAD, 256>& m_dstTable;
    bool m_dstGrey;
    std::array<std::uint8_t, 256> m_remap{};
    std::uint32_t m_lastColour = 0xFFFFFFFF;
    std::uint8_t m_lastIndex = 0;
};

// Intersection of a rectangle with (0, 0, width, height); empty when they do not meet.
RECT ClipToSize(const RECT& rect, int width, int height)
{
    RECT r{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width), std::min(rect.bottom, height)};
    if (r.IsEmpty()) {
        return RECT{};
    }
    return r;
}

// Whole-file reads are bounded by the largest image plus its headers.
constexpr std::size_t kMaxBmpFileBytes = (std::size_t{1} << 31) + (std::size_t{1} << 16);
constexpr std::size_t kFileHeaderSize = 14;

} // namespace

int FrameImage::StrideFor(int width, int bitsPerPixel)
{
    if (width <= 0 || bitsPerPixel <= 0) {
        return 0;
    }
    const std::int64_t bytes = static_cast<std::int64_t>(width) * (bitsPerPixel / 8);
    return static_cast<int>((bytes + 3) & ~std::int64_t{3});
}

FrameImage::FrameImage(const FrameImage& other)
{
    CopyFrom(other);
}

FrameImage& FrameImage::operator=(const FrameImage& other)
{
    if (&other != this) {
        if (other.isEmpty()) {
            Release();
        } else {
            CopyFrom(other);
        }
    }
    return *this;
}

FrameImage::FrameImage(FrameImage&& other) noexcept
    : m_header(other.m_header), m_pixels(std::move(other.m_pixels)), m_bits(other.m_bits), m_width(other.m_width),
      m_height(other.m_height), m_stride(other.m_stride), m_bitsPerPixel(other.m_bitsPerPixel),
      m_drawable(other.m_drawable), m_colorTable(other.m_colorTable)
{
    other.Release();
}

FrameImage& FrameImage::operator=(FrameImage&& other) noexcept
{
    if (&other != this) {
        m_header = other.m_header;
        m_pixels = std::move(other.m_pixels);
        m_bits = other.m_bits;
        m_width = other.m_width;
        m_height = other.m_height;
        m_stride = other.m_stride;
        m_bitsPerPixel = other.m_bitsPerPixel;
        m_drawable = other.m_drawable;
        m_colorTable = other.m_colorTable;
        other.Release();
    }
    return *this;
}

int FrameImage::Release()
{
    m_pixels.reset();
    m_bits = nullptr;
    m_width = 0;
    m_height = 0;
    m_stride = 0;
    m_bitsPerPixel = 0;
    m_drawable = false;
    m_header = BITMAPINFOHEADER{};
    m_colorTable = {};
    return 0;
}

bool FrameImage::Allocate(int width, int height, int bitsPerPixel, bool drawable, bool zeroFill)
{
    Release();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !IsSupportedDepth(bitsPerPixel)) {
        return false;
    }
    const int stride = StrideFor(width, bitsPerPixel);
    const std::int64_t byteCount = static_cast<std::int64_t>(stride) * height;
    if (byteCount > kMaxByteCount) {
        kLog.Warning("image of " + std::to_string(width) + " x " + std::to_string(height) + " refused: too large");
        return false;
    }
    const auto bytes = static_cast<std::size_t>(byteCount);
    std::unique_ptr<std::uint8_t[]> pixels(zeroFill ? new (std::nothrow) std::uint8_t[bytes]()
                                                    : new (std::nothrow) std::uint8_t[bytes]);
    if (!pixels) {
        kLog.Warning("out of memory for an image of " + std::to_string(bytes) + " bytes");
        return false;
    }
    m_pixels = std::move(pixels);
    m_bits = m_pixels.get();
    m_width = width;
    m_height = height;
    m_stride = stride;
    m_bitsPerPixel = bitsPerPixel;
    m_drawable = drawable;
    m_header.biSize = 40;
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = static_cast<std::uint16_t>(bitsPerPixel);
    m_header.biCompression = kBiRgb;
    if (bitsPerPixel == 8) {
        m_colorTable = kGreyRamp;
    }
    return true;
}

bool FrameImage::Create(int width, int height, int bitsPerPixel)
{
    return Allocate(width, height, bitsPerPixel, true);
}

bool FrameImage::CreateMemoryOnly(int width, int height, int bitsPerPixel)
{
    return Allocate(width, height, bitsPerPixel, false);
}

bool FrameImage::CreateFromHeader(const BITMAPINFOHEADER& header)
{
    return Allocate(header.biWidth, header.biHeight, header.biBitCount, true);
}

bool FrameImage::CreateLike(const FrameImage& other)
{
    if (other.isEmpty()) {
        Release();
        return false;
    }
    // Taken before allocating: `other` may be this image.
    const int width = other.m_width;
    const int height = other.m_height;
    const int bitsPerPixel = other.m_bitsPerPixel;
    const std::array<RGBQUAD, 256> table = other.m_colorTable;
    if (!Allocate(width, height, bitsPerPixel, true)) {
        return false;
    }
    if (bitsPerPixel == 8) {
        m_colorTable = table;
    }
    return true;
}

bool FrameImage::CopyFrom(const FrameImage& other)
{
    if (&other == this) {
        return !isEmpty();
    }
    if (other.isEmpty()) {
        Release();
        return false;
    }
    const bool sameLayout = !isEmpty() && m_width == other.m_width && m_height == other.m_height &&
                            m_bitsPerPixel == other.m_bitsPerPixel && m_drawable == other.m_drawable;
    // Every byte is overwritten, so a new buffer need not be cleared first.
    if (!sameLayout && !Allocate(other.m_width, other.m_height, other.m_bitsPerPixel, other.m_drawable, false)) {
        return false;
    }
    std::memcpy(m_bits, other.m_bits, byteCount());
    m_colorTable = other.m_colorTable;
    return true;
}

bool FrameImage::SetColorTable(int mode, const RGBQUAD* entries, int first, int count)
{
    if (m_bitsPerPixel != 8) {
        return true;
    }
    if (mode == 0) {
        m_colorTable = kGreyRamp;
    } else if (mode == 2 && entries != nullptr && first >= 0 && first < 256 && count > 0) {
        const int n = std::min(count, 256 - first);
        for (int i = 0; i < n; ++i) {
            m_colorTable[static_cast<std::size_t>(first + i)] = entries[i];
        }
    }
    return true;
}

bool FrameImage::ClipRects(const FrameImage& src, RECT& srcRect, int& x, int& y) const
{
    // 64-bit throughout: callers may pass rectangles far outside either image.
    std::int64_t left = srcRect.left;
    std::int64_t top = srcRect.top;
    std::int64_t dx = x;
    std::int64_t dy = y;
    std::int64_t w = static_cast<std::int64_t>(srcRect.right) - srcRect.left;
    std::int64_t h = static_cast<std::int64_t>(srcRect.bottom) - srcRect.top;
    if (!isEmpty() && !src.isEmpty() && w > 0 && h > 0) {
        const std::int64_t shiftX = std::max<std::int64_t>({0, -left, -dx});
        const std::int64_t shiftY = std::max<std::int64_t>({0, -top, -dy});
        left += shiftX;
        dx += shiftX;
        w -= shiftX;
        top += shiftY;
        dy += shiftY;
        h -= shiftY;
        w = std::min({w, src.m_width - left, m_width - dx});
        h = std::min({h, src.m_height - top, m_height - dy});
        if (w > 0 && h > 0) {
            srcRect = RECT{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                           static_cast<std::int32_t>(left + w), static_cast<std::int32_t>(top + h)};
            x = static_cast<int>(dx);
            y = static_cast<int>(dy);
            return true;
        }
    }
    srcRect = RECT{};
    x = 0;
    y = 0;
    return false;
}

bool FrameImage::Blit(const FrameImage& src, const RECT* srcRect, int x, int y)
{
    if (isEmpty() || src.isEmpty()) {
        return false;
    }
    RowConverter converter(*this, src);
    if (!converter.supported()) {
        kLog.Debug("blit from " + std::to_string(src.m_bitsPerPixel) + " to " + std::to_string(m_bitsPerPixel) +
                   " bits is not supported");
        return false;
    }
    RECT r = srcRect != nullptr ? *srcRect : RECT{0, 0, src.m_width, src.m_height};
    if (!ClipRects(src, r, x, y)) {
        return true; // nothing of the source lands on this image
    }
    const int rows = r.Height();
    const int count = r.Width();
    const auto srcOffset = static_cast<std::ptrdiff_t>(r.left) * src.bytesPerPixel();
    const auto dstOffset = static_cast<std::ptrdiff_t>(x) * bytesPerPixel();
    // Within one image, rows are taken in the order that reads each before it is overwritten.
    const bool backwards = &src == this && y > r.top;
    for (int k = 0; k < rows; ++k) {
        const int row = backwards ? rows - 1 - k : k;
        converter.Convert(Row(y + row) + dstOffset, src.Row(r.top + row) + srcOffset, count);
    }
    return true;
}

bool FrameImage::Fill(const RECT* rect, COLORREF colour)
{
    if (isEmpty()) {
        return false;
    }
    const RECT r = ClipToSize(rect != nullptr ? *rect : RECT{0, 0, m_width, m_height}, m_width, m_height);
    if (r.IsEmpty()) {
        return true;
    }
    // One pixel of the colour in this image's format: 16-bit pixels as 5-5-5.
    std::array<std::uint8_t, 4> pixel{};
    const std::uint8_t red = GetRValue(colour);
    const std::uint8_t green = GetGValue(colour);
    const std::uint8_t blue = GetBValue(colour);
    switch (m_bitsPerPixel) {
    case 8: pixel[0] = NearestIndex(m_colorTable, IsGreyRamp(m_colorTable), red, green, blue); break;
    case 16: {
        const int value = ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
        pixel[0] = static_cast<std::uint8_t>(value & 0xFF);
        pixel[1] = static_cast<std::uint8_t>(value >> 8);
        break;
    }
    default:
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
        break;
    }
    const int bytes = bytesPerPixel();
    const auto rowBytes = static_cast<std::size_t>(r.Width()) * static_cast<std::size_t>(bytes);
    std::uint8_t* first = Row(r.top) + static_cast<std::ptrdiff_t>(r.left) * bytes;
    for (int i = 0; i < r.Width(); ++i) {
        std::memcpy(first + static_cast<std::ptrdiff_t>(i) * bytes, pixel.data(), static_cast<std::size_t>(bytes));
    }
    for (int row = r.top + 1; row < r.bottom; ++row) {
        std::memcpy(Row(row) + static_cast<std::ptrdiff_t>(r.left) * bytes, first, rowBytes);
    }
    return true;
}

bool FrameImage::LoadPackedDib(const std::uint8_t* data, std::size_t size)
{
    return LoadDib(data, size, std::nullopt);
}

bool FrameImage::LoadBmpImage(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    const std::size_t dataOffset = static_cast<std::size_t>(data[10]) | (static_cast<std::size_t>(data[11]) << 8) |
                                   (static_cast<std::size_t>(data[12]) << 16) |
                                   (static_cast<std::size_t>(data[13]) << 24);
    std::optional<std::size_t> pixelOffset;
    if (dataOffset >= kFileHeaderSize) {
        pixelOffset = dataOffset - kFileHeaderSize;
    }
    return LoadDib(data + kFileHeaderSize, size - kFileHeaderSize, pixelOffset);
}

bool FrameImage::LoadBmpFile(const std::filesystem::path& path)
{
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, kMaxBmpFileBytes);
    if (!bytes) {
        return false;
    }
    return LoadBmpImage(bytes->data(), bytes->size());
}

namespace {

// A channel picked out by a bit-field mask, scaled to 0..255.
struct MaskChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t maximum = 0; // the mask shifted down; 0 when the mask is empty

    explicit MaskChannel(std::uint32_t m) : mask(m)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            maximum = mask >> shift;
        }
    }
    [[nodiscard]] std::uint8_t Of(std::uint32_t pixel) const
    {
        if (maximum == 0) {
            return 0;
        }
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
    }
};

// Run-length encoded rows (RLE8, RLE4) into 8-bit indices, bottom row first.
// Pixels the runs do not reach keep index 0; runs that leave the picture are
// cut at its edge; the data ends the picture where it ends.
void DecodeRunLength(const std::uint8_t* data, std::size_t size, bool fourBit, FrameImage& image)
{
    const int width = image.width();
    const int height = image.height();
    int x = 0;
    int y = 0; // counted from the bottom
    const auto put = [&](std::uint8_t index) {
        if (x < width && y < height) {
            image.Row(height - 1 - y)[x] = index;
        }
        ++x;
    };
    std::size_t i = 0;
    while (i + 1 < size && y < height) {
        const std::uint8_t count = data[i];
        const std::uint8_t value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count && x < width; ++k) {
                put(fourBit ? static_cast<std::uint8_t>(k % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            }
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // move right and up
            if (i + 1 >= size) {
                return;
            }
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else { // `value` pixels stored as they are, padded to a 16-bit boundary
            const std::size_t bytes = fourBit ? (value + 1u) / 2 : value;
            if (bytes > size - i) {
                return;
            }
            for (int k = 0; k < value; ++k) {
                const std::uint8_t byte = data[i + (fourBit ? static_cast<std::size_t>(k / 2) : static_cast<std::size_t>(k))];
                put(fourBit ? static_cast<std::uint8_t>(k % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
            }
            i += (bytes + 1) & ~std::size_t{1};
        }
    }
}

} // namespace

bool FrameImage::LoadDib(const std::uint8_t* data, std::size_t size, std::optional<std::size_t> pixelOffset)
{
    const std::optional<DibLayout> layout = ParseDibLayout(data, size, pixelOffset);
    if (!layout) {
        kLog.Debug("bitmap data refused: unsupported or inconsistent with its size");
        return false;
    }
    // Fewer than 8 bits per pixel are widened to 8-bit indices into the same
    // table; bit fields become 24-bit colour.
    const bool bitFields = layout->encoding == DibEncoding::BitFields;
    const int bitsPerPixel = bitFields ? 24 : std::max(layout->bitsPerPixel, 8);
    FrameImage loaded;
    if (!loaded.Create(layout->width, layout->height, bitsPerPixel)) {
        return false;
    }
    if (bitsPerPixel == 8) {
        std::array<RGBQUAD, 256> table{};
        const std::uint8_t* entry = data + layout->tableOffset;
        for (int i = 0; i < layout->tableEntries; ++i, entry += layout->tableEntryBytes) {
            table[static_cast<std::size_t>(i)] =
                RGBQUAD{entry[0], entry[1], entry[2], layout->tableEntryBytes == 4 ? entry[3] : std::uint8_t{0}};
        }
        loaded.m_colorTable = table;
    }
    const int stored = layout->bitsPerPixel;
    if (layout->encoding == DibEncoding::Rle8 || layout->encoding == DibEncoding::Rle4) {
        DecodeRunLength(data + layout->pixelOffset, layout->pixelBytes, layout->encoding == DibEncoding::Rle4, loaded);
    } else {
        const MaskChannel red(layout->redMask);
        const MaskChannel green(layout->greenMask);
        const MaskChannel blue(layout->blueMask);
        const auto rowBytes = static_cast<std::size_t>(layout->width) * static_cast<std::size_t>(bitsPerPixel / 8);
        for (int k = 0; k < layout->height; ++k) {
            const std::uint8_t* in = data + layout->pixelOffset + static_cast<std::size_t>(k) * layout->rowBytes;
            // Stored rows run bottom-up unless the header's height was negative.
            std::uint8_t* out = layout->topDown ? loaded.Row(k) : loaded.Row(layout->height - 1 - k);
            if (bitFields) {
                for (int xPos = 0; xPos < layout->width; ++xPos, out += 3) {
                    const std::uint32_t pixel =
                        stored == 16 ? static_cast<std::uint32_t>(in[2 * xPos] | (in[2 * xPos + 1] << 8))
                                     : static_cast<std::uint32_t>(in[4 * xPos]) |
                                           (static_cast<std::uint32_t>(in[4 * xPos + 1]) << 8) |
                                           (static_cast<std::uint32_t>(in[4 * xPos + 2]) << 16) |
                                           (static_cast<std::uint32_t>(in[4 * xPos + 3]) << 24);
                    out[0] = blue.Of(pixel);
                    out[1] = green.Of(pixel);
                    out[2] = red.Of(pixel);
                }
                continue;
            }
            if (stored >= 8) {
                std::memcpy(out, in, rowBytes);
                continue;
            }
            const int perByte = 8 / stored;
            const int mask = (1 << stored) - 1;
            for (int xPos = 0; xPos < layout->width; ++xPos) {
                const int shift = 8 - stored * (xPos % perByte + 1);
                out[xPos] = static_cast<std::uint8_t>((in[xPos / perByte] >> shift) & mask);
            }
        }
    }
    if (!isDrawable()) {
        *this = std::move(loaded);
        return true;
    }
    // A drawable image keeps its size and format and receives the bitmap at its top left.
    RECT all{0, 0, loaded.m_width, loaded.m_height};
    int x = 0;
    int y = 0;
    return ClipRects(loaded, all, x, y) && Blit(loaded, nullptr, 0, 0);
}

int FrameImage::ApplyOp(PixelOp op, const FrameImage& src, const RECT* srcRect, int x, int y, std::intptr_t extra1,
                        std::intptr_t extra2)
{
    RECT r = srcRect != nullptr ? *srcRect : RECT{0, 0, src.m_width, src.m_height};
    if (op == nullptr || !ClipRects(src, r, x, y)) {
        return 0;
    }
    return op(m_bits, src.m_bits, r, x, y, bytesPerPixel(), src.bytesPerPixel(), m_stride, src.m_stride, extra1,
              extra2);
}

int FrameImage::ApplyScaledOp(ScaledPixelOp op, const FrameImage& src, const RECT* srcRect, const RECT* dstRect,
                              std::intptr_t extra1, std::intptr_t extra2)
{
    if (op == nullptr || isEmpty() || src.isEmpty()) {
        return 0;
    }
    const RECT s = srcRect != nullptr ? *srcRect : RECT{0, 0, src.m_width, src.m_height};
    const RECT d = dstRect != nullptr ? *dstRect : RECT{0, 0, m_width, m_height};
    // The mapping keeps the rectangles as given; the operation clamps its reads
    // to the source and writes only the part of d inside this image. Rectangles
    // that miss their image altogether leave nothing to do.
    if (ClipToSize(s, src.m_width, src.m_height).IsEmpty() || ClipToSize(d, m_width, m_height).IsEmpty()) {
        return 0;
    }
    return op(m_bits, src.m_bits, d, s, m_width, m_height, src.m_width, src.m_height, bytesPerPixel(),
              src.bytesPerPixel(), m_stride, src.m_stride, extra1, extra2);
}

int FrameImage::ApplyDescribedOp(DescribedOp op, FrameImage* src, OpParams* params, const RECT* dstRect,
                                 const RECT* srcRect, std::intptr_t extra1, std::intptr_t extra2)
{
    if (op == nullptr) {
        return 1;
    }
    // Rectangles are handed over clipped to their image.
    const auto describe = [](FrameImage& image, const RECT* rect) {
        ImageDescriptor descriptor;
        descriptor.width = image.m_width;
        descriptor.height = image.m_height;
        descriptor.stride = image.m_stride;
        descriptor.bitsPerPixel = image.m_bitsPerPixel;
        descriptor.bits = image.m_bits;
        const RECT whole{0, 0, image.m_width, image.m_height};
        descriptor.rect = rect != nullptr ? ClipToSize(*rect, image.m_width, image.m_height) : whole;
        return descriptor;
    };
    ImageDescriptor dst = describe(*this, dstRect);
    const ImageDescriptor source = src != nullptr ? describe(*src, srcRect) : ImageDescriptor{};
    OpParams defaults;
    return op(dst, source, params != nullptr ? *params : defaults, extra1, extra2);
}

} // namespace orvane
