#include "capture/DemoCameraPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace orvane {

namespace {

constexpr int kNeutralContrast = 32;
constexpr int kNeutralGamma = 100;
constexpr int kNeutralSaturation = 64;
constexpr int kNeutralSharpness = 3;
constexpr int kNeutralGain = 16;

double GainFactor(double registerValue)
{
    const auto value = static_cast<unsigned>(registerValue);
    return (value & 0x7FU) / 32.0 * (1.0 + ((value >> 7) & 0xFU) / 8.0);
}

std::array<std::uint8_t, 256> ChannelTable(double gainRegister, const SimulatedPicture& s)
{
    const double factor = GainFactor(gainRegister) * s.exposure / SimulatedCamera::kExposureDefault * s.gain /
                          kNeutralGain;
    const double exponent = s.gamma > 0 ? static_cast<double>(kNeutralGamma) / s.gamma : 1.0;
    std::array<std::uint8_t, 256> table{};
    for (int in = 0; in < 256; ++in) {
        double v = in * factor + 2.0 * s.brightness;
        v = (v - 128.0) * s.contrast / kNeutralContrast + 128.0;
        v = 255.0 * std::pow(std::clamp(v, 0.0, 255.0) / 255.0, exponent);
        table[static_cast<std::size_t>(in)] = static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
    }
    return table;
}

std::uint8_t Clamp(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

void ApplyDemoCamera(std::uint8_t* bgr, int width, int height, const SimulatedPicture& settings)
{
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::array<std::array<std::uint8_t, 256>, 3> tables{
        ChannelTable(settings.blueGain, settings),
        ChannelTable((settings.greenGain1 + settings.greenGain2) / 2.0, settings),
        ChannelTable(settings.redGain, settings),
    };
    for (std::size_t i = 0; i < pixels * 3; i += 3) {
        bgr[i] = tables[0][bgr[i]];
        bgr[i + 1] = tables[1][bgr[i + 1]];
        bgr[i + 2] = tables[2][bgr[i + 2]];
    }
    if (settings.saturation != kNeutralSaturation) {
        // Fixed point: the saturation factor in 1/64 steps.
        const int factor = settings.saturation;
        for (std::size_t i = 0; i < pixels * 3; i += 3) {
            const int luma = (bgr[i] * 29 + bgr[i + 1] * 150 + bgr[i + 2] * 77) >> 8;
            bgr[i] = Clamp(luma + (((bgr[i] - luma) * factor) >> 6));
            bgr[i + 1] = Clamp(luma + (((bgr[i + 1] - luma) * factor) >> 6));
            bgr[i + 2] = Clamp(luma + (((bgr[i + 2] - luma) * factor) >> 6));
        }
    }
    if (settings.sharpness != kNeutralSharpness && width > 2) {
        // In quarters: (sharpness - 3) / 4 of the high-pass.
        const int amount = settings.sharpness - kNeutralSharpness;
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
        std::vector<int> row(rowBytes);
        for (int y = 0; y < height; ++y) {
            std::uint8_t* line = bgr + static_cast<std::size_t>(y) * rowBytes;
            std::copy(line, line + rowBytes, row.begin());
            for (std::size_t i = 3; i + 3 < rowBytes; ++i) {
                const int highPass = 2 * row[i] - row[i - 3] - row[i + 3];
                line[i] = Clamp(row[i] + ((highPass * amount) >> 2));
            }
        }
    }
}

} // namespace orvane
