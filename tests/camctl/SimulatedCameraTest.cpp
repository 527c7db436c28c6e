#include "camctl/SimulatedCamera.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <linux/v4l2-controls.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

// Bit 0x4000 of 0x0106: the controller's own loop holds the gains at unity
// and the exposure at its default, and ignores writes to them.
TEST(SimulatedCamera, AutomaticModeRulesGainsAndExposure)
{
    SimulatedCamera camera;
    camera.SetRegister(0x0009, 0x0100);
    const auto unit = [&](std::uint8_t selector, std::vector<std::uint8_t> data) {
        data.resize(11);
        return camera.QueryExtensionUnit(selector, UvcQuery::SetCur, data);
    };
    ASSERT_EQ(unit(8, {1}), 0); // automatic exposure, as a program would switch it
    EXPECT_EQ(camera.Register(0x002D), SimulatedCamera::kUnityGain);
    EXPECT_EQ(camera.Register(0x002C), SimulatedCamera::kUnityGain);
    EXPECT_EQ(camera.Register(0x0009), SimulatedCamera::kExposureDefault);
    ASSERT_EQ(unit(4, {0x40, 0, 0x40, 0, 0x40, 0}), 0);
    EXPECT_EQ(camera.Register(0x002D), SimulatedCamera::kUnityGain);
    ASSERT_EQ(unit(7, {0}), 0);
    ASSERT_EQ(unit(4, {0x40, 0, 0x40, 0, 0x40, 0}), 0);
    EXPECT_EQ(camera.Register(0x002D), 0x40);
    EXPECT_EQ(camera.Register(0x002E), 0x40);
}

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
