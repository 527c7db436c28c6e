#pragma once

#include <cstdint>

#include "image/FrameImage.h"

// Per-pixel operations for FrameImage::ApplyOp (PixelOp) and
// FrameImage::ApplyScaledOp (ScaledPixelOp). Rectangles are in buffer
// coordinates: row 0 is the first row in memory, the bottom row of the picture.
// Each returns 0 when its arguments do not fit it (a byte depth it does not
// handle, null pixels, an empty rectangle) and then writes nothing.
//
// A PixelOp trusts the rectangle it is given to lie inside both images (as
// ApplyOp's clipping guarantees); when source and destination are the same
// pixels it works from a copy of the source rectangle, so in-place flips work.
namespace orvane {

// ---- Nearest-neighbour resampling (ScaledPixelOp) -----------------------
//
// Destination pixel (dstRect.left + j, dstRect.top + i) takes source column
// srcRect.left + trunc(float(srcRect width) / float(dstRect width) * j) and row
// srcRect.top + trunc(float(srcRect height) / float(dstRect height) * i), in
// single precision, clamped to the source image. A rectangle that does not
// start at 0, 0 shifts the sampling by its offset (buffer coordinates, like
// every rectangle here). Only the part of dstRect inside the destination image
// is written; reads never leave the source image.

// Three bytes per pixel (24 or 32 bits on either side).
int Resample24To24(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& dstRect, const RECT& srcRect,
                   int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dstBytesPerPixel, int srcBytesPerPixel,
                   int dstStride, int srcStride, std::intptr_t extra1, std::intptr_t extra2);
// The source pixel's first byte into the destination pixel's first byte; the
// destination's other bytes are left as they are.
int ResampleFirstByte(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& dstRect, const RECT& srcRect,
                      int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dstBytesPerPixel,
                      int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1, std::intptr_t extra2);
// The source pixel's first byte into the first three bytes of the destination pixel (grey).
int Resample8To24(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& dstRect, const RECT& srcRect,
                  int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dstBytesPerPixel, int srcBytesPerPixel,
                  int dstStride, int srcStride, std::intptr_t extra1, std::intptr_t extra2);

// ---- Counting and conversions (PixelOp) ----------------------------------
//
// Source rectangle srcRect goes to the destination rectangle of the same size
// at (x, y); "with vertical flip" sends source row srcRect.top + k to
// destination row y + height - 1 - k.

// Number of source pixels in srcRect whose first byte is 0; the destination is not touched.
int CountZeroSamples(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                     int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                     std::intptr_t extra2);
// 16 bits -> grey in the first three bytes: v = (high << 6 | low >> 2), kept to 8 bits.
int Convert16To24Grey(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                      int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                      std::intptr_t extra2);
// 16 bits -> 8 bits: v = (high << 6 | low >> 2), kept to 8 bits.
int Convert16To8(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                 int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                 std::intptr_t extra2);
// Camera packing of a 10-bit sample (high byte = bits 2-9, low byte bits 0-1 =
// bits 0-1) to the plain little-endian value: low' = (high << 2) | (low & 3),
// high' = high >> 6.
int Repack16(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
             int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
             std::intptr_t extra2);
int Repack16Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                 int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                 std::intptr_t extra2);
// Bytes 0 and 2 of every 24-bit pixel exchanged (red-green-blue <-> blue-green-red).
int SwapRedBlue24(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                  int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                  std::intptr_t extra2);
int SwapRedBlue24Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                      int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                      std::intptr_t extra2);
// Bytes 0 and 2 of every 32-bit pixel exchanged, alpha kept, rows flipped.
int SwapRedBlue32Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                      int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                      std::intptr_t extra2);
// 8-bit rows copied with the row order reversed.
int Copy8Flip(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
              int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
              std::intptr_t extra2);

// A rectangle given in picture rows (row 0 at the top) in the buffer rows of an
// image of `height` rows, and back: top' = height - bottom, bottom' = height - top.
[[nodiscard]] constexpr RECT FlipRectRows(const RECT& rect, int height)
{
    return RECT{rect.left, height - rect.bottom, rect.right, height - rect.top};
}

} // namespace orvane
