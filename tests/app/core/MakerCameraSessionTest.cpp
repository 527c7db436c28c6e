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

TEST_F(MakerCameraSessionTest, GoingLiveSetsTheStartUpRegistersAndHoldsSet)
{
    m_camera.registers[0x0106] = 0x4002;
    m_camera.registers[0x0267] = 9;
    m_session.Begin(&m_camera);
    EXPECT_EQ(m_camera.registers[0x0106], 0x0010);
    EXPECT_EQ(m_camera.registers[0x0267], 0);
    EXPECT_EQ(m_camera.registers[0x0001], 12);
    EXPECT_FALSE(m_session.setEnabled());
    EXPECT_EQ(m_session.frames(), 0);
}

TEST_F(MakerCameraSessionTest, TheSavedSettingsAreAppliedOnceOnTheTickAfterMoreThanTenFrames)
{
    m_profile.LoadFromText("[Camera]\nWB_RED=99\nVP_GAMMA=111\n");
    m_session.Begin(&m_camera);
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
    EXPECT_EQ(m_camera.registers[0x002B], 0x45); // no key: the control's default

    // Once per run: later ticks leave the operator's changes alone.
    m_camera.registers[0x002D] = 0x20;
    Frames(50);
    EXPECT_FALSE(m_session.OnTick(&m_camera, m_profile));
    EXPECT_EQ(m_camera.registers[0x002D], 0x20);
    EXPECT_EQ(m_session.frames(), 11);

    // The next run applies them again.
    m_session.End(&m_camera, m_profile);
    m_session.Begin(&m_camera);
    EXPECT_EQ(m_session.frames(), 0);
    Frames(11);
    EXPECT_TRUE(m_session.OnTick(&m_camera, m_profile));
}

TEST_F(MakerCameraSessionTest, StoppingSavesTheCameraSettings)
{
    m_session.Begin(&m_camera);
    Frames(11);
    ASSERT_TRUE(m_session.OnTick(&m_camera, m_profile));
    m_camera.registers[0x0009] = 765;
    m_camera.properties[204].value = 77;
    m_session.End(&m_camera, m_profile);
    EXPECT_TRUE(m_session.setEnabled());
    EXPECT_EQ(m_profile.GetInt(kCameraImageSection, "EXPOSURE", 0), 765);
    EXPECT_EQ(m_profile.GetInt(kCameraImageSection, "VP_SATURATION", 0), 77);
    EXPECT_EQ(m_profile.GetInt(kCameraImageSection, "WB_AUTO", 1), 0);
}

TEST_F(MakerCameraSessionTest, StoppingBeforeTheSettingsWereAppliedKeepsTheSavedOnes)
{
    const std::string saved = "[Camera]\nWB_AUTO=0\nWB_RED=99\n";
    m_profile.LoadFromText(saved);
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
    EXPECT_TRUE(m_session.active());
    EXPECT_TRUE(m_session.setEnabled());
    Frames(20);
    EXPECT_FALSE(m_session.OnTick(nullptr, m_profile));
    m_session.End(nullptr, m_profile);
    EXPECT_FALSE(m_profile.HasSection(kCameraImageSection));
}

} // namespace
} // namespace orvane
