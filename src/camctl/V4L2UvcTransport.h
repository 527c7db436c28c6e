#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "camctl/ICameraTransport.h"

namespace orvane {

// A UVC camera's device node: standard controls through VIDIOC_QUERYCTRL,
// VIDIOC_G_CTRL and VIDIOC_S_CTRL, the maker's extension unit through
// UVCIOC_CTRL_QUERY. The unit's id comes from the USB descriptors in sysfs
// (the extension unit descriptor with the maker's GUID): reading them sends
// nothing to the camera, while probing unit ids with GET_INFO would send up
// to 255 failing requests, each logged by the kernel.
//
// The device identity (the lock's name) is "usb-" and the USB device's sysfs
// name, its bus and port path (e.g. "usb-1-2.3"): every video node of one
// camera shares it, and it needs no serial number, which many cameras lack.
// Without sysfs it is the bus_info of VIDIOC_QUERYCAP.
//
// UI thread only.
class V4L2UvcTransport final : public ICameraTransport {
public:
    // Opens `node` (e.g. /dev/video0); null when it cannot be opened.
    // `sysfsRoot` is where /sys/class/video4linux lives (tests give another).
    [[nodiscard]] static std::unique_ptr<V4L2UvcTransport>
    Open(const std::string& node, int productId, const std::filesystem::path& sysfsRoot = "/sys");
    ~V4L2UvcTransport() override;
    V4L2UvcTransport(const V4L2UvcTransport&) = delete;
    V4L2UvcTransport& operator=(const V4L2UvcTransport&) = delete;

    [[nodiscard]] std::string DeviceIdentity() const override { return m_identity; }
    [[nodiscard]] int ProductId() const override { return m_productId; }
    int QueryControl(std::uint32_t id, TransportControlInfo& info) override;
    int GetControl(std::uint32_t id, std::int32_t& value) override;
    int SetControl(std::uint32_t id, std::int32_t value) override;
    [[nodiscard]] bool HasExtensionUnit() const override { return m_unitId.has_value(); }
    int QueryExtensionUnit(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data) override;

private:
    V4L2UvcTransport(int fd, std::string identity, int productId, std::optional<std::uint8_t> unitId);
    int Control(unsigned long request, void* argument) const;

    int m_fd = -1;
    std::string m_identity;
    int m_productId = 0;
    std::optional<std::uint8_t> m_unitId;
};

} // namespace orvane
