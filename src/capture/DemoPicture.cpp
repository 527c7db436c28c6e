#include "capture/DemoPicture.h"

#include <algorithm>
#include <array>
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

    void Disc(const DemoParticle& particle)
    {
        const int r = particle.radius;
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                if (dx * dx + dy * dy <= r * r) {
                    Set(particle.x + dx, particle.y + dy, kInk);
                }
            }
        }
    }

    std::vector<std::uint8_t> Take() { return std::move(m_pixels); }

private:
    std::vector<std::uint8_t> m_pixels;
};

} // namespace

std::vector<std::uint8_t> DrawDemoPicture()
{
    Canvas canvas;
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
    for (const DemoParticle& particle : kDemoParticles) {
        canvas.Disc(particle);
    }
    return canvas.Take();
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
