#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

// UVC class-specific request codes as UVCIOC_CTRL_QUERY takes them.
enum class UvcQuery : std::uint8_t {
    SetCur = 0x01,
    GetCur = 0x81,
    GetMin = 0x82,
    GetMax = 0x83,
    GetRes = 0x84,
    GetLen = 0x85,
    GetInfo = 0x86,
    GetDef = 0x87,
};

// GET_INFO bits of an extension-unit control.
inline constexpr std::uint8_t kUvcInfoGet = 0x01;
inline constexpr std::uint8_t kUvcInfoSet = 0x02;

// A standard control as the device describes it (VIDIOC_QUERYCTRL).
struct TransportControlInfo {
    enum class Type { Integer, Boolean, Menu };

    std::string name;
    Type type = Type::Integer;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t step = 1;
    std::int32_t defaultValue = 0;
    bool readOnly = false;
    bool inactive = false; // an automatic mode rules it at present
    std::vector<std::pair<int, std::string>> menu;
};

// How requests reach one camera: its standard camera-terminal and
// processing-unit controls by V4L2 control id, and the vendor extension unit
// by control selector. Every request answers 0 on success or an errno value:
// ENODEV (the device has gone), EIO (the device did not answer properly) and
// ETIMEDOUT (it did not answer in time) mean that repeating the request is
// pointless; EINVAL (no such control), ERANGE (value refused), EPIPE (the
// device stalled the request), EBUSY and others may pass on a second try.
//
// V4L2UvcTransport talks to a device node, SimulatedCamera is the maker's
// controller in software.
class ICameraTransport {
public:
    virtual ~ICameraTransport() = default;

    // A name of the physical device shared by all its video nodes; the
    // cross-process lock file is named after it.
    [[nodiscard]] virtual std::string DeviceIdentity() const = 0;
    // The USB product id, 0 when unknown.
    [[nodiscard]] virtual int ProductId() const = 0;

    virtual int QueryControl(std::uint32_t id, TransportControlInfo& info) = 0;
    virtual int GetControl(std::uint32_t id, std::int32_t& value) = 0;
    virtual int SetControl(std::uint32_t id, std::int32_t value) = 0;

    // Whether the device has the maker's extension unit.
    [[nodiscard]] virtual bool HasExtensionUnit() const = 0;
    // One request to the extension unit: SET_CUR sends `data`, the GET
    // requests fill it. `data` is as long as the request's answer.
    virtual int QueryExtensionUnit(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data) = 0;
};

} // namespace orvane
