#include "camctl/UvcDescriptors.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes DeviceDescriptor()
{
    return {18, 0x01, 0x00, 0x02, 0xEF, 0x02, 0x01, 0x40, 0xC1, 0x12, 0x20, 0x50, 0x00, 0x01, 1, 2, 0, 1};
}

Bytes Configuration()
{
    return {9, 0x02, 0x00, 0x01, 2, 1, 0, 0x80, 250};
}

Bytes Interface(std::uint8_t number, std::uint8_t interfaceClass, std::uint8_t subclass)
{
    return {9, 0x04, number, 0, 1, interfaceClass, subclass, 0, 0};
}

// VC_EXTENSION_UNIT: bLength, CS_INTERFACE, subtype 6, unit id, GUID, one
// control, one input pin (source 2), bControlSize 2, bmControls, iExtension.
Bytes ExtensionUnit(std::uint8_t unitId, const UsbGuid& guid)
{
    Bytes unit{27, 0x24, 0x06, unitId};
    unit.insert(unit.end(), guid.begin(), guid.end());
    unit.insert(unit.end(), {8, 1, 2, 2, 0xFF, 0x00, 0});
    return unit;
}

Bytes ProcessingUnit()
{
    return {11, 0x24, 0x05, 2, 1, 0, 0, 2, 0x7F, 0x15, 0};
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const UsbGuid kOtherGuid = {0xAD, 0xCC, 0xB1, 0xC2, 0xF6, 0xAB, 0xB8, 0x48,
                            0x8E, 0x37, 0x32, 0xD4, 0xF3, 0xA3, 0xFE, 0xEC};

struct ParseCase {
    const char* label;
    Bytes descriptors;
    std::optional<std::uint8_t> unit;
};

class FindExtensionUnitTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FindExtensionUnitTest, FindsTheMakersUnitOnlyWhereItIs)
{
    const Bytes& bytes = GetParam().descriptors;
    // An exact-size copy, so that a read past the end is caught by the sanitizers.
    const auto copy = std::make_unique<std::uint8_t[]>(bytes.size() + 1);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    EXPECT_EQ(FindExtensionUnit({copy.get(), bytes.size()}, kMakerExtensionUnitGuid), GetParam().unit);
}

Bytes Truncated(Bytes bytes, std::size_t cut)
{
    bytes.resize(bytes.size() - cut);
    return bytes;
}

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value)
{
    bytes[at] = value;
    return bytes;
}

const Bytes kCamera = Join({DeviceDescriptor(), Configuration(), Interface(0, 0x0E, 0x01), ProcessingUnit(),
                            ExtensionUnit(4, kMakerExtensionUnitGuid), Interface(1, 0x0E, 0x02)});
const std::size_t kUnitAt = 18 + 9 + 9 + 11;

INSTANTIATE_TEST_SUITE_P(
    Descriptors, FindExtensionUnitTest,
    ::testing::Values(
        ParseCase{"MakersUnit", kCamera, 4},
        ParseCase{"SecondUnitIsTheMakers",
                  Join({Configuration(), Interface(0, 0x0E, 0x01), ExtensionUnit(3, kOtherGuid),
                        ExtensionUnit(6, kMakerExtensionUnitGuid)}),
                  6},
        ParseCase{"OtherGuidOnly",
                  Join({Configuration(), Interface(0, 0x0E, 0x01), ExtensionUnit(3, kOtherGuid)}), std::nullopt},
        ParseCase{"InAVendorInterface",
                  Join({Configuration(), Interface(0, 0xFF, 0x01), ExtensionUnit(4, kMakerExtensionUnitGuid)}),
                  std::nullopt},
        ParseCase{"InAStreamingInterface",
                  Join({Configuration(), Interface(1, 0x0E, 0x02), ExtensionUnit(4, kMakerExtensionUnitGuid)}),
                  std::nullopt},
        ParseCase{"UnitCutShort", Truncated(Join({Configuration(), Interface(0, 0x0E, 0x01),
                                                  ExtensionUnit(4, kMakerExtensionUnitGuid)}),
                                            10),
                  std::nullopt},
        ParseCase{"LengthTooShortForAGuid", WithByte(kCamera, kUnitAt, 12), std::nullopt},
        ParseCase{"ZeroLengthEndsTheWalk", WithByte(kCamera, 18 + 9 + 9, 0), std::nullopt},
        ParseCase{"LengthPastTheEnd", WithByte(kCamera, kUnitAt, 255), std::nullopt},
        ParseCase{"OneByte", Bytes{9}, std::nullopt}, ParseCase{"Empty", Bytes{}, std::nullopt}),
    [](const auto& test) { return std::string(test.param.label); });

// sysfs: the video node's device is the USB interface, whose parent folder
// holds the USB device's descriptors.
TEST(ReadUsbDescriptors, ReadsTheParentDevicesDescriptorsUpToTheCap)
{
    test::TempDir root;
    const std::filesystem::path usbDevice = root / "devices/usb1/1-2";
    std::filesystem::create_directories(usbDevice / "1-2:1.0");
    std::filesystem::create_directories(root / "class/video4linux/video0");
    std::filesystem::create_directory_symlink(usbDevice / "1-2:1.0", root / "class/video4linux/video0/device");
    {
        std::ofstream out(usbDevice / "descriptors", std::ios::binary);
        out.write(reinterpret_cast<const char*>(kCamera.data()), static_cast<std::streamsize>(kCamera.size()));
    }
    const Bytes read = ReadUsbDescriptors(root / "class/video4linux/video0");
    EXPECT_EQ(read, kCamera);
    EXPECT_EQ(FindExtensionUnit(read, kMakerExtensionUnitGuid), 4);

    {
        std::ofstream out(usbDevice / "descriptors", std::ios::binary);
        const Bytes huge(kMaxDescriptorBytes + 100, 0);
        out.write(reinterpret_cast<const char*>(huge.data()), static_cast<std::streamsize>(huge.size()));
    }
    EXPECT_EQ(ReadUsbDescriptors(root / "class/video4linux/video0").size(), kMaxDescriptorBytes);
    EXPECT_TRUE(ReadUsbDescriptors(root / "class/video4linux/video9").empty());
}

} // namespace
} // namespace orvane
