#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "capture/IVideoDevice.h"

namespace orvane {

// The demo camera's two settings. Written on the UI thread by its property
// page, read by the demo feed on appsrc's streaming thread: atomics.
struct DemoControls {
    static constexpr int kBrightnessMin = -100;
    static constexpr int kBrightnessMax = 100;
    static constexpr int kGainMin = 25;  // percent
    static constexpr int kGainMax = 400; // percent
    static constexpr int kGainDefault = 100;

    std::atomic<int> brightness{0};
    std::atomic<int> gain{kGainDefault};
};

// out = clamp(in * gain / 100 + brightness) for each of `count` bytes.
void ApplyDemoControls(const std::uint8_t* in, std::uint8_t* out, std::size_t count, int brightness, int gain);

// The demo camera as a device with settings: "Brightness" and "Gain" that
// change its picture, one BGR format in three sizes at its frame rate, and
// one input.
//
// UI thread only (the controls it writes are atomics).
class DemoVideoDevice final : public IVideoDevice {
public:
    static constexpr std::uint32_t kBrightnessId = 0x00980900; // V4L2_CID_BRIGHTNESS
    static constexpr std::uint32_t kGainId = 0x00980913;       // V4L2_CID_GAIN

    explicit DemoVideoDevice(DemoControls& controls) : m_controls(controls) {}

    [[nodiscard]] std::string name() const override;
    [[nodiscard]] std::vector<VideoControl> QueryControls() override;
    bool SetControl(std::uint32_t id, int value) override;
    [[nodiscard]] std::vector<VideoPixelFormat> EnumFormats() override;
    [[nodiscard]] std::vector<VideoInput> EnumInputs() override;
    [[nodiscard]] int CurrentInput() override { return 0; }
    bool SetInput(int index) override { return index == 0; }

private:
    DemoControls& m_controls;
};

} // namespace orvane
