#pragma once

#include <cstddef>
#include <cstdint>

#include "image/FrameImage.h"

namespace orvane::bench {

// A 24-bit picture whose bytes all differ from their neighbours, so that no
// copy or resample can take a shortcut over flat areas.
inline FrameImage PatternedFrame(int width, int height)
{
    FrameImage frame;
    frame.Create(width, height, 24);
    std::uint8_t* p = frame.bits();
    for (std::size_t i = 0; i < frame.byteCount(); ++i) {
        p[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
    }
    return frame;
}

} // namespace orvane::bench
