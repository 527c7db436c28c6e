#include "app/core/MakerCameraSession.h"

#include <string>

#include <gtest/gtest.h>

#include "FakeCameraControl.h"
#include "platform/ProfileFile.h"
#include "settings/CameraImageSettings.h"

namespace orvane {
namespace {

using test::FakeCameraControl;
using test::MakeFakeMakerCamera;

class MakerCameraSessionTest : public ::testing::Test {
protected:
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_session.CountFrame();
        }
    }

    FakeCameraControl m_camera = MakeFakeMakerCamera();
    ProfileFile m_profile;
    MakerCameraSession m_session;
};

// Going live sets the start-up registers and holds SET until the saved
// settings are applied, once, on the first tick after more than ten frames.
TEST_F(MakerCameraSessionTest, TheSavedSettingsAreAppliedOnceOnTheTickAfterMoreThanTenFrames)
{
    m_profile.LoadFromText("[Camera]\nWB_RED=99\nVP_GAMMA=111\n");
    m_camera.registers[0x0267] = 9;
    m_session.Begin(&m_camera);
    EXPECT_EQ(m_camera.registers[0x0267], 0);
    Frames(10);
    EXPECT_FALSE(m_session.OnTick(&m_camera, m_profile));
    EXPECT_FALSE(m_session.setEnabled());
    EXPECT_EQ(m_camera.registers[0x002D], test::kFakeRed);

    Frames(1);
    EXPECT_FALSE(m_session.OnTick(nullptr, m_profile)); // no control connection: still waiting
    EXPECT_TRUE(m_session.OnTick(&m_camera, m_profile));
    EXPECT_TRUE(m_session.setEnabled());
    EXPECT_EQ(m_camera.registers[0x002D], 99);
    EXPECT_EQ(m_camera.properties[206].value, 111);

    // Once per run: later ticks leave the operator's changes alone.
    m_camera.registers[0x002D] = 0x20;
    Frames(50);
    EXPECT_FALSE(m_session.OnTick(&m_camera, m_profile));
    EXPECT_EQ(m_camera.registers[0x002D], 0x20);

    // Stopping saves what the camera holds; the next run applies it again.
    m_session.End(&m_camera, m_profile);
    EXPECT_EQ(m_profile.GetInt(kCameraImageSection, "WB_RED", 0), 0x20);
    EXPECT_EQ(m_profile.GetInt(kCameraImageSection, "WB_AUTO", 1), 0);
    m_session.Begin(&m_camera);
    EXPECT_EQ(m_session.frames(), 0);
    Frames(11);
    EXPECT_TRUE(m_session.OnTick(&m_camera, m_profile));
}

TEST_F(MakerCameraSessionTest, StoppingBeforeTheSettingsWereAppliedKeepsTheSavedOnes)
{
    m_profile.LoadFromText("[Camera]\nWB_AUTO=0\nWB_RED=99\n");
    const std::string before = m_profile.ToText();
    m_session.Begin(&m_camera);
    Frames(5);
    m_session.End(&m_camera, m_profile);
    EXPECT_EQ(m_profile.ToText(), before);
    EXPECT_TRUE(m_session.setEnabled());
}

TEST_F(MakerCameraSessionTest, AMakerCameraWithoutControlDoesNotHoldSet)
{
    m_session.Begin(nullptr);
    EXPECT_TRUE(m_session.setEnabled());
    Frames(20);
    EXPECT_FALSE(m_session.OnTick(nullptr, m_profile));
    m_session.End(nullptr, m_profile);
    EXPECT_FALSE(m_profile.HasSection(kCameraImageSection));
}

} // namespace
} // namespace orvane
