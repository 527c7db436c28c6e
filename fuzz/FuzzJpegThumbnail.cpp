#include <cstddef>
#include <cstdint>
#include <span>

#include "files/JpegCodec.h"

// The first two bytes choose the thumbnail size (1..256 each way), so that
// every DCT scale and the first-scans-only path are reached; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    orvane::FrameImage image;
    (void)orvane::DecodeJpegForSize(std::span(data + 2, size - 2), image, data[0] + 1, data[1] + 1);
    return 0;
}
