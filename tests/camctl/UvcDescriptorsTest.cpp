#include "camctl/UvcDescriptors.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "camctl/V4L2UvcTransport.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

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

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value)
{
    bytes[at] = value;
    return bytes;
}

const Bytes kCamera = Join({Configuration(), Interface(0, 0x0E, 0x01), ProcessingUnit(),
                            ExtensionUnit(4, kMakerExtensionUnitGuid), Interface(1, 0x0E, 0x02)});
const std::size_t kUnitAt = 9 + 9 + 11;

// A video-control interface holding `units`.
Bytes InInterface(std::uint8_t interfaceClass, std::uint8_t subclass, std::initializer_list<Bytes> units)
{
    Bytes all = Join({Configuration(), Interface(0, interfaceClass, subclass)});
    for (const Bytes& unit : units) {
        all.insert(all.end(), unit.begin(), unit.end());
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, FindExtensionUnitTest,
    ::testing::Values(
        ParseCase{"MakersUnit", kCamera, 4},
        ParseCase{"SecondUnitIsTheMakers",
                  InInterface(0x0E, 0x01, {ExtensionUnit(3, kOtherGuid), ExtensionUnit(6, kMakerExtensionUnitGuid)}),
                  6},
        ParseCase{"InAVendorInterface", InInterface(0xFF, 0x01, {ExtensionUnit(4, kMakerExtensionUnitGuid)}),
                  std::nullopt},
        ParseCase{"InAStreamingInterface", InInterface(0x0E, 0x02, {ExtensionUnit(4, kMakerExtensionUnitGuid)}),
                  std::nullopt},
        ParseCase{"LengthTooShortForAGuid", WithByte(kCamera, kUnitAt, 12), std::nullopt},
        ParseCase{"ZeroLengthEndsTheWalk", WithByte(kCamera, 9 + 9, 0), std::nullopt},
        ParseCase{"LengthPastTheEnd", WithByte(kCamera, kUnitAt, 255), std::nullopt},
        ParseCase{"OneByte", Bytes{9}, std::nullopt}),
    [](const auto& test) { return std::string(test.param.label); });

// A video node in a made-up sysfs: the node's device is the USB interface,
// whose parent folder holds the USB device's descriptors. A plain file stands
// in for the device node (it opens, and every ioctl on it fails with ENOTTY).
struct FakeNode {
    test::TempDir root;
    std::filesystem::path usbDevice = root / "sys/devices/usb1/1-2.3";
    std::filesystem::path entry = root / "sys/class/video4linux/video0";
    std::filesystem::path node = root / "video0";

    FakeNode()
    {
        std::filesystem::create_directories(usbDevice / "1-2.3:1.0");
        std::filesystem::create_directories(entry);
        std::filesystem::create_directory_symlink(usbDevice / "1-2.3:1.0", entry / "device");
        std::ofstream(node) << "not a camera";
    }

    void Descriptors(const Bytes& bytes) const
    {
        std::ofstream out(usbDevice / "descriptors", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

TEST(ReadUsbDescriptors, ReadsTheParentDevicesDescriptorsUpToTheCap)
{
    FakeNode fake;
    fake.Descriptors(kCamera);
    EXPECT_EQ(ReadUsbDescriptors(fake.entry), kCamera);
    fake.Descriptors(Bytes(kMaxDescriptorBytes + 100, 0));
    EXPECT_EQ(ReadUsbDescriptors(fake.entry).size(), kMaxDescriptorBytes);
    EXPECT_TRUE(ReadUsbDescriptors(fake.root / "sys/class/video4linux/video9").empty());
}

// The transport is named after the USB device and sends unit requests only
// when the descriptors hold the maker's unit.
TEST(V4L2UvcTransport, NamedAfterTheUsbDeviceAndFindsTheUnitInItsDescriptors)
{
    for (const bool withUnit : {true, false}) {
        FakeNode fake;
        if (withUnit) {
            fake.Descriptors(kCamera);
        }
        const auto transport = V4L2UvcTransport::Open(fake.node.string(), 0x5020, fake.root / "sys");
        ASSERT_NE(transport, nullptr);
        EXPECT_EQ(transport->DeviceIdentity(), "usb-1-2.3");
        EXPECT_EQ(transport->ProductId(), 0x5020);
        EXPECT_EQ(transport->HasExtensionUnit(), withUnit);
        std::array<std::uint8_t, 11> data{};
        EXPECT_EQ(transport->QueryExtensionUnit(1, UvcQuery::GetCur, data), withUnit ? ENOTTY : ENOENT);
        std::int32_t value = 0;
        EXPECT_EQ(transport->GetControl(0x00980900, value), ENOTTY);
    }
    test::TempDir root;
    EXPECT_EQ(V4L2UvcTransport::Open((root / "video7").string(), 0x5020, root.path()), nullptr);
}

} // namespace
} // namespace orvane
