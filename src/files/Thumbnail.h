#pragma once

#include <cstdint>
#include <string>

#include "image/FrameImage.h"

namespace orvane {

// One thumbnail of the image browser: a node of CThumbNail.
struct THUMBNAIL {
    std::int32_t id = 0; // MakeRecordId(TickCount(), rand()) when made
    std::int32_t no = 0; // 0-based position, kept current by CThumbNail
    FrameImage picture;  // 24 bits, CThumbNail::kWidth × CThumbNail::kHeight
    std::string path;    // full path of the image file, UTF-8, taken verbatim
    std::int32_t mark = 0;
    THUMBNAIL* prev = nullptr;
    THUMBNAIL* next = nullptr;
};

// Nearest-neighbour source column (row) of destination column (row) d:
// trunc(float(sourceExtent) / float(destinationExtent) * d) in single
// precision, clamped to 0 .. sourceExtent - 1 - the frame image resampler's
// mapping.
[[nodiscard]] int ThumbnailSourceIndex(int destination, int sourceExtent, int destinationExtent);

// `source` scaled nearest-neighbour into a new width × height 24-bit
// `thumbnail`, rows and columns mapped with ThumbnailSourceIndex in buffer
// order (row 0 is the bottom row on both sides). 24- and 32-bit pixels give
// their blue, green and red bytes; 8-bit pixels go through the image's colour
// table (grey for the grey ramp); 16-bit pixels become grey of bits 2 to 9 of
// their value. False (thumbnail empty) for an empty source or another depth.
[[nodiscard]] bool ScaleToThumbnail(const FrameImage& source, FrameImage& thumbnail, int width, int height);

} // namespace orvane
