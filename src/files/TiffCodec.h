#pragma once

#include <cstdint>
#include <span>

#include "image/FrameImage.h"

namespace orvane {

// Decodes the first picture of a TIFF as stored: one 8-bit sample gives an
// 8-bit image with its grey (or palette) colour table, one 16-bit sample a
// 16-bit image with the sample's bytes repacked for the frame image's 10-bit
// layout, three or four 8-bit samples a 24- or 32-bit image in blue-green-red
// order. Layouts that cannot be read that way (tiles, separate planes, other
// sample sizes, CMYK, float samples) are refused. On failure the image is
// empty. libtiff's error callbacks live in TiffCodec.cpp.
[[nodiscard]] bool DecodeTiff(std::span<const std::uint8_t> data, FrameImage& image);

} // namespace orvane
