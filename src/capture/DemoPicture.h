#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

// The built-in demo camera's picture: a stage micrometer seen through a
// microscope. A horizontal scale with a tick every 10 px (longer every 50 px,
// numbered every 100 px) across the middle, and a few round dark particles on
// a light field.
inline constexpr int kDemoWidth = 1280;
inline constexpr int kDemoHeight = 1024;
inline constexpr int kDemoTickSpacing = 10;
inline constexpr int kDemoFramesPerSecond = 15;

// One particle of the demo picture, in picture pixels.
struct DemoParticle {
    int x;
    int y;
    int radius;
};
inline constexpr DemoParticle kDemoParticles[] = {
    {220, 230, 34}, {960, 250, 20}, {640, 820, 48}, {300, 790, 14}, {1070, 760, 27},
};
// The row of the scale's base line; ticks rise above it.
inline constexpr int kDemoScaleRow = 540;

// The picture in top-down rows of width * 3 bytes, blue-green-red.
[[nodiscard]] std::vector<std::uint8_t> DrawDemoPicture();

// The demo camera out of focus: each byte the mean of the (2r + 1) x (2r + 1)
// square around it (rows and columns clamped at the edges), for r = `radius`
// cut to 0 .. kDemoMaxBlur. The picture is a demo picture's size.
inline constexpr int kDemoMaxBlur = 20;
[[nodiscard]] std::vector<std::uint8_t> BlurDemoPicture(const std::vector<std::uint8_t>& picture, int radius);

} // namespace orvane
