#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "image/FrameImage.h"

// The small picture the program embeds in the JPEGs it saves, so that the
// folder scan need not decode a camera-sized picture for its thumbnail. It is
// a JFIF extension segment (APP0 "JFXX", extension code 0x10) holding a
// baseline JPEG of at most 160 × 120 pixels with the picture's proportions;
// every JPEG reader that does not know it passes over it.
namespace orvane {

inline constexpr int kEmbeddedThumbnailMaxWidth = 160;
inline constexpr int kEmbeddedThumbnailMaxHeight = 120;

// The embedded picture's size for a width × height picture: the largest that
// fits 160 × 120 with the same proportions, at least 1 × 1.
struct EmbeddedThumbnailSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const EmbeddedThumbnailSize&, const EmbeddedThumbnailSize&) = default;
};
[[nodiscard]] EmbeddedThumbnailSize EmbeddedThumbnailSizeFor(int width, int height);

// The APP0 segment's contents (after its length field) for `image` (8, 24 or
// 32 bits): "JFXX\0", 0x10 and the small picture as a baseline JPEG, each of
// its pixels the mean of the picture pixels it covers. Empty when it cannot
// be made or would not fit one segment.
[[nodiscard]] std::vector<std::uint8_t> MakeJfxxThumbnailSegment(const FrameImage& image);

// Where the embedded thumbnail lies in the header bytes of a JPEG, and the
// picture's own size from its frame header.
struct EmbeddedThumbnailFound {
    std::span<const std::uint8_t> jpeg;
    int pictureWidth = 0;
    int pictureHeight = 0;
};
// Walks the marker segments of `header` (the start of a JPEG file) up to the
// frame header. Nothing when there is no JFXX JPEG thumbnail before it, the
// bytes end first, or the thumbnail is not the picture's 160 × 120 reduction
// (another program's, or one left behind by an edit that changed the size).
[[nodiscard]] std::optional<EmbeddedThumbnailFound> FindEmbeddedThumbnail(std::span<const std::uint8_t> header);

// Reads the start of the file (bounded by its size and by 256 KB) and decodes
// its embedded thumbnail into a 24-bit image. False, image empty, when the
// file has none that fits its picture.
[[nodiscard]] bool ReadEmbeddedThumbnail(const std::filesystem::path& path, FrameImage& image);

} // namespace orvane
