#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace orvane {

// Where the parts of a packed device-independent bitmap lie, checked against
// the size of the data it was read from: every offset and length below is
// inside the data. Only uncompressed bitmaps (and bit-field ones whose masks
// give the plain layout) of 1, 4, 8, 16, 24 or 32 bits with a header of at
// least 40 bytes are described; anything else has no layout.
struct DibLayout {
    int width = 0;
    int height = 0;       // rows, always positive
    bool topDown = false; // the header's height was negative: first row stored is the top one
    int bitsPerPixel = 0; // as stored: 1, 4, 8, 16, 24 or 32
    std::size_t tableOffset = 0;
    int tableEntries = 0; // colour table entries to take (at most 256)
    std::size_t pixelOffset = 0;
    std::size_t rowBytes = 0; // stored bytes per row, padded to 4
};

// Layout of the packed DIB in data[0, size). The pixel array follows the
// colour table unless `pixelOffset` (a BMP file's data offset, relative to the
// DIB) points further on and the pixels fit there.
[[nodiscard]] std::optional<DibLayout> ParseDibLayout(const std::uint8_t* data, std::size_t size,
                                                      std::optional<std::size_t> pixelOffset = std::nullopt);

} // namespace orvane
