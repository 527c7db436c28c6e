#pragma once

#include <cstddef>
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

// The picture in top-down rows of width * 3 bytes, blue-green-red: the
// specimen where it starts, without noise.
[[nodiscard]] std::vector<std::uint8_t> DrawDemoPicture();

// The live demo: the specimen drifts slowly over the micrometer (a figure of
// eight up to kDemoDriftRadius px across, once every kDemoDriftFrames frames)
// and each byte carries a little sensor noise (at most kDemoNoise either way),
// so that a live picture is visibly live. The scale stays put, so it can
// still be calibrated against.
inline constexpr int kDemoDriftRadius = 24;
inline constexpr int kDemoDriftFrames = 30 * kDemoFramesPerSecond;
inline constexpr int kDemoNoise = 3;

struct DemoOffset {
    int x = 0;
    int y = 0;
};
// How far the specimen has drifted at `frame` (0 at frame 0).
[[nodiscard]] DemoOffset DemoDrift(std::uint64_t frame);

// Draws demo frames; the fixed stage is drawn once. Any thread, one at a time.
class DemoScene {
public:
    DemoScene();
    [[nodiscard]] static constexpr std::size_t FrameBytes()
    {
        return static_cast<std::size_t>(kDemoWidth) * kDemoHeight * 3;
    }
    // Frame `frame` into `out` (FrameBytes() bytes, top-down rows), put out
    // of focus by `blurRadius` (BlurDemoPicture; 0 sharp).
    void DrawFrame(std::uint64_t frame, std::uint8_t* out, int blurRadius = 0) const;

private:
    std::vector<std::uint8_t> m_stage; // field and scale, no specimen
    std::vector<std::int8_t> m_noise;  // a table read from a new place each frame
};

// The demo camera out of focus: each byte the mean of the (2r + 1) x (2r + 1)
// square around it (rows and columns clamped at the edges), for r = `radius`
// cut to 0 .. kDemoMaxBlur. The picture is a demo picture's size.
inline constexpr int kDemoMaxBlur = 20;
[[nodiscard]] std::vector<std::uint8_t> BlurDemoPicture(const std::vector<std::uint8_t>& picture, int radius);

} // namespace orvane
