#include "capture/DemoVideoDevice.h"

#include <algorithm>
#include <array>

#include "capture/DemoPicture.h"

namespace orvane {

void ApplyDemoControls(const std::uint8_t* in, std::uint8_t* out, std::size_t count, int brightness, int gain)
{
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        table[static_cast<std::size_t>(value)] =
            static_cast<std::uint8_t>(std::clamp(value * gain / 100 + brightness, 0, 255));
    }
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = table[in[i]];
    }
}

std::string DemoVideoDevice::name() const
{
    return "Orvane demo camera";
}

std::vector<VideoControl> DemoVideoDevice::QueryControls()
{
    VideoControl brightness;
    brightness.id = kBrightnessId;
    brightness.name = "Brightness";
    brightness.minimum = DemoControls::kBrightnessMin;
    brightness.maximum = DemoControls::kBrightnessMax;
    brightness.value = m_controls.brightness.load();
    VideoControl gain;
    gain.id = kGainId;
    gain.name = "Gain";
    gain.minimum = DemoControls::kGainMin;
    gain.maximum = DemoControls::kGainMax;
    gain.defaultValue = DemoControls::kGainDefault;
    gain.value = m_controls.gain.load();
    return {brightness, gain};
}

bool DemoVideoDevice::SetControl(std::uint32_t id, int value)
{
    if (id == kBrightnessId && value >= DemoControls::kBrightnessMin && value <= DemoControls::kBrightnessMax) {
        m_controls.brightness = value;
        return true;
    }
    if (id == kGainId && value >= DemoControls::kGainMin && value <= DemoControls::kGainMax) {
        m_controls.gain = value;
        return true;
    }
    return false;
}

std::vector<VideoPixelFormat> DemoVideoDevice::EnumFormats()
{
    const std::vector<FrameRate> rates{{kDemoFramesPerSecond, 1}};
    VideoPixelFormat format;
    format.fourcc = MakeFourcc('B', 'G', 'R', '3');
    format.description = "BGR 24-bit";
    for (const int divisor : {1, 2, 4}) {
        format.sizes.push_back({kDemoWidth / divisor, kDemoHeight / divisor, rates});
    }
    return {format};
}

std::vector<VideoInput> DemoVideoDevice::EnumInputs()
{
    return {{0, "Camera"}};
}

} // namespace orvane
