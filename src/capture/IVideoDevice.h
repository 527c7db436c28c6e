#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/CaptureCaps.h"

namespace orvane {

// One setting a device offers (a V4L2 control).
struct VideoControl {
    enum class Type { Integer, Boolean, Menu, Button };

    std::uint32_t id = 0;
    std::string name;
    Type type = Type::Integer;
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int defaultValue = 0;
    int value = 0;
    // Menu entries: value and text, only the values the device offers.
    std::vector<std::pair<int, std::string>> menu;
    // Not to be changed now (an automatic mode rules it) or never.
    bool inactive = false;
    bool readOnly = false;

    friend bool operator==(const VideoControl&, const VideoControl&) = default;
};

// A frame size with the frame rates the device offers at it.
struct VideoFrameSize {
    int width = 0;
    int height = 0;
    std::vector<FrameRate> rates;

    friend bool operator==(const VideoFrameSize&, const VideoFrameSize&) = default;
};

// A pixel format with its sizes.
struct VideoPixelFormat {
    std::uint32_t fourcc = 0; // as the device names it (V4L2 FOURCC)
    std::string description;
    std::vector<VideoFrameSize> sizes;

    friend bool operator==(const VideoPixelFormat&, const VideoPixelFormat&) = default;
};

// One input of a device (a V4L2 input: camera, composite, S-Video ...).
struct VideoInput {
    int index = 0;
    std::string name;

    friend bool operator==(const VideoInput&, const VideoInput&) = default;
};

// The narrow road to a device's own settings, which the property pages use:
// its controls, its formats with sizes and rates, its inputs. V4L2Device
// answers for a device node, DemoVideoDevice for the built-in demo camera,
// tests give fakes. Calls return false (or nothing) when the device refuses.
//
// UI thread only.
class IVideoDevice {
public:
    virtual ~IVideoDevice() = default;

    // The name shown over the pages.
    [[nodiscard]] virtual std::string name() const = 0;

    // Every control with its current value and flags, in the device's order.
    [[nodiscard]] virtual std::vector<VideoControl> QueryControls() = 0;
    virtual bool SetControl(std::uint32_t id, int value) = 0;

    [[nodiscard]] virtual std::vector<VideoPixelFormat> EnumFormats() = 0;

    [[nodiscard]] virtual std::vector<VideoInput> EnumInputs() = 0;
    // The current input's index, -1 when unknown.
    [[nodiscard]] virtual int CurrentInput() = 0;
    virtual bool SetInput(int index) = 0;
};

} // namespace orvane
