#include "files/ImageSizeProbe.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace orvane {
namespace {

// Random access to a file that never reads past its end.
class BoundedFile {
public:
    explicit BoundedFile(const std::filesystem::path& path) : m_stream(path, std::ios::binary)
    {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        m_size = error ? 0 : size;
    }

    [[nodiscard]] bool ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t count)
    {
        if (!m_stream || offset > m_size || count > m_size - offset) {
            return false;
        }
        m_stream.seekg(static_cast<std::streamoff>(offset));
        m_stream.read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(m_stream.gcount()) == count;
    }

private:
    std::ifstream m_stream;
    std::uint64_t m_size = 0;
};

[[nodiscard]] std::uint32_t Le16(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8);
}
[[nodiscard]] std::uint32_t Le32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
[[nodiscard]] std::uint32_t Be16(const std::uint8_t* p)
{
    return (p[0] << 8) | p[1];
}
[[nodiscard]] std::uint32_t Be32(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

std::optional<ImageSize> Positive(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) {
        return std::nullopt;
    }
    return ImageSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<ImageSize> ProbeBmp(BoundedFile& file)
{
    std::array<std::uint8_t, 12> info{};
    if (!file.ReadAt(14, info.data(), info.size())) {
        return std::nullopt;
    }
    if (Le32(info.data()) == 12) { // OS/2 core header: 16-bit sizes
        return Positive(Le16(info.data() + 4), Le16(info.data() + 6));
    }
    const auto height = static_cast<std::int32_t>(Le32(info.data() + 8)); // negative: top-down rows
    return Positive(static_cast<std::int32_t>(Le32(info.data() + 4)), std::abs(static_cast<std::int64_t>(height)));
}

// Walks the marker segments up to the first frame header (SOFn).
std::optional<ImageSize> ProbeJpeg(BoundedFile& file)
{
    std::uint64_t position = 2;
    std::array<std::uint8_t, 9> segment{};
    while (file.ReadAt(position, segment.data(), 2)) {
        if (segment[0] != 0xFF) {
            return std::nullopt;
        }
        const std::uint8_t marker = segment[1];
        if (marker == 0xFF) { // fill byte before a marker
            ++position;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // markers without a length
            position += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) { // end of image or scan data before any frame header
            return std::nullopt;
        }
        if (!file.ReadAt(position, segment.data(), 4)) {
            return std::nullopt;
        }
        const std::uint32_t length = Be16(segment.data() + 2);
        if (length < 2) {
            return std::nullopt;
        }
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            if (length < 7 || !file.ReadAt(position, segment.data(), segment.size())) {
                return std::nullopt;
            }
            return Positive(Be16(segment.data() + 7), Be16(segment.data() + 5));
        }
        position += 2 + length;
    }
    return std::nullopt;
}

std::optional<ImageSize> ProbePng(BoundedFile& file)
{
    std::array<std::uint8_t, 16> header{};
    if (!file.ReadAt(8, header.data(), header.size()) || std::memcmp(header.data() + 4, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    return Positive(Be32(header.data() + 8), Be32(header.data() + 12));
}

std::optional<ImageSize> ProbeGif(BoundedFile& file)
{
    std::array<std::uint8_t, 4> screen{};
    if (!file.ReadAt(6, screen.data(), screen.size())) {
        return std::nullopt;
    }
    return Positive(Le16(screen.data()), Le16(screen.data() + 2));
}

// Image width (256) and length (257) from the first directory.
std::optional<ImageSize> ProbeTiff(BoundedFile& file, bool littleEndian)
{
    const auto u16 = [littleEndian](const std::uint8_t* p) { return littleEndian ? Le16(p) : Be16(p); };
    const auto u32 = [littleEndian](const std::uint8_t* p) { return littleEndian ? Le32(p) : Be32(p); };
    std::array<std::uint8_t, 12> entry{};
    if (!file.ReadAt(4, entry.data(), 4)) {
        return std::nullopt;
    }
    const std::uint64_t directory = u32(entry.data());
    if (!file.ReadAt(directory, entry.data(), 2)) {
        return std::nullopt;
    }
    const std::uint32_t count = u16(entry.data());
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::array<bool, 2> seen{};
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!file.ReadAt(directory + 2 + 12ULL * i, entry.data(), entry.size())) {
            return std::nullopt;
        }
        const std::uint32_t tag = u16(entry.data());
        if (tag != 256 && tag != 257) {
            continue;
        }
        const std::uint32_t type = u16(entry.data() + 2);
        std::int64_t value = 0;
        if (type == 3) { // SHORT
            value = u16(entry.data() + 8);
        } else if (type == 4) { // LONG
            value = u32(entry.data() + 8);
        }
        // libtiff keeps the first of duplicated tags and ignores the rest.
        std::int64_t& field = tag == 256 ? width : height;
        if (!seen[tag - 256]) {
            field = value;
            seen[tag - 256] = true;
        }
    }
    return Positive(width, height);
}

} // namespace

std::optional<ImageSize> ProbeImageSize(const std::filesystem::path& path)
{
    BoundedFile file(path);
    std::array<std::uint8_t, 8> magic{};
    if (!file.ReadAt(0, magic.data(), 4)) {
        return std::nullopt;
    }
    if (magic[0] == 'B' && magic[1] == 'M') {
        return ProbeBmp(file);
    }
    if (magic[0] == 0xFF && magic[1] == 0xD8) {
        return ProbeJpeg(file);
    }
    if (std::memcmp(magic.data(), "GIF8", 4) == 0) {
        return ProbeGif(file);
    }
    if (std::memcmp(magic.data(), "II*\0", 4) == 0 || std::memcmp(magic.data(), "MM\0*", 4) == 0) {
        return ProbeTiff(file, magic[0] == 'I');
    }
    static constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.ReadAt(0, magic.data(), magic.size()) && magic == kPngSignature) {
        return ProbePng(file);
    }
    return std::nullopt;
}

} // namespace orvane
