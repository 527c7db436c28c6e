#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace orvane {

// How the pixels are stored.
enum class DibEncoding {
    Plain,     // rows as the frame image keeps them (bit fields with the plain 32-bit masks too)
    BitFields, // 16- or 32-bit pixels whose channels the masks pick out
    Rle8,      // run-length encoded 8-bit indices
    Rle4,      // run-length encoded 4-bit indices
};

// Where the parts of a packed device-independent bitmap lie, checked against
// the size of the data it was read from: every offset and length below is
// inside the data. Described are bitmaps of 1, 4, 8, 16, 24 or 32 bits with a
// Windows header (40 bytes or more), an OS/2 1.x core header (12 bytes, colour
// entries of 3 bytes) or an OS/2 2.x header (16 to 64 bytes): uncompressed,
// bit fields of 16 or 32 bits with any masks, RLE8 and RLE4. Plain rows must
// be present in full except for the padding of the last one. Anything else
// has no layout.
struct DibLayout {
    int width = 0;
    int height = 0;       // rows, always positive
    bool topDown = false; // the header's height was negative: first row stored is the top one
    int bitsPerPixel = 0; // as stored: 1, 4, 8, 16, 24 or 32
    std::size_t tableOffset = 0;
    int tableEntries = 0; // colour table entries to take (at most 256)
    std::size_t pixelOffset = 0;
    std::size_t rowBytes = 0; // stored bytes per row, padded to 4 (plain and bit fields)
    DibEncoding encoding = DibEncoding::Plain;
    std::uint32_t redMask = 0; // bit fields only
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    int tableEntryBytes = 4;    // 3 for an OS/2 1.x core header
    std::size_t pixelBytes = 0; // bytes from pixelOffset that hold pixels (RLE: up to the data's end)
};

// Layout of the packed DIB in data[0, size). The pixel array follows the
// colour table unless `pixelOffset` (a BMP file's data offset, relative to the
// DIB) points further on and the pixels fit there.
[[nodiscard]] std::optional<DibLayout> ParseDibLayout(const std::uint8_t* data, std::size_t size,
                                                      std::optional<std::size_t> pixelOffset = std::nullopt);

} // namespace orvane
