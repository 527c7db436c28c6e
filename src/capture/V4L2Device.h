#pragma once

#include <string>

#include "capture/IVideoDevice.h"

namespace orvane {

// A device node's settings through V4L2: controls (VIDIOC_QUERYCTRL with
// NEXT_CTRL, QUERYMENU, extended get and set), formats (ENUM_FMT,
// ENUM_FRAMESIZES, ENUM_FRAMEINTERVALS) and inputs (ENUMINPUT, G_INPUT,
// S_INPUT). The node is opened once for the life of the object; a stream that
// runs meanwhile keeps its own handle, so the pages work while live.
//
// UI thread only.
class V4L2Device final : public IVideoDevice {
public:
    V4L2Device(std::string path, std::string name);
    ~V4L2Device() override;
    V4L2Device(const V4L2Device&) = delete;
    V4L2Device& operator=(const V4L2Device&) = delete;

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }

    [[nodiscard]] std::string name() const override { return m_name; }
    [[nodiscard]] std::vector<VideoControl> QueryControls() override;
    bool SetControl(std::uint32_t id, int value) override;
    [[nodiscard]] std::vector<VideoPixelFormat> EnumFormats() override;
    [[nodiscard]] std::vector<VideoInput> EnumInputs() override;
    [[nodiscard]] int CurrentInput() override;
    bool SetInput(int index) override;

private:
    [[nodiscard]] bool Control(unsigned long request, void* argument) const;
    [[nodiscard]] bool ReadValue(std::uint32_t id, int& value) const;
    [[nodiscard]] std::vector<FrameRate> EnumRates(std::uint32_t fourcc, int width, int height) const;

    std::string m_path;
    std::string m_name;
    int m_fd = -1;
};

} // namespace orvane
