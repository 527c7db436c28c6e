#include "capture/CameraImageSetup.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCameraControl.h"
#include "platform/ProfileFile.h"
#include "settings/CameraImageSettings.h"

namespace orvane {
namespace {

using test::FakeCameraControl;
using test::MakeFakeMakerCamera;

ProfileFile ProfileFromText(std::string_view text)
{
    ProfileFile profile;
    profile.LoadFromText(text);
    return profile;
}

// The mode register's start-up bits first (0x4002 cleared, then 0x0010 set,
// one write at a time), then the three start-up registers, which are set
// even when the mode register never takes its value.
TEST(CameraImageSetup, StartUpRegisters)
{
    struct Case {
        std::uint16_t modeBefore;
        int ignored;
        std::uint16_t modeAfter;
        std::size_t modeWrites;
    };
    for (const Case& c : {Case{0x4702, 0, 0x0710, 2}, Case{0x0002, 0, 0x0010, 2}, Case{0x0000, 0, 0x0010, 1},
                          Case{0x0110, 0, 0x0110, 0}, Case{0x4002, 1'000'000, 0x4002, 100}}) {
        FakeCameraControl camera = MakeFakeMakerCamera();
        camera.registers[0x0106] = c.modeBefore;
        camera.ignoredWrites[0x0106] = c.ignored;
        EXPECT_EQ(CameraImageSetup(camera).InitialiseRegisters(), c.ignored == 0) << c.modeBefore;
        EXPECT_EQ(camera.registers[0x0106], c.modeAfter);
        EXPECT_EQ(camera.Writes('W', 0x0106).size(), c.modeWrites) << c.modeBefore;
        EXPECT_EQ((std::vector<int>{camera.registers[0x023E], camera.registers[0x0267], camera.registers[0x0001]}),
                  (std::vector<int>{0x0234, 0, 12}));
    }
}

struct ApplyCase {
    std::string name;
    std::string section;
    std::vector<int> registers; // green, green 2, blue, red, exposure
    std::vector<int> controls;  // brightness, saturation, sharpness, gamma
};

class ApplySaved : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ApplySaved, WritesTheSectionOrTheCameraDefaults)
{
    const ApplyCase& c = GetParam();
    FakeCameraControl camera = MakeFakeMakerCamera();
    CameraImageSetup(camera).ApplySavedSettings(ProfileFromText(c.section));
    EXPECT_EQ((std::vector<int>{camera.registers[0x002B], camera.registers[0x002E], camera.registers[0x002C],
                                camera.registers[0x002D], camera.registers[0x0009]}),
              c.registers);
    EXPECT_EQ((std::vector<int>{camera.properties[200].value, camera.properties[204].value,
                                camera.properties[205].value, camera.properties[206].value}),
              c.controls);
}

INSTANTIATE_TEST_SUITE_P(
    CameraImageSetup, ApplySaved,
    ::testing::Values(ApplyCase{"NoSectionGivesDefaults", "", {0x45, 0x45, 0x46, 0x44, 500}, {0, 50, 3, 220}},
                      ApplyCase{"SavedValues",
                                "[Camera]\nWB_AUTO=0\nWB_RED=90\nWB_GREEN=70\nWB_BLUE=1410\nEXPOSURE=321\n"
                                "VP_BRIGHTNESS=-7\nVP_SATURATION=44\nVP_SHARPNESS=1\nVP_GAMMA=180\n",
                                {70, 70, 1410, 90, 321},
                                {-7, 44, 1, 180}},
                      ApplyCase{"MissingKeysGiveDefaults",
                                "[camera]\nwb_red=90\nVP_GAMMA=111\n",
                                {0x45, 0x45, 0x46, 90, 500},
                                {0, 50, 3, 111}}),
    [](const ::testing::TestParamInfo<ApplyCase>& p) { return p.param.name; });

TEST(CameraImageSetup, ApplyPulsesTheModeBitAndSetsTheLevels)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    CameraImageSetup(camera).ApplySavedSettings(ProfileFile{});
    const std::vector<int> modes = camera.Writes('W', 0x0106);
    ASSERT_GE(modes.size(), 2U);
    EXPECT_NE(modes[modes.size() - 2] & 0x8000, 0);
    EXPECT_EQ(modes.back() & 0x8000, 0);
    EXPECT_EQ(camera.registers[0x0106], 0x0710);
    EXPECT_EQ(camera.registers[0x0213], 128);
    EXPECT_EQ(camera.registers[0x0214], 128);
}

TEST(CameraImageSetup, AValueWithoutKeyOrDefaultIsLeftAlone)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    camera.properties[204].readable = false; // no range, no default
    camera.properties[401].readable = false;
    CameraImageSetup(camera).ApplySavedSettings(ProfileFile{});
    EXPECT_TRUE(camera.Writes('C', 204).empty());
    EXPECT_TRUE(camera.Writes('W', 0x002B).empty());
    EXPECT_EQ(camera.registers[0x002D], 0x44);
}

TEST(CameraImageSetup, SaveWritesWhatTheCameraHoldsAndItComesBack)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    ProfileFile profile;
    ASSERT_TRUE(CameraImageSetup(camera).SaveSettings(profile));
    CameraImageSettings saved;
    LoadCameraImageSection(profile, saved);
    EXPECT_EQ(saved, (CameraImageSettings{test::kFakeRed, test::kFakeGreen, test::kFakeBlue, test::kFakeExposure,
                                          12, 60, 5, 150}));
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "WB_AUTO", -1), 0);
    FakeCameraControl fresh = MakeFakeMakerCamera();
    fresh.registers[0x002D] = 1;
    fresh.properties[206].value = 300;
    CameraImageSetup(fresh).ApplySavedSettings(profile);
    EXPECT_EQ(fresh.registers[0x002D], test::kFakeRed);
    EXPECT_EQ(fresh.properties[206].value, 150);
}

// A value that cannot be read keeps what was saved (or the control's default),
// never 0; a camera that went away leaves the section as it was.
TEST(CameraImageSetup, SaveKeepsWhatCannotBeRead)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    camera.unreadable.insert(0x0009);
    camera.unreadable.insert(0x002D);
    ProfileFile profile = ProfileFromText("[Camera]\nEXPOSURE=777\n");
    ASSERT_TRUE(CameraImageSetup(camera).SaveSettings(profile));
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "EXPOSURE", 0), 777);
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "WB_RED", 0), 0x44);
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "WB_BLUE", 0), test::kFakeBlue);

    camera.gone = true;
    const std::string before = profile.ToText();
    EXPECT_FALSE(CameraImageSetup(camera).SaveSettings(profile));
    EXPECT_EQ(profile.ToText(), before);
}

} // namespace
} // namespace orvane
