#include <cstddef>
#include <cstdint>

#include "image/FrameImage.h"

// A BMP file image as the image folder and the thumbnail index hold them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvane::FrameImage image;
    (void)image.LoadBmpImage(data, size);
    return 0;
}
