#include "capture/DemoVideoDevice.h"

#include <utility>

#include "capture/DemoPicture.h"

namespace orvane {

std::string DemoVideoDevice::name() const
{
    return "Orvane demo camera";
}

std::vector<VideoControl> DemoVideoDevice::QueryControls()
{
    std::vector<VideoControl> controls;
    for (const std::uint32_t id : m_camera.ControlIds()) {
        TransportControlInfo info;
        std::int32_t value = 0;
        if (m_camera.QueryControl(id, info) != 0 || m_camera.GetControl(id, value) != 0) {
            continue;
        }
        VideoControl control;
        control.id = id;
        control.name = info.name;
        control.type = info.type == TransportControlInfo::Type::Boolean ? VideoControl::Type::Boolean
                       : info.type == TransportControlInfo::Type::Menu  ? VideoControl::Type::Menu
                                                                        : VideoControl::Type::Integer;
        control.minimum = info.minimum;
        control.maximum = info.maximum;
        control.step = info.step;
        control.defaultValue = info.defaultValue;
        control.value = value;
        control.menu = info.menu;
        control.inactive = info.inactive;
        control.readOnly = info.readOnly;
        controls.push_back(std::move(control));
    }
    return controls;
}

bool DemoVideoDevice::SetControl(std::uint32_t id, int value)
{
    return m_camera.SetControl(id, value) == 0;
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
