#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// Pictures every decoder refuses before it allocates anything for them: a
// damaged or hostile header must not make the program ask for gigabytes.
inline constexpr std::int64_t kMaxDecodeSide = 32768;
inline constexpr std::int64_t kMaxDecodedBytes = std::int64_t{1} << 30; // 1 GiB of decoded pixels

// Whole files larger than this are not read into memory for decoding.
inline constexpr std::size_t kMaxImageFileBytes = std::size_t{1} << 30;

// True when a width × height picture at bitsPerPixel, rows padded to 4 bytes,
// stays within both limits.
[[nodiscard]] constexpr bool WithinDecodeLimits(std::int64_t width, std::int64_t height, int bitsPerPixel)
{
    if (width <= 0 || height <= 0 || width > kMaxDecodeSide || height > kMaxDecodeSide || bitsPerPixel <= 0) {
        return false;
    }
    const std::int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
    return stride * height <= kMaxDecodedBytes;
}

} // namespace orvane
