#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzSupport.h"
#include "files/JpegCodec.h"
#include "files/JpegThumbnail.h"

// The JFIF extension thumbnail a saved JPEG carries: found in the header
// bytes, then decoded as the thumbnail strip does.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto found = orvane::FindEmbeddedThumbnail(std::span(data, size));
    if (!found) {
        return 0;
    }
    if (found->jpeg.data() < data || found->jpeg.data() + found->jpeg.size() > data + size) {
        orvane::fuzz::Fail("embedded thumbnail lies outside the file");
    }
    orvane::FrameImage image;
    (void)orvane::DecodeJpeg(found->jpeg, image);
    return 0;
}
