#include "image/DibLayout.h"

#include <algorithm>
#include <limits>

namespace orvane {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::int64_t kMaxSide = 65535;
constexpr std::size_t kHeaderSize = 40;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kOs2MinHeaderSize = 16;
constexpr std::size_t kOs2HeaderSize = 64;
// Runs reach at most 127 pixels per byte; a run-length picture with far more
// pixels per byte of data (here eight times that, above a small floor) is a
// tiny file declaring a huge picture, not a picture.
constexpr std::uint64_t kMaxRunLengthPixelsPerByte = 1024;
constexpr std::uint64_t kRunLengthPixelsAlwaysAllowed = 65536;

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

// 32-bit masks of the plain layout keep the pixels as they stand.
bool HasPlainMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue, int bitsPerPixel)
{
    return bitsPerPixel == 32 && red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF;
}

// The fields of an information header, whichever of the known kinds it is.
struct HeaderFields {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    bool os2 = false;
    int tableEntryBytes = 4;
};

std::optional<HeaderFields> ReadHeader(const std::uint8_t* data, std::size_t size, std::uint32_t headerSize)
{
    HeaderFields fields;
    if (headerSize == kCoreHeaderSize) {
        if (size < kCoreHeaderSize) {
            return std::nullopt;
        }
        fields.width = ReadU16(data + 4);
        fields.height = ReadU16(data + 6);
        fields.bitsPerPixel = ReadU16(data + 10);
        fields.os2 = true;
        fields.tableEntryBytes = 3;
        return fields;
    }
    if (headerSize < kOs2MinHeaderSize || headerSize > size) {
        return std::nullopt;
    }
    // An OS/2 2.x header may end after any field from the bit count on; the
    // fields it leaves out are zero.
    std::uint8_t header[kHeaderSize] = {};
    std::copy(data, data + std::min<std::size_t>(headerSize, kHeaderSize), header);
    fields.width = ReadI32(header + 4);
    fields.height = ReadI32(header + 8);
    fields.bitsPerPixel = ReadU16(header + 14);
    fields.compression = ReadU32(header + 16);
    fields.coloursUsed = ReadU32(header + 32);
    fields.os2 = headerSize < kHeaderSize || headerSize == kOs2HeaderSize;
    return fields;
}

} // namespace

std::optional<DibLayout> ParseDibLayout(const std::uint8_t* data, std::size_t size,
                                        std::optional<std::size_t> pixelOffset)
{
    if (data == nullptr || size < kCoreHeaderSize) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = ReadU32(data);
    const std::optional<HeaderFields> fields = ReadHeader(data, size, headerSize);
    if (!fields) {
        return std::nullopt;
    }
    const std::int64_t width = fields->width;
    const std::int64_t height = fields->height;
    const int bitsPerPixel = fields->bitsPerPixel;
    const std::uint32_t compression = fields->compression;
    if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide || height < -kMaxSide) {
        return std::nullopt;
    }
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32) {
        return std::nullopt;
    }

    DibLayout layout;
    std::uint64_t tableOffset = headerSize;
    switch (compression) {
    case kBiRgb: break;
    case kBiRle8:
    case kBiRle4:
        if (bitsPerPixel != (compression == kBiRle8 ? 8 : 4) || height < 0) {
            return std::nullopt;
        }
        layout.encoding = compression == kBiRle8 ? DibEncoding::Rle8 : DibEncoding::Rle4;
        break;
    case kBiBitfields:
    case kBiAlphaBitfields: {
        // OS/2 uses these numbers for Huffman and RLE24 coding, which no one writes.
        if (fields->os2 || (bitsPerPixel != 16 && bitsPerPixel != 32)) {
            return std::nullopt;
        }
        // The masks of a 40-byte header follow it (with alpha: four of them);
        // longer headers hold them.
        const std::size_t maskBytes = compression == kBiAlphaBitfields ? 16 : 12;
        if (headerSize == kHeaderSize) {
            tableOffset += maskBytes;
        } else if (headerSize < kHeaderSize + 12) {
            return std::nullopt;
        }
        if (kHeaderSize + 12 > size) {
            return std::nullopt;
        }
        layout.redMask = ReadU32(data + kHeaderSize);
        layout.greenMask = ReadU32(data + kHeaderSize + 4);
        layout.blueMask = ReadU32(data + kHeaderSize + 8);
        if (!HasPlainMasks(layout.redMask, layout.greenMask, layout.blueMask, bitsPerPixel)) {
            layout.encoding = DibEncoding::BitFields;
        }
        break;
    }
    default: return std::nullopt;
    }

    std::uint64_t storedEntries = 0;
    if (fields->coloursUsed != 0) {
        storedEntries = fields->coloursUsed;
    } else if (bitsPerPixel <= 8) {
        storedEntries = std::uint64_t{1} << bitsPerPixel;
    }
    const std::uint64_t tableEnd = tableOffset + storedEntries * static_cast<std::uint64_t>(fields->tableEntryBytes);
    if (tableEnd > size) {
        return std::nullopt;
    }

    const std::uint64_t rowBytes =
        ((static_cast<std::uint64_t>(bitsPerPixel) * static_cast<std::uint64_t>(width) + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    const bool runLength = layout.encoding == DibEncoding::Rle8 || layout.encoding == DibEncoding::Rle4;
    // Some writers leave out the padding of the last row; the pixels are all there.
    const std::uint64_t pixelBytes =
        runLength ? 0
                  : rowBytes * (rows - 1) + (static_cast<std::uint64_t>(bitsPerPixel) * static_cast<std::uint64_t>(width) + 7) / 8;
    std::uint64_t pixels = tableEnd;
    if (pixelOffset && *pixelOffset > tableEnd && *pixelOffset <= size && pixelBytes <= size - *pixelOffset) {
        pixels = *pixelOffset;
    }
    if (pixelBytes > size - pixels) {
        return std::nullopt;
    }
    if (runLength && static_cast<std::uint64_t>(width) * rows > kRunLengthPixelsAlwaysAllowed &&
        static_cast<std::uint64_t>(width) * rows > kMaxRunLengthPixelsPerByte * (size - pixels)) {
        return std::nullopt;
    }

    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(rows);
    layout.topDown = height < 0;
    layout.bitsPerPixel = bitsPerPixel;
    layout.tableOffset = static_cast<std::size_t>(tableOffset);
    layout.tableEntries = static_cast<int>(storedEntries < 256 ? storedEntries : 256);
    layout.tableEntryBytes = fields->tableEntryBytes;
    layout.pixelOffset = static_cast<std::size_t>(pixels);
    layout.rowBytes = static_cast<std::size_t>(rowBytes);
    layout.pixelBytes = runLength ? static_cast<std::size_t>(size - pixels) : static_cast<std::size_t>(pixelBytes);
    return layout;
}

} // namespace orvane
