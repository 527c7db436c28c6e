#include <chrono>
#include <cstdint>
#include <thread>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/core/LiveCamera.h"
#include "app/core/MeasureDlgState.h"
#include "settings/CameraImageSettings.h"

namespace orvane {
namespace {

// The demo camera presents itself as the maker's camera, so a live run goes
// through the image settings' whole life: start-up registers, the saved
// settings after more than ten frames, the white balance, the save at the stop.
class MakerCameraLiveTest : public ::testing::Test {
protected:
    // The frames are taken as they come: each event copies the latest one.
    void SetUp() override { m_state.ConnectCapture([] {}); }

    // One frame-ready event after a tick at `m_now`.
    bool Frame()
    {
        m_now += 100;
        m_state.OnTick(m_now);
        return m_state.OnFrameReady(m_now + 10);
    }

    [[nodiscard]] std::uint16_t Register(std::uint16_t reg) { return m_camera.capture().demoCamera().Register(reg); }

    test::AppTempFolder m_folder;
    LiveCamera m_camera{true};
    MeasureDlgState m_state{m_camera, m_folder.Roots()};
    std::uint32_t m_now = 100000;
};

TEST_F(MakerCameraLiveTest, ARunAppliesTheSavedSettingsOnceAndSavesThemAtTheStop)
{
    ASSERT_TRUE(m_state.Initialise());
    m_state.profile().WriteInt(kCameraImageSection, "WB_RED", 50);
    m_state.profile().WriteInt(kCameraImageSection, "EXPOSURE", 700);
    m_state.EndLive();
    ASSERT_TRUE(m_state.BeginLive());

    EXPECT_EQ(m_state.settings().ShowQX4Dlg, 1);
    ASSERT_NE(m_camera.capture().cameraControl(), nullptr);
    EXPECT_FALSE(m_state.setButtonEnabled());
    EXPECT_EQ(Register(0x0001), 12); // the start-up registers, on page 0 and 1
    EXPECT_NE(Register(0x0106) & 0x0010, 0);

    for (int frame = 0; frame < 11; ++frame) {
        EXPECT_TRUE(Frame());
        EXPECT_NE(Register(0x002D), 50) << "applied after frame " << frame;
    }
    m_state.OnTick(m_now += 100);
    EXPECT_TRUE(m_state.setButtonEnabled());
    EXPECT_EQ(Register(0x002D), 50);
    EXPECT_EQ(Register(0x0009), 700);

    // A white-balance request takes the next frame, which goes no further:
    // one drawn with the saved red gain, above the green one.
    const auto redder = [this] {
        const std::uint8_t* pixel = m_state.frames().display.Row(10);
        return pixel[2] > pixel[1] + 20;
    };
    for (int wait = 0; wait < 100 && !(Frame() && redder()); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(redder());
    m_camera.makerSession().whiteBalance().requested = true;
    EXPECT_FALSE(Frame());
    EXPECT_FALSE(m_camera.makerSession().whiteBalance().requested);
    EXPECT_LT(m_camera.makerSession().whiteBalance().redRatio, 1.0) << "more red gain than green";

    m_camera.capture().demoCamera().SetRegister(0x0009, 333);
    m_state.EndLive();
    EXPECT_TRUE(m_state.setButtonEnabled());
    EXPECT_EQ(m_state.profile().GetInt(kCameraImageSection, "EXPOSURE", 0), 333);
    EXPECT_EQ(m_state.profile().GetInt(kCameraImageSection, "WB_RED", 0), 50);
}

} // namespace
} // namespace orvane
