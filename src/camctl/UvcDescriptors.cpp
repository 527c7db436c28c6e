#include "camctl/UvcDescriptors.h"

#include <algorithm>
#include <fstream>

namespace orvane {

namespace {

constexpr std::uint8_t kInterfaceDescriptor = 0x04;
constexpr std::uint8_t kClassSpecificInterface = 0x24;
constexpr std::uint8_t kVideoClass = 0x0E;
constexpr std::uint8_t kVideoControlSubclass = 0x01;
constexpr std::uint8_t kExtensionUnitSubtype = 0x06;
// bLength, bDescriptorType, bDescriptorSubtype, bUnitID, guidExtensionCode.
constexpr std::size_t kGuidOffset = 4;
constexpr std::size_t kExtensionUnitMinimum = kGuidOffset + 16;

} // namespace

std::optional<std::uint8_t> FindExtensionUnit(std::span<const std::uint8_t> descriptors, const UsbGuid& guid)
{
    bool inVideoControl = false;
    std::size_t at = 0;
    while (at + 2 <= descriptors.size()) {
        const std::size_t length = descriptors[at];
        if (length < 2 || length > descriptors.size() - at) {
            break;
        }
        const std::span<const std::uint8_t> descriptor = descriptors.subspan(at, length);
        if (descriptor[1] == kInterfaceDescriptor) {
            // bInterfaceClass and bInterfaceSubClass sit at 5 and 6.
            inVideoControl = length >= 7 && descriptor[5] == kVideoClass && descriptor[6] == kVideoControlSubclass;
        } else if (inVideoControl && descriptor[1] == kClassSpecificInterface && length >= kExtensionUnitMinimum &&
                   descriptor[2] == kExtensionUnitSubtype &&
                   std::equal(guid.begin(), guid.end(), descriptor.begin() + kGuidOffset)) {
            return descriptor[3];
        }
        at += length;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> ReadUsbDescriptors(const std::filesystem::path& videoClassEntry)
{
    // The node's device is the video interface; its parent is the USB device.
    const std::filesystem::path file = videoClassEntry / "device" / ".." / "descriptors";
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    // sysfs gives binary attributes a nominal size that may exceed what they
    // hold: read up to the smaller of that size and the cap.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    std::vector<std::uint8_t> bytes(error || size == 0 ? kMaxDescriptorBytes
                                                       : static_cast<std::size_t>(std::min<std::uintmax_t>(
                                                             size, kMaxDescriptorBytes)));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

} // namespace orvane
