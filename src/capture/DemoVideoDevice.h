#pragma once

#include <cstdint>

#include "camctl/SimulatedCamera.h"
#include "capture/IVideoDevice.h"

namespace orvane {

// The demo camera as a device with settings: the simulated maker camera's
// standard controls (brightness, gain, ...), which change its picture, one
// BGR format in three sizes at its frame rate, and one input.
//
// UI thread only (the simulated camera guards its own state).
class DemoVideoDevice final : public IVideoDevice {
public:
    explicit DemoVideoDevice(SimulatedCamera& camera) : m_camera(camera) {}

    [[nodiscard]] std::string name() const override;
    [[nodiscard]] std::vector<VideoControl> QueryControls() override;
    bool SetControl(std::uint32_t id, int value) override;
    [[nodiscard]] std::vector<VideoPixelFormat> EnumFormats() override;
    [[nodiscard]] std::vector<VideoInput> EnumInputs() override;
    [[nodiscard]] int CurrentInput() override { return 0; }
    bool SetInput(int index) override { return index == 0; }

private:
    SimulatedCamera& m_camera;
};

} // namespace orvane
