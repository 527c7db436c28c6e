#include "image/DibLayout.h"

#include <limits>

namespace orvane {
namespace {

constexpr std::uint32_t kBiBitfields = 3;
constexpr std::int64_t kMaxSide = 65535;
constexpr std::size_t kHeaderSize = 40;
constexpr std::size_t kMasksSize = 12;

std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t ReadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t ReadI32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(ReadU32(p));
}

// Bit-field masks are accepted only when they describe the plain layout, so
// that the pixels can be taken as they stand.
bool HasPlainMasks(const std::uint8_t* masks, int bitsPerPixel)
{
    const std::uint32_t red = ReadU32(masks);
    const std::uint32_t green = ReadU32(masks + 4);
    const std::uint32_t blue = ReadU32(masks + 8);
    if (bitsPerPixel == 32) {
        return red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF;
    }
    return bitsPerPixel == 16 && red == 0x7C00 && green == 0x03E0 && blue == 0x001F;
}

} // namespace

std::optional<DibLayout> ParseDibLayout(const std::uint8_t* data, std::size_t size,
                                        std::optional<std::size_t> pixelOffset)
{
    if (data == nullptr || size < kHeaderSize) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = ReadU32(data);
    const std::int64_t width = ReadI32(data + 4);
    const std::int64_t height = ReadI32(data + 8);
    const int bitsPerPixel = ReadU16(data + 14);
    const std::uint32_t compression = ReadU32(data + 16);
    const std::uint32_t coloursUsed = ReadU32(data + 32);

    if (headerSize < kHeaderSize || headerSize > size) {
        return std::nullopt;
    }
    if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide || height < -kMaxSide) {
        return std::nullopt;
    }
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32) {
        return std::nullopt;
    }

    // The masks of a 40-byte header follow it; headers of 52 bytes or more hold them.
    std::uint64_t tableOffset = headerSize;
    if (compression == kBiBitfields) {
        if (headerSize == kHeaderSize) {
            tableOffset += kMasksSize;
        } else if (headerSize < kHeaderSize + kMasksSize) {
            return std::nullopt;
        }
        if (kHeaderSize + kMasksSize > size || !HasPlainMasks(data + kHeaderSize, bitsPerPixel)) {
            return std::nullopt;
        }
    } else if (compression != 0) {
        return std::nullopt;
    }

    std::uint64_t storedEntries = 0;
    if (coloursUsed != 0) {
        storedEntries = coloursUsed;
    } else if (bitsPerPixel <= 8) {
        storedEntries = std::uint64_t{1} << bitsPerPixel;
    }
    const std::uint64_t tableEnd = tableOffset + storedEntries * 4;
    if (tableEnd > size) {
        return std::nullopt;
    }

    const std::uint64_t rowBytes =
        ((static_cast<std::uint64_t>(bitsPerPixel) * static_cast<std::uint64_t>(width) + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    const std::uint64_t pixelBytes = rowBytes * rows;
    std::uint64_t pixels = tableEnd;
    if (pixelOffset && *pixelOffset > tableEnd && *pixelOffset <= size && pixelBytes <= size - *pixelOffset) {
        pixels = *pixelOffset;
    }
    if (pixelBytes > size - pixels) {
        return std::nullopt;
    }

    DibLayout layout;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(rows);
    layout.topDown = height < 0;
    layout.bitsPerPixel = bitsPerPixel;
    layout.tableOffset = static_cast<std::size_t>(tableOffset);
    layout.tableEntries = static_cast<int>(storedEntries < 256 ? storedEntries : 256);
    layout.pixelOffset = static_cast<std::size_t>(pixels);
    layout.rowBytes = static_cast<std::size_t>(rowBytes);
    return layout;
}

} // namespace orvane
