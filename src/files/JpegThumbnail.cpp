#include "files/JpegThumbnail.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string_view>

#include <system_error>

#include "files/JpegCodec.h"

namespace orvane {
namespace {

constexpr std::string_view kJfxxIdentifier{"JFXX\0", 5};
constexpr std::uint8_t kJpegThumbnailCode = 0x10;
// The segment length field counts itself: 65535 - 2 bytes of contents at most.
constexpr std::size_t kMaxSegmentContents = 65533;
// JFIF, the extension segment and the tables come before the frame header;
// this is far more than the program ever writes there.
constexpr std::size_t kMaxHeaderBytes = 256 * 1024;
// Quality of the embedded picture: small, and clean at thumbnail size.
constexpr int kThumbnailQuality = 85;

[[nodiscard]] std::uint32_t Be16(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 8) | p[1];
}

[[nodiscard]] bool IsFrameHeader(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

struct Segment {
    std::uint8_t marker = 0;
    std::span<const std::uint8_t> contents; // after the length field
};

// Calls `visit` for each marker segment up to and including the first frame
// header; false when the bytes end or break off before it.
template <typename Visit> bool WalkToFrameHeader(std::span<const std::uint8_t> data, Visit&& visit)
{
    if (data.size() < 2 || data[0] != 0xFF || data[1] != 0xD8) {
        return false;
    }
    std::size_t position = 2;
    while (position + 2 <= data.size()) {
        if (data[position] != 0xFF) {
            return false;
        }
        const std::uint8_t marker = data[position + 1];
        if (marker == 0xFF) { // fill byte
            ++position;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            position += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA || position + 4 > data.size()) {
            return false;
        }
        const std::uint32_t length = Be16(data.data() + position + 2);
        if (length < 2 || length > data.size() - position - 2) {
            return false;
        }
        const Segment segment{marker, data.subspan(position + 4, length - 2)};
        visit(segment);
        if (IsFrameHeader(marker)) {
            return true;
        }
        position += 2 + length;
    }
    return false;
}

// Width and height of a frame header's contents (precision, height, width ...).
[[nodiscard]] std::optional<EmbeddedThumbnailSize> FrameSize(const Segment& frame)
{
    if (frame.contents.size() < 5) {
        return std::nullopt;
    }
    return EmbeddedThumbnailSize{static_cast<int>(Be16(frame.contents.data() + 3)),
                                 static_cast<int>(Be16(frame.contents.data() + 1))};
}

[[nodiscard]] std::optional<EmbeddedThumbnailSize> JpegFrameSize(std::span<const std::uint8_t> jpeg)
{
    std::optional<EmbeddedThumbnailSize> size;
    WalkToFrameHeader(jpeg, [&size](const Segment& segment) {
        if (IsFrameHeader(segment.marker)) {
            size = FrameSize(segment);
        }
    });
    return size;
}

// Blue, green and red of pixel x of a row, whatever the depth.
void PixelBgr(const FrameImage& image, const std::uint8_t* row, int x, std::array<std::uint32_t, 3>& bgr)
{
    switch (image.bitsPerPixel()) {
    case 8: {
        const RGBQUAD& entry = image.colorTable()[row[x]];
        bgr = {entry.rgbBlue, entry.rgbGreen, entry.rgbRed};
        break;
    }
    case 24: bgr = {row[3 * x], row[3 * x + 1], row[3 * x + 2]}; break;
    default: bgr = {row[4 * x], row[4 * x + 1], row[4 * x + 2]}; break;
    }
}

// `image` reduced to size.width × size.height, each pixel the mean of the
// source pixels it covers.
[[nodiscard]] bool AverageDown(const FrameImage& image, EmbeddedThumbnailSize size, FrameImage& out)
{
    if (!out.Create(size.width, size.height, 24)) {
        return false;
    }
    const int width = image.width();
    const int height = image.height();
    std::vector<int> columnOf(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columnOf[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<std::int64_t>(x) * size.width / width);
    }
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(size.width) * 4);
    int sourceRow = 0;
    std::array<std::uint32_t, 3> bgr{};
    for (int y = 0; y < size.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int rowEnd = static_cast<int>(static_cast<std::int64_t>(y + 1) * height / size.height);
        for (; sourceRow < rowEnd; ++sourceRow) {
            const std::uint8_t* row = image.Row(sourceRow);
            for (int x = 0; x < width; ++x) {
                PixelBgr(image, row, x, bgr);
                std::uint64_t* sum = &sums[static_cast<std::size_t>(columnOf[static_cast<std::size_t>(x)]) * 4];
                sum[0] += bgr[0];
                sum[1] += bgr[1];
                sum[2] += bgr[2];
                ++sum[3];
            }
        }
        std::uint8_t* outRow = out.Row(y);
        for (int x = 0; x < size.width; ++x) {
            const std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * 4];
            const std::uint64_t count = std::max<std::uint64_t>(sum[3], 1);
            for (int c = 0; c < 3; ++c) {
                outRow[3 * x + c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
            }
        }
    }
    return true;
}

} // namespace

EmbeddedThumbnailSize EmbeddedThumbnailSizeFor(int width, int height)
{
    if (width <= 0 || height <= 0) {
        return {};
    }
    const double scale = std::min({1.0, static_cast<double>(kEmbeddedThumbnailMaxWidth) / width,
                                   static_cast<double>(kEmbeddedThumbnailMaxHeight) / height});
    return {std::max(1, static_cast<int>(std::lround(width * scale))),
            std::max(1, static_cast<int>(std::lround(height * scale)))};
}

std::vector<std::uint8_t> MakeJfxxThumbnailSegment(const FrameImage& image)
{
    const int bits = image.bitsPerPixel();
    if (image.isEmpty() || (bits != 8 && bits != 24 && bits != 32)) {
        return {};
    }
    FrameImage small;
    if (!AverageDown(image, EmbeddedThumbnailSizeFor(image.width(), image.height()), small)) {
        return {};
    }
    const std::vector<std::uint8_t> jpeg = EncodeBaselineJpeg(small, kThumbnailQuality);
    if (jpeg.empty() || jpeg.size() + kJfxxIdentifier.size() + 1 > kMaxSegmentContents) {
        return {};
    }
    std::vector<std::uint8_t> segment(kJfxxIdentifier.begin(), kJfxxIdentifier.end());
    segment.push_back(kJpegThumbnailCode);
    segment.insert(segment.end(), jpeg.begin(), jpeg.end());
    return segment;
}

std::optional<EmbeddedThumbnailFound> FindEmbeddedThumbnail(std::span<const std::uint8_t> header)
{
    std::span<const std::uint8_t> thumbnail;
    std::optional<EmbeddedThumbnailSize> picture;
    const bool complete = WalkToFrameHeader(header, [&](const Segment& segment) {
        if (segment.marker == 0xE0 && segment.contents.size() > kJfxxIdentifier.size() + 1 &&
            std::memcmp(segment.contents.data(), kJfxxIdentifier.data(), kJfxxIdentifier.size()) == 0 &&
            segment.contents[kJfxxIdentifier.size()] == kJpegThumbnailCode && thumbnail.empty()) {
            thumbnail = segment.contents.subspan(kJfxxIdentifier.size() + 1);
        } else if (IsFrameHeader(segment.marker)) {
            picture = FrameSize(segment);
        }
    });
    if (!complete || thumbnail.empty() || !picture) {
        return std::nullopt;
    }
    // Only the reduction this program writes stands for the picture.
    if (JpegFrameSize(thumbnail) != EmbeddedThumbnailSizeFor(picture->width, picture->height)) {
        return std::nullopt;
    }
    return EmbeddedThumbnailFound{thumbnail, picture->width, picture->height};
}

bool ReadEmbeddedThumbnail(const std::filesystem::path& path, FrameImage& image)
{
    image.Release();
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    if (error) {
        return false;
    }
    std::vector<std::uint8_t> header(static_cast<std::size_t>(std::min<std::uintmax_t>(fileSize, kMaxHeaderBytes)));
    std::ifstream stream(path, std::ios::binary);
    stream.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(std::max<std::streamsize>(stream.gcount(), 0)));
    const std::optional<EmbeddedThumbnailFound> found = FindEmbeddedThumbnail(header);
    if (!found) {
        return false;
    }
    if (!DecodeJpeg(found->jpeg, image)) {
        return false;
    }
    const EmbeddedThumbnailSize expected = EmbeddedThumbnailSizeFor(found->pictureWidth, found->pictureHeight);
    if (image.width() != expected.width || image.height() != expected.height) {
        image.Release();
        return false;
    }
    return true;
}

} // namespace orvane
