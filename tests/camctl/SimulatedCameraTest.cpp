#include "camctl/SimulatedCamera.h"

#include <array>
#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <linux/v4l2-controls.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The extension unit's answers to requests the library never makes wrongly,
// made here by hand: each ends with the errno a real device gives.
struct UnitCase {
    const char* label;
    std::vector<std::pair<std::uint8_t, Bytes>> setsBefore; // selector 3 commands first
    std::uint8_t selector;
    UvcQuery query;
    std::size_t size;
    int result;
    Bytes sent = {};
};

class UnitProtocolTest : public ::testing::TestWithParam<UnitCase> {};

TEST_P(UnitProtocolTest, AnswersLikeTheController)
{
    const UnitCase& c = GetParam();
    SimulatedCamera camera;
    for (const auto& [selector, bytes] : c.setsBefore) {
        Bytes data = bytes;
        data.resize(11);
        camera.QueryExtensionUnit(selector, UvcQuery::SetCur, data);
    }
    Bytes data = c.sent;
    data.resize(c.size);
    EXPECT_EQ(camera.QueryExtensionUnit(c.selector, c.query, data), c.result);
}

const Bytes kSelect{0, SimulatedCamera::kBusAddress, SimulatedCamera::kBusMode};

INSTANTIATE_TEST_SUITE_P(
    Requests, UnitProtocolTest,
    ::testing::Values(UnitCase{"CommandBeforeSelection", {}, 3, UvcQuery::SetCur, 11, EPIPE, {1, 1, 5, 0}},
                      UnitCase{"CommandAfterWrongSelection", {{3, {0, 0x90, 0x02}}}, 3, UvcQuery::SetCur, 11, EPIPE,
                               {1, 1, 5, 0}},
                      UnitCase{"DataWithoutAnAddress", {{3, kSelect}}, 3, UvcQuery::SetCur, 11, EPIPE, {2, 2}},
                      UnitCase{"AddressWiderThanTheSensors", {{3, kSelect}}, 3, UvcQuery::SetCur, 11, EPIPE,
                               {1, 2, 5, 0, 9}},
                      UnitCase{"ShortBuffer", {}, 1, UvcQuery::GetCur, 10, ENOBUFS},
                      UnitCase{"BusSelectorIsReadOnly", {}, 1, UvcQuery::SetCur, 11, EPIPE},
                      UnitCase{"UnknownSelector", {}, 9, UvcQuery::GetCur, 11, ENOENT},
                      UnitCase{"LengthInTwoBytes", {}, 3, UvcQuery::GetLen, 2, 0},
                      UnitCase{"InfoInOneByte", {}, 3, UvcQuery::GetInfo, 1, 0},
                      UnitCase{"InfoInTwoBytes", {}, 3, UvcQuery::GetInfo, 2, ENOBUFS}),
    [](const auto& test) { return std::string(test.param.label); });

TEST(SimulatedCamera, DataCommandNeedsAWidthOfOneOrTwo)
{
    SimulatedCamera camera;
    for (const Bytes& command : {kSelect, Bytes{1, 1, 5, 0x00}}) {
        Bytes data = command;
        data.resize(11);
        ASSERT_EQ(camera.QueryExtensionUnit(3, UvcQuery::SetCur, data), 0);
    }
    Bytes data{2, 3};
    data.resize(11);
    EXPECT_EQ(camera.QueryExtensionUnit(3, UvcQuery::SetCur, data), EPIPE);
}

TEST(SimulatedCamera, RegisterPagesAndAPageSelectThatDoesNotStick)
{
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    c5U87xCtl& library = opened.library;
    ASSERT_TRUE(library.WriteRegister(0xF0, 1, 2, 2, 1));
    ASSERT_TRUE(library.WriteRegister(0x37, 1, 0x1234, 2, 1));
    EXPECT_EQ(opened.camera->Register(0x0237), 0x1234);
    EXPECT_EQ(opened.camera->Register(0x0037), 0);
    std::uint16_t page = 0;
    ASSERT_TRUE(library.ReadRegister(0xF0, 1, page, 2, 1));
    EXPECT_EQ(page, 2);

    opened.camera->FailPageSelect(1);
    ASSERT_TRUE(library.WriteRegister(0xF0, 1, 1, 2, 1)); // the controller cannot tell
    ASSERT_TRUE(library.ReadRegister(0xF0, 1, page, 2, 1));
    EXPECT_EQ(page, 2);
    ASSERT_TRUE(library.WriteRegister(0xF0, 1, 1, 2, 1));
    ASSERT_TRUE(library.ReadRegister(0xF0, 1, page, 2, 1));
    EXPECT_EQ(page, 1);
    std::uint16_t mode = 0;
    ASSERT_TRUE(library.ReadRegister(0x06, 1, mode, 2, 1));
    EXPECT_EQ(mode, opened.camera->Register(0x0106));
}

// Bit 0x4000 of 0x0106: the controller's own loop holds the gains at unity
// and the exposure at its default, and ignores writes to them.
TEST(SimulatedCamera, AutomaticModeRulesGainsAndExposure)
{
    SimulatedCamera camera;
    camera.SetRegister(0x0009, 0x0100);
    const auto write = [&](std::uint16_t address, std::uint16_t value) {
        Bytes data{0, 11};
        data.resize(11);
        // Through the automatic exposure selector, as a program would.
        data[0] = static_cast<std::uint8_t>(value);
        return camera.QueryExtensionUnit(address, UvcQuery::SetCur, data);
    };
    ASSERT_EQ(write(8, 1), 0);
    EXPECT_EQ(camera.Register(0x002D), SimulatedCamera::kUnityGain);
    EXPECT_EQ(camera.Register(0x002C), SimulatedCamera::kUnityGain);
    EXPECT_EQ(camera.Register(0x0009), SimulatedCamera::kExposureDefault);
    Bytes gains{0x40, 0, 0x40, 0, 0x40, 0};
    gains.resize(11);
    ASSERT_EQ(camera.QueryExtensionUnit(4, UvcQuery::SetCur, gains), 0);
    EXPECT_EQ(camera.Register(0x002D), SimulatedCamera::kUnityGain);
    ASSERT_EQ(write(7, 0), 0);
    ASSERT_EQ(camera.QueryExtensionUnit(4, UvcQuery::SetCur, gains), 0);
    EXPECT_EQ(camera.Register(0x002D), 0x40);
    EXPECT_EQ(camera.Register(0x002E), 0x40);
}

struct SetCase {
    const char* label;
    std::uint32_t id;
    std::int32_t value;
    int result;
};

class SimulatedControlTest : public ::testing::TestWithParam<SetCase> {};

TEST_P(SimulatedControlTest, RangesAndReadOnly)
{
    SimulatedCamera camera;
    camera.SetReadOnly(V4L2_CID_BACKLIGHT_COMPENSATION, true);
    EXPECT_EQ(camera.SetControl(GetParam().id, GetParam().value), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Controls, SimulatedControlTest,
                         ::testing::Values(SetCase{"InRange", V4L2_CID_GAMMA, 300, 0},
                                           SetCase{"AboveMaximum", V4L2_CID_GAMMA, 501, ERANGE},
                                           SetCase{"BooleanTwo", V4L2_CID_HUE_AUTO, 2, ERANGE},
                                           SetCase{"ReadOnly", V4L2_CID_BACKLIGHT_COMPENSATION, 0, EACCES},
                                           SetCase{"Missing", V4L2_CID_PAN_ABSOLUTE, 0, EINVAL}),
                         [](const auto& test) { return std::string(test.param.label); });

// The demo feed reads the picture state on its streaming thread while the UI
// thread changes it (run under ThreadSanitizer: scripts/test.sh --tsan).
TEST(SimulatedCamera, PictureStateIsReadWhileWritten)
{
    SimulatedCamera camera;
    std::jthread reader([&camera](std::stop_token stop) {
        while (!stop.stop_requested()) {
            const SimulatedPicture picture = camera.Picture();
            ASSERT_LE(picture.redGain, 0x7F);
        }
    });
    for (std::uint16_t gain = 0; gain < 2000; ++gain) {
        camera.SetRegister(0x002D, gain & 0x7F);
        camera.SetControl(V4L2_CID_BRIGHTNESS, gain % 64);
    }
    reader.request_stop();
    reader.join();
    EXPECT_EQ(camera.Picture().brightness, 1999 % 64);
}

} // namespace
} // namespace orvane
