#pragma once

#include <cstdint>
#include <span>

#include "image/FrameImage.h"

namespace orvane {

// Decodes a PNG into a 24-bit image, or a 32-bit one when it has an alpha
// channel or a transparency chunk; the alpha byte is stored inverted
// (255 − alpha, so 0 is opaque). Sixteen-bit channels are cut to 8 bits,
// palettes and grey expanded to colour, and a file gamma corrected for a
// screen gamma of 2.2. One decode runs at a time, from any thread. On
// failure the image is empty. libpng's error handling lives in PngCodec.cpp.
[[nodiscard]] bool DecodePng(std::span<const std::uint8_t> data, FrameImage& image);

} // namespace orvane
