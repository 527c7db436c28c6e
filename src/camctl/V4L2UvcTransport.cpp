#include "camctl/V4L2UvcTransport.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <linux/uvcvideo.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "camctl/CamctlLog.h"
#include "camctl/UvcDescriptors.h"

namespace orvane {

namespace {

std::string BusInfoOf(int fd)
{
    v4l2_capability capability{};
    if (::ioctl(fd, VIDIOC_QUERYCAP, &capability) < 0) {
        return {};
    }
    const auto* text = reinterpret_cast<const char*>(capability.bus_info);
    return std::string(text, strnlen(text, sizeof capability.bus_info));
}

} // namespace

std::unique_ptr<V4L2UvcTransport> V4L2UvcTransport::Open(const std::string& node, int productId,
                                                          const std::filesystem::path& sysfsRoot)
{
    const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        kCamctlLog.Warning(node + " cannot be opened for its camera controls: " + std::strerror(errno));
        return nullptr;
    }
    const std::filesystem::path entry =
        sysfsRoot / "class" / "video4linux" / std::filesystem::path(node).filename();
    std::error_code error;
    const std::filesystem::path usbDevice = std::filesystem::canonical(entry / "device" / "..", error);
    std::string identity = !error ? "usb-" + usbDevice.filename().string() : BusInfoOf(fd);
    if (identity.empty()) {
        identity = node;
    }
    const std::vector<std::uint8_t> descriptors = ReadUsbDescriptors(entry);
    const std::optional<std::uint8_t> unitId = FindExtensionUnit(descriptors, kMakerExtensionUnitGuid);
    if (!unitId) {
        kCamctlLog.Info(node + " has no extension unit of the maker; its registers cannot be reached");
    }
    return std::unique_ptr<V4L2UvcTransport>(new V4L2UvcTransport(fd, std::move(identity), productId, unitId));
}

V4L2UvcTransport::V4L2UvcTransport(int fd, std::string identity, int productId, std::optional<std::uint8_t> unitId)
    : m_fd(fd), m_identity(std::move(identity)), m_productId(productId), m_unitId(unitId)
{
}

V4L2UvcTransport::~V4L2UvcTransport()
{
    ::close(m_fd);
}

int V4L2UvcTransport::Control(unsigned long request, void* argument) const
{
    int result = 0;
    do {
        result = ::ioctl(m_fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? errno : 0;
}

int V4L2UvcTransport::QueryControl(std::uint32_t id, TransportControlInfo& info)
{
    v4l2_queryctrl query{};
    query.id = id;
    if (const int error = Control(VIDIOC_QUERYCTRL, &query)) {
        return error;
    }
    if ((query.flags & V4L2_CTRL_FLAG_DISABLED) != 0) {
        return EINVAL;
    }
    const auto* name = reinterpret_cast<const char*>(query.name);
    info.name = std::string(name, strnlen(name, sizeof query.name));
    info.type = query.type == V4L2_CTRL_TYPE_BOOLEAN ? TransportControlInfo::Type::Boolean
                : query.type == V4L2_CTRL_TYPE_MENU   ? TransportControlInfo::Type::Menu
                                                      : TransportControlInfo::Type::Integer;
    info.minimum = query.minimum;
    info.maximum = query.maximum;
    info.step = query.step;
    info.defaultValue = query.default_value;
    info.readOnly = (query.flags & V4L2_CTRL_FLAG_READ_ONLY) != 0;
    info.inactive = (query.flags & V4L2_CTRL_FLAG_INACTIVE) != 0;
    info.menu.clear();
    return 0;
}

int V4L2UvcTransport::GetControl(std::uint32_t id, std::int32_t& value)
{
    v4l2_control control{};
    control.id = id;
    if (const int error = Control(VIDIOC_G_CTRL, &control)) {
        return error;
    }
    value = control.value;
    return 0;
}

int V4L2UvcTransport::SetControl(std::uint32_t id, std::int32_t value)
{
    v4l2_control control{};
    control.id = id;
    control.value = value;
    return Control(VIDIOC_S_CTRL, &control);
}

int V4L2UvcTransport::QueryExtensionUnit(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data)
{
    if (!m_unitId) {
        return ENOENT;
    }
    uvc_xu_control_query request{};
    request.unit = *m_unitId;
    request.selector = selector;
    request.query = static_cast<std::uint8_t>(query);
    request.size = static_cast<__u16>(data.size());
    request.data = data.data();
    return Control(UVCIOC_CTRL_QUERY, &request);
}

} // namespace orvane
