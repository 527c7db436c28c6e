#pragma once

#include <cstdint>
#include <functional>

#include "image/FrameImage.h"

namespace orvane::test {

// A picture whose grey value at (x, y) (picture coordinates, y downward) is
// grey(x, y): 24/32 bits with blue = green = red, so the grey conversion
// gives the value back; 8 bits as it is; 16 bits as value << 2.
inline FrameImage GreyPicture(int width, int height, int bitsPerPixel, const std::function<int(int, int)>& grey)
{
    FrameImage image;
    image.Create(width, height, bitsPerPixel);
    const int bytes = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.Row(y);
        for (int x = 0; x < width; ++x) {
            const int v = grey(x, y);
            std::uint8_t* pixel = row + static_cast<std::ptrdiff_t>(x) * bytes;
            if (bytes == 2) {
                const int packed = v << 2;
                pixel[0] = static_cast<std::uint8_t>(packed & 0xFF);
                pixel[1] = static_cast<std::uint8_t>(packed >> 8);
            } else {
                for (int b = 0; b < std::min(bytes, 3); ++b) {
                    pixel[b] = static_cast<std::uint8_t>(v);
                }
            }
        }
    }
    return image;
}

} // namespace orvane::test
