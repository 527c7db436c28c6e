#pragma once

#include <filesystem>
#include <optional>

namespace orvane {

struct ImageSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const ImageSize&, const ImageSize&) = default;
};

// The pixel size an image file declares in its header, without decoding the
// pixels: BMP, JPEG (the first frame header), PNG, GIF (the logical screen)
// and TIFF (the first directory). The format is recognised by its signature,
// not by the extension. Reads are bounded by the file's size; nothing for a
// missing, unknown, truncated file or a size that is not positive.
[[nodiscard]] std::optional<ImageSize> ProbeImageSize(const std::filesystem::path& path);

} // namespace orvane
