#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace orvane {

// A GUID in the byte order USB descriptors carry it (the first three fields
// little-endian).
using UsbGuid = std::array<std::uint8_t, 16>;

// The maker's extension unit, {0202D8F1-F90A-4BBC-897E-2F40B2789BE7}.
inline constexpr UsbGuid kMakerExtensionUnitGuid = {0xF1, 0xD8, 0x02, 0x02, 0x0A, 0xF9, 0xBC, 0x4B,
                                                    0x89, 0x7E, 0x2F, 0x40, 0xB2, 0x78, 0x9B, 0xE7};

// The unit id of the first video-control extension unit (CS_INTERFACE 0x24,
// subtype VC_EXTENSION_UNIT 0x06, inside an interface of class 0x0E subclass
// 0x01) whose guidExtensionCode is `guid`, in a device's raw descriptors (the
// device descriptor followed by its configuration descriptors, as sysfs holds
// them). Descriptors are walked by their bLength; a length of zero, or one
// that runs past the end, ends the walk.
[[nodiscard]] std::optional<std::uint8_t> FindExtensionUnit(std::span<const std::uint8_t> descriptors,
                                                             const UsbGuid& guid);

// The raw descriptors of the USB device behind a video node's sysfs entry
// (/sys/class/video4linux/videoN), at most kMaxDescriptorBytes; empty when
// they cannot be read.
inline constexpr std::size_t kMaxDescriptorBytes = 64 * 1024;
[[nodiscard]] std::vector<std::uint8_t> ReadUsbDescriptors(const std::filesystem::path& videoClassEntry);

} // namespace orvane
