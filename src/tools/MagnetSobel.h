#pragma once

#include <cstdint>

// Row kernels shared by the magnet and the focus meters: grey conversion and
// the Sobel magnitude, one picture row at a time, written as plain loops
// without per-pixel branches so that the compiler vectorises them (the file
// is built with -O3 and an AVX2 clone chosen at run time).
namespace orvane::sobel {

// `width` pixels of `bytesPerPixel` (3 or 4) bytes, blue-green-red ->
// (11 * red + 30 * green + 59 * blue) / 100.
void GreyRow(const std::uint8_t* pixels, int bytesPerPixel, int width, std::uint16_t* grey);
// 16-bit pixels (little-endian) -> bits 2..9, kept to 8 bits.
void GreyRow16(const std::uint8_t* pixels, int width, std::uint16_t* grey);
// 8-bit pixels as they are.
void GreyRow8(const std::uint8_t* pixels, int width, std::uint16_t* grey);

// Edge values of columns 1 .. width - 2 of the middle row `centre`, with
// `above` and `below` its neighbour rows (either order: the magnitude does
// not care): min(255, trunc(sqrtf(gx^2 + gy^2))), set to 0 where the centre
// grey lies outside [keepLow, keepHigh]. Columns 0 and width - 1 get 0.
void EdgeRow(const std::uint16_t* above, const std::uint16_t* centre, const std::uint16_t* below, int width,
             int keepLow, int keepHigh, std::uint8_t* edge);

// 255 where a byte is greater than `limit`, else 0.
void ThresholdRow(const std::uint8_t* values, int width, std::uint8_t limit, std::uint8_t* out);

// Sobel magnitudes sqrtf(gx^2 + gy^2) of columns first .. last (inclusive,
// each with both neighbours inside the rows) into magnitude[0 ..]; the number
// of them that are greater than 0 is returned.
int MagnitudeRow(const std::uint16_t* above, const std::uint16_t* centre, const std::uint16_t* below, int first,
                 int last, float* magnitude);

} // namespace orvane::sobel
