#include "tools/MagnetSobel.h"

#include <cmath>

// One clone for AVX2 and one for any x86-64, picked when the program loads;
// other machines build the plain loops.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVANE_SOBEL_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORVANE_SOBEL_CLONES
#endif

namespace orvane::sobel {

namespace {

template <int Bpp>
[[gnu::always_inline]] inline void GreyPixels(const std::uint8_t* __restrict pixels, int width,
                                              std::uint16_t* __restrict grey)
{
    // 16-bit lanes throughout: the weighted sum is at most 25500, and the
    // division by a constant becomes a multiplication the vectoriser knows.
    for (int x = 0; x < width; ++x) {
        const std::uint16_t blue = pixels[x * Bpp];
        const std::uint16_t green = pixels[x * Bpp + 1];
        const std::uint16_t red = pixels[x * Bpp + 2];
        const auto weighted = static_cast<std::uint16_t>(11 * red + 30 * green + 59 * blue);
        grey[x] = static_cast<std::uint16_t>(weighted / 100);
    }
}

} // namespace

ORVANE_SOBEL_CLONES void GreyRow(const std::uint8_t* pixels, int bytesPerPixel, int width, std::uint16_t* grey)
{
    if (bytesPerPixel == 4) {
        GreyPixels<4>(pixels, width, grey);
    } else {
        GreyPixels<3>(pixels, width, grey);
    }
}

ORVANE_SOBEL_CLONES void GreyRow16(const std::uint8_t* __restrict pixels, int width, std::uint16_t* __restrict grey)
{
    for (int x = 0; x < width; ++x) {
        const std::uint32_t value = pixels[2 * x] | (static_cast<std::uint32_t>(pixels[2 * x + 1]) << 8);
        grey[x] = static_cast<std::uint16_t>((value >> 2) & 0xFFu);
    }
}

ORVANE_SOBEL_CLONES void GreyRow8(const std::uint8_t* __restrict pixels, int width, std::uint16_t* __restrict grey)
{
    for (int x = 0; x < width; ++x) {
        grey[x] = pixels[x];
    }
}

ORVANE_SOBEL_CLONES void EdgeRow(const std::uint16_t* __restrict above, const std::uint16_t* __restrict centre,
                                 const std::uint16_t* __restrict below, int width, int keepLow, int keepHigh,
                                 std::uint8_t* __restrict edge)
{
    if (width <= 0) {
        return;
    }
    edge[0] = 0;
    edge[width - 1] = 0;
    for (int x = 1; x < width - 1; ++x) {
        // The gradients fit 16 bits (|g| <= 1020) and their squares are exact
        // in single precision, so no 32-bit integer multiply is needed.
        const auto gx = static_cast<std::int16_t>((above[x + 1] + 2 * centre[x + 1] + below[x + 1]) -
                                                  (above[x - 1] + 2 * centre[x - 1] + below[x - 1]));
        const auto gy = static_cast<std::int16_t>((below[x - 1] + 2 * below[x] + below[x + 1]) -
                                                  (above[x - 1] + 2 * above[x] + above[x + 1]));
        const float fx = gx;
        const float fy = gy;
        float m = std::sqrt(fx * fx + fy * fy);
        m = m < 255.0f ? m : 255.0f;
        const int value = static_cast<int>(m);
        const int grey = centre[x];
        edge[x] = static_cast<std::uint8_t>(grey >= keepLow && grey <= keepHigh ? value : 0);
    }
}

ORVANE_SOBEL_CLONES void ThresholdRow(const std::uint8_t* __restrict values, int width, std::uint8_t limit,
                                      std::uint8_t* __restrict out)
{
    for (int x = 0; x < width; ++x) {
        out[x] = values[x] > limit ? 255 : 0;
    }
}

ORVANE_SOBEL_CLONES int MagnitudeRow(const std::uint16_t* __restrict above, const std::uint16_t* __restrict centre,
                                     const std::uint16_t* __restrict below, int first, int last,
                                     float* __restrict magnitude)
{
    int counted = 0;
    for (int x = first; x <= last; ++x) {
        const auto gx = static_cast<std::int16_t>((above[x + 1] + 2 * centre[x + 1] + below[x + 1]) -
                                                  (above[x - 1] + 2 * centre[x - 1] + below[x - 1]));
        const auto gy = static_cast<std::int16_t>((below[x - 1] + 2 * below[x] + below[x + 1]) -
                                                  (above[x - 1] + 2 * above[x] + above[x + 1]));
        const float fx = gx;
        const float fy = gy;
        const float squared = fx * fx + fy * fy;
        magnitude[x - first] = std::sqrt(squared);
        counted += squared > 0.0f ? 1 : 0;
    }
    return counted;
}

} // namespace orvane::sobel
