#pragma once

#include <cstdint>
#include <vector>

namespace orvane::test {

// Bytes of a BMP file (or, without the file header, a packed DIB) built field
// by field, so that tests can break any one of them.
struct BmpSpec {
    std::int32_t width = 4;
    std::int32_t height = 3; // negative: rows stored top-down
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t coloursUsed = 0;
    std::uint32_t tableEntries = 0; // entries actually written
    bool bitfields = false;         // write three plain masks after a 40-byte header
    std::uint32_t dataOffsetDelta = 0;
    int writtenRows = -1; // rows of pixels actually written; -1: all
};

inline void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

inline std::size_t StoredRowBytes(const BmpSpec& layout)
{
    return ((static_cast<std::size_t>(layout.bitsPerPixel) * static_cast<std::size_t>(layout.width) + 31) / 32) * 4;
}

// Packed DIB: header, masks, table (entry i = grey i*17 with blue = i), then
// stored rows whose bytes are pixel(storedRow, byteIndex).
template <class PixelByte> std::vector<std::uint8_t> MakeDib(const BmpSpec& layout, PixelByte pixel)
{
    std::vector<std::uint8_t> out;
    PutU32(out, layout.headerSize);
    PutU32(out, static_cast<std::uint32_t>(layout.width));
    PutU32(out, static_cast<std::uint32_t>(layout.height));
    PutU16(out, 1);
    PutU16(out, layout.bitsPerPixel);
    PutU32(out, layout.compression);
    PutU32(out, 0);
    PutU32(out, 2835);
    PutU32(out, 2835);
    PutU32(out, layout.coloursUsed);
    PutU32(out, 0);
    out.resize(layout.headerSize, 0);
    if (layout.bitfields) {
        if (layout.bitsPerPixel == 16) {
            PutU32(out, 0x7C00);
            PutU32(out, 0x03E0);
            PutU32(out, 0x001F);
        } else {
            PutU32(out, 0x00FF0000);
            PutU32(out, 0x0000FF00);
            PutU32(out, 0x000000FF);
        }
    }
    for (std::uint32_t i = 0; i < layout.tableEntries; ++i) {
        out.push_back(static_cast<std::uint8_t>(i));
        out.push_back(static_cast<std::uint8_t>(i * 17));
        out.push_back(static_cast<std::uint8_t>(255 - i));
        out.push_back(0);
    }
    out.resize(out.size() + layout.dataOffsetDelta, 0xEE);
    const std::size_t rows = layout.writtenRows >= 0
                                 ? static_cast<std::size_t>(layout.writtenRows)
                                 : static_cast<std::size_t>(layout.height < 0 ? -layout.height : layout.height);
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t b = 0; b < StoredRowBytes(layout); ++b) {
            out.push_back(pixel(row, b));
        }
    }
    return out;
}

// BMP file: "BM", file size, reserved, data offset, then the packed DIB.
inline std::vector<std::uint8_t> WithFileHeader(const std::vector<std::uint8_t>& dib, std::uint32_t dataOffset)
{
    std::vector<std::uint8_t> out{'B', 'M'};
    PutU32(out, static_cast<std::uint32_t>(dib.size() + 14));
    PutU32(out, 0);
    PutU32(out, dataOffset);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

} // namespace orvane::test
