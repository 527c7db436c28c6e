#include <cstddef>
#include <cstdint>
#include <span>

#include "files/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvane::FrameImage image;
    (void)orvane::DecodeJpeg(std::span(data, size), image);
    return 0;
}
