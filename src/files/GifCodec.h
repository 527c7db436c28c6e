#pragma once

#include <cstdint>
#include <span>

#include "image/FrameImage.h"

namespace orvane {

// Decodes the first picture of a GIF into a 24-bit image of the logical
// screen's size (the picture's own extent when the screen has none).
// Transparent pixels and the part of the screen the picture leaves uncovered
// are white, as viewers show them on a light page. On failure the image is
// empty.
[[nodiscard]] bool DecodeGif(std::span<const std::uint8_t> data, FrameImage& image);

} // namespace orvane
