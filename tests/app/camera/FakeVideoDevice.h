#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "capture/IVideoDevice.h"

namespace orvane::test {

// A device with the kinds of controls cameras have: a manual value ruled by an
// automatic mode (listed before its switch, as some drivers do), a menu with a
// gap in its values, a plain integer and an action. Setting a control that an
// automatic mode rules is refused, as drivers do.
class FakeVideoDevice final : public IVideoDevice {
public:
    static constexpr std::uint32_t kBrightness = 1;
    static constexpr std::uint32_t kTemperature = 2;
    static constexpr std::uint32_t kAutoWhiteBalance = 3;
    static constexpr std::uint32_t kPowerLine = 4;
    static constexpr std::uint32_t kResetPan = 5;

    FakeVideoDevice()
    {
        m_controls = {
            Control(kBrightness, "Brightness", VideoControl::Type::Integer, -64, 64, 0, 10),
            Control(kTemperature, "White Balance Temperature", VideoControl::Type::Integer, 2800, 6500, 4600, 4000),
            Control(kAutoWhiteBalance, "White Balance Automatic", VideoControl::Type::Boolean, 0, 1, 1, 0),
            Control(kPowerLine, "Power Line Frequency", VideoControl::Type::Menu, 0, 2, 2, 0),
            Control(kResetPan, "Pan Reset", VideoControl::Type::Button, 0, 0, 0, 0),
        };
        m_controls[3].menu = {{0, "Disabled"}, {2, "60 Hz"}};
    }

    [[nodiscard]] std::string name() const override { return "Fake camera"; }

    [[nodiscard]] std::vector<VideoControl> QueryControls() override
    {
        std::vector<VideoControl> controls = m_controls;
        controls[1].inactive = controls[2].value != 0;
        return controls;
    }

    bool SetControl(std::uint32_t id, int value) override
    {
        calls.emplace_back(id, value);
        if (id == kTemperature && m_controls[2].value != 0) {
            return false;
        }
        for (VideoControl& control : m_controls) {
            if (control.id == id) {
                if (control.type != VideoControl::Type::Button) {
                    control.value = value;
                }
                return true;
            }
        }
        return false;
    }

    [[nodiscard]] int value(std::uint32_t id) const
    {
        const auto found = std::find_if(m_controls.begin(), m_controls.end(),
                                        [id](const VideoControl& control) { return control.id == id; });
        return found != m_controls.end() ? found->value : -9999;
    }

    [[nodiscard]] std::vector<VideoPixelFormat> EnumFormats() override { return formats; }
    [[nodiscard]] std::vector<VideoInput> EnumInputs() override { return inputs; }
    [[nodiscard]] int CurrentInput() override { return input; }
    bool SetInput(int index) override
    {
        input = index;
        return true;
    }

    std::vector<std::pair<std::uint32_t, int>> calls;
    std::vector<VideoPixelFormat> formats{
        {0x56595559 /* YUYV */, "YUYV 4:2:2", {{640, 480, {{30, 1}, {15, 1}}}, {1280, 720, {{10, 1}, {5, 1}}}}},
        {0x47504A4D /* MJPG */, "Motion-JPEG", {{1920, 1080, {{30, 1}}}, {640, 480, {{60, 1}, {30, 1}}}}},
    };
    std::vector<VideoInput> inputs{{0, "Camera 1"}};
    int input = 0;

private:
    static VideoControl Control(std::uint32_t id, const char* name, VideoControl::Type type, int minimum, int maximum,
                                int defaultValue, int value)
    {
        VideoControl control;
        control.id = id;
        control.name = name;
        control.type = type;
        control.minimum = minimum;
        control.maximum = maximum;
        control.defaultValue = defaultValue;
        control.value = value;
        return control;
    }

    std::vector<VideoControl> m_controls;
};

} // namespace orvane::test
