#include "camctl/V4L2UvcTransport.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "camctl/UvcDescriptors.h"

namespace orvane {
namespace {

// A video node in a made-up sysfs: a plain file stands in for the device
// node (it opens, and every ioctl on it fails with ENOTTY).
struct FakeNode {
    test::TempDir root;
    std::filesystem::path node = root / "video0";

    explicit FakeNode(bool withUnit)
    {
        const std::filesystem::path usbDevice = root / "sys/devices/usb1/1-2.3";
        std::filesystem::create_directories(usbDevice / "1-2.3:1.0");
        std::filesystem::create_directories(root / "sys/class/video4linux/video0");
        std::filesystem::create_directory_symlink(usbDevice / "1-2.3:1.0",
                                                  root / "sys/class/video4linux/video0/device");
        std::vector<std::uint8_t> descriptors{9, 0x04, 0, 0, 1, 0x0E, 0x01, 0, 0, 27, 0x24, 0x06, 5};
        descriptors.insert(descriptors.end(), kMakerExtensionUnitGuid.begin(), kMakerExtensionUnitGuid.end());
        descriptors.insert(descriptors.end(), {8, 1, 2, 2, 0xFF, 0x00, 0});
        if (withUnit) {
            std::ofstream out(usbDevice / "descriptors", std::ios::binary);
            out.write(reinterpret_cast<const char*>(descriptors.data()),
                      static_cast<std::streamsize>(descriptors.size()));
        }
        std::ofstream(node) << "not a camera";
    }
};

TEST(V4L2UvcTransport, NamedAfterTheUsbDeviceAndFindsTheUnitInItsDescriptors)
{
    FakeNode fake(true);
    const auto transport = V4L2UvcTransport::Open(fake.node.string(), 0x5020, fake.root / "sys");
    ASSERT_NE(transport, nullptr);
    EXPECT_EQ(transport->DeviceIdentity(), "usb-1-2.3");
    EXPECT_EQ(transport->ProductId(), 0x5020);
    EXPECT_TRUE(transport->HasExtensionUnit());
    std::array<std::uint8_t, 11> data{};
    // The request reaches the node's driver (here: none).
    EXPECT_EQ(transport->QueryExtensionUnit(1, UvcQuery::GetCur, data), ENOTTY);
    std::int32_t value = 0;
    EXPECT_EQ(transport->GetControl(0x00980900, value), ENOTTY);
}

TEST(V4L2UvcTransport, WithoutTheUnitNoUnitRequestIsMade)
{
    FakeNode fake(false);
    const auto transport = V4L2UvcTransport::Open(fake.node.string(), 0x5020, fake.root / "sys");
    ASSERT_NE(transport, nullptr);
    EXPECT_FALSE(transport->HasExtensionUnit());
    std::array<std::uint8_t, 11> data{};
    EXPECT_EQ(transport->QueryExtensionUnit(1, UvcQuery::GetCur, data), ENOENT);
}

TEST(V4L2UvcTransport, MissingNodeGivesNothing)
{
    test::TempDir root;
    EXPECT_EQ(V4L2UvcTransport::Open((root / "video7").string(), 0x5020, root.path()), nullptr);
}

} // namespace
} // namespace orvane
