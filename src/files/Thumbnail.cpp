#include "files/Thumbnail.h"

#include <algorithm>
#include <vector>

namespace orvane {

int ThumbnailSourceIndex(int destination, int sourceExtent, int destinationExtent)
{
    if (sourceExtent <= 0 || destinationExtent <= 0) {
        return 0;
    }
    const float ratio = static_cast<float>(sourceExtent) / static_cast<float>(destinationExtent);
    const int index = static_cast<int>(ratio * static_cast<float>(destination));
    return std::clamp(index, 0, sourceExtent - 1);
}

// One pass over the destination with per-depth pixel conversion, so that 8-
// and 16-bit sources need no full-size 24-bit copy first.
bool ScaleToThumbnail(const FrameImage& source, FrameImage& thumbnail, int width, int height)
{
    const int depth = source.bitsPerPixel();
    if (source.isEmpty() || (depth != 8 && depth != 16 && depth != 24 && depth != 32) ||
        !thumbnail.Create(width, height, 24)) {
        thumbnail.Release();
        return false;
    }
    const int bytesPerPixel = source.bytesPerPixel();
    std::vector<std::size_t> columnOffset(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columnOffset[static_cast<std::size_t>(x)] =
            static_cast<std::size_t>(ThumbnailSourceIndex(x, source.width(), width)) * bytesPerPixel;
    }
    const auto& table = source.colorTable();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* sourceRow =
            source.bits() +
            static_cast<std::size_t>(ThumbnailSourceIndex(y, source.height(), height)) * source.stride();
        std::uint8_t* out = thumbnail.bits() + static_cast<std::size_t>(y) * thumbnail.stride();
        for (int x = 0; x < width; ++x, out += 3) {
            const std::uint8_t* in = sourceRow + columnOffset[static_cast<std::size_t>(x)];
            switch (depth) {
            case 8: {
                const RGBQUAD& entry = table[*in];
                out[0] = entry.rgbBlue;
                out[1] = entry.rgbGreen;
                out[2] = entry.rgbRed;
                break;
            }
            case 16: {
                const auto value = static_cast<unsigned>(in[0] | (in[1] << 8));
                out[0] = out[1] = out[2] = static_cast<std::uint8_t>(value >> 2);
                break;
            }
            default:
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                break;
            }
        }
    }
    return true;
}

} // namespace orvane
