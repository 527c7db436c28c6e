#include "capture/DemoPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace orvane {

namespace {

constexpr std::uint8_t kField = 214; // the lit field
constexpr std::uint8_t kInk = 36;    // scale lines, figures and particles

// 5 x 7 figures, one byte a row, bit 4 the leftmost column.
constexpr std::array<std::array<std::uint8_t, 7>, 10> kFigures{{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
}};
constexpr int kFigureScale = 3;

class Canvas {
public:
    Canvas() : m_pixels(static_cast<std::size_t>(kDemoWidth) * kDemoHeight * 3, kField) {}

    void Set(int x, int y, std::uint8_t grey)
    {
        if (x < 0 || y < 0 || x >= kDemoWidth || y >= kDemoHeight) {
            return;
        }
        const std::size_t at = (static_cast<std::size_t>(y) * kDemoWidth + static_cast<std::size_t>(x)) * 3;
        // A slight blue cast, as a microscope lamp gives.
        m_pixels[at] = static_cast<std::uint8_t>(std::min(255, grey + 10));
        m_pixels[at + 1] = grey;
        m_pixels[at + 2] = static_cast<std::uint8_t>(std::max(0, grey - 6));
    }

    void Box(int left, int top, int right, int bottom, std::uint8_t grey)
    {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                Set(x, y, grey);
            }
        }
    }

    void Figure(int left, int top, int figure)
    {
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 5; ++column) {
                if ((kFigures[static_cast<std::size_t>(figure)][static_cast<std::size_t>(row)] >> (4 - column)) & 1) {
                    Box(left + column * kFigureScale, top + row * kFigureScale, left + (column + 1) * kFigureScale,
                        top + (row + 1) * kFigureScale, kInk);
                }
            }
        }
    }

    // Centred on `centreX`, its bottom at `bottom`.
    void Number(int centreX, int bottom, int value)
    {
        const std::string text = std::to_string(value);
        const int advance = 6 * kFigureScale;
        const int width = static_cast<int>(text.size()) * advance - kFigureScale;
        int left = centreX - width / 2;
        for (const char c : text) {
            Figure(left, bottom - 7 * kFigureScale, c - '0');
            left += advance;
        }
    }

    std::vector<std::uint8_t> Take() { return std::move(m_pixels); }

private:
    std::vector<std::uint8_t> m_pixels;
};

void DrawStage(Canvas& canvas)
{
    constexpr int kFirstTick = 40;
    constexpr int kLastTick = kDemoWidth - 40;
    canvas.Box(kFirstTick, kDemoScaleRow, kLastTick + 2, kDemoScaleRow + 3, kInk);
    for (int x = kFirstTick; x <= kLastTick; x += kDemoTickSpacing) {
        const int step = (x - kFirstTick) / kDemoTickSpacing;
        const int length = step % 10 == 0 ? 60 : (step % 5 == 0 ? 40 : 22);
        canvas.Box(x, kDemoScaleRow - length, x + 2, kDemoScaleRow, kInk);
        if (step % 10 == 0) {
            canvas.Number(x + 1, kDemoScaleRow - length - 8, step / 10);
        }
    }
}

// The specimen's particles as they stand at `offset`, into top-down rows.
void DrawSpecimen(std::uint8_t* pixels, DemoOffset offset)
{
    for (const DemoParticle& particle : kDemoParticles) {
        const int r = particle.radius;
        const int cx = particle.x + offset.x;
        const int cy = particle.y + offset.y;
        for (int y = std::max(0, cy - r); y <= std::min(kDemoHeight - 1, cy + r); ++y) {
            const int dy = y - cy;
            const int half = static_cast<int>(std::sqrt(static_cast<double>(r * r - dy * dy)));
            const int left = std::max(0, cx - half);
            const int right = std::min(kDemoWidth - 1, cx + half);
            std::uint8_t* p = pixels + (static_cast<std::size_t>(y) * kDemoWidth + static_cast<std::size_t>(left)) * 3;
            for (int x = left; x <= right; ++x, p += 3) {
                p[0] = kInk + 10;
                p[1] = kInk;
                p[2] = kInk - 6;
            }
        }
    }
}

constexpr std::size_t kNoiseTableBytes = std::size_t{1} << 16;

} // namespace

std::vector<std::uint8_t> DrawDemoPicture()
{
    Canvas canvas;
    DrawStage(canvas);
    std::vector<std::uint8_t> pixels = canvas.Take();
    DrawSpecimen(pixels.data(), {});
    return pixels;
}

DemoOffset DemoDrift(std::uint64_t frame)
{
    const double turn = 2.0 * std::numbers::pi * static_cast<double>(frame % kDemoDriftFrames) / kDemoDriftFrames;
    return {static_cast<int>(std::lround(kDemoDriftRadius * std::sin(turn))),
            static_cast<int>(std::lround(kDemoDriftRadius / 2.0 * std::sin(2.0 * turn)))};
}

DemoScene::DemoScene() : m_noise(kNoiseTableBytes)
{
    Canvas canvas;
    DrawStage(canvas);
    m_stage = canvas.Take();
    // A fixed pseudo-random table (xorshift): no two frames read it from the same place.
    std::uint32_t state = 2463534242u;
    for (std::int8_t& n : m_noise) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        n = static_cast<std::int8_t>(static_cast<int>(state % (2 * kDemoNoise + 1)) - kDemoNoise);
    }
}

void DemoScene::DrawFrame(std::uint64_t frame, std::uint8_t* out, int blurRadius) const
{
    // The optics first (specimen over the stage, then the focus), the
    // sensor's noise last, as a camera sees it.
    std::vector<std::uint8_t> scene = m_stage;
    DrawSpecimen(scene.data(), DemoDrift(frame));
    if (blurRadius > 0) {
        scene = BlurDemoPicture(scene, blurRadius);
    }
    const auto start = static_cast<std::size_t>(frame * 7919u);
    const std::int8_t* noise = m_noise.data();
    for (std::size_t i = 0; i < FrameBytes(); ++i) {
        const int value = scene[i] + noise[(start + i) & (kNoiseTableBytes - 1)];
        out[i] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
}

namespace {

// One pass of the box blur along lines of `count` samples `step` bytes apart.
void BoxPass(const std::uint8_t* in, std::uint8_t* out, int count, std::ptrdiff_t step, int radius)
{
    const int window = 2 * radius + 1;
    const auto at = [&](int i) { return static_cast<int>(in[std::clamp(i, 0, count - 1) * step]); };
    int sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        sum += at(i);
    }
    for (int i = 0; i < count; ++i) {
        out[i * step] = static_cast<std::uint8_t>(sum / window);
        sum += at(i + radius + 1) - at(i - radius);
    }
}

} // namespace

std::vector<std::uint8_t> BlurDemoPicture(const std::vector<std::uint8_t>& picture, int radius)
{
    radius = std::clamp(radius, 0, kDemoMaxBlur);
    const std::size_t bytes = static_cast<std::size_t>(kDemoWidth) * kDemoHeight * 3;
    if (radius == 0 || picture.size() != bytes) {
        return picture;
    }
    std::vector<std::uint8_t> across(bytes);
    std::vector<std::uint8_t> blurred(bytes);
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(kDemoWidth) * 3;
    for (int y = 0; y < kDemoHeight; ++y) {
        for (int channel = 0; channel < 3; ++channel) {
            const std::ptrdiff_t start = y * rowBytes + channel;
            BoxPass(picture.data() + start, across.data() + start, kDemoWidth, 3, radius);
        }
    }
    for (std::ptrdiff_t column = 0; column < rowBytes; ++column) {
        BoxPass(across.data() + column, blurred.data() + column, kDemoHeight, rowBytes, radius);
    }
    return blurred;
}

} // namespace orvane
