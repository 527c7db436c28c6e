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

struct InitCase {
    std::string name;
    std::uint16_t modeBefore;
    std::uint16_t modeAfter;
    int modeWrites;
};

class StartUpRegisters : public ::testing::TestWithParam<InitCase> {};

TEST_P(StartUpRegisters, ModeBitsThenTheThreeStartUpRegisters)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    camera.registers[0x0106] = GetParam().modeBefore;
    EXPECT_TRUE(CameraImageSetup(camera).InitialiseRegisters());
    EXPECT_EQ(camera.registers[0x0106], GetParam().modeAfter);
    EXPECT_EQ(camera.WritesTo(0x0106).size(), static_cast<std::size_t>(GetParam().modeWrites));
    EXPECT_EQ(camera.registers[0x023E], 0x0234);
    EXPECT_EQ(camera.registers[0x0267], 0);
    EXPECT_EQ(camera.registers[0x0001], 12);
}

INSTANTIATE_TEST_SUITE_P(CameraImageSetup, StartUpRegisters,
                         ::testing::Values(InitCase{"BothBitsSet", 0x4702, 0x0710, 2},
                                           InitCase{"OneBitSet", 0x0002, 0x0010, 2},
                                           InitCase{"OnlyTheFlagMissing", 0x0000, 0x0010, 1},
                                           InitCase{"AlreadyAsWanted", 0x0110, 0x0110, 0}),
                         [](const ::testing::TestParamInfo<InitCase>& p) { return p.param.name; });

TEST(CameraImageSetup, StartUpReportsAModeRegisterThatNeverChanges)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    camera.registers[0x0106] = 0x4002;
    camera.ignoredWrites[0x0106] = 1'000'000;
    EXPECT_FALSE(CameraImageSetup(camera).InitialiseRegisters());
    EXPECT_EQ(camera.registers[0x0001], 12); // the later steps still run
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
    const std::vector<int> modes = camera.WritesTo(0x0106);
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
    EXPECT_TRUE(camera.ControlWrites(204).empty());
    EXPECT_TRUE(camera.WritesTo(0x002B).empty());
    EXPECT_EQ(camera.registers[0x002D], 0x44);
}

TEST(CameraImageSetup, SaveWritesWhatTheCameraHolds)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    ProfileFile profile;
    ASSERT_TRUE(CameraImageSetup(camera).SaveSettings(profile));
    CameraImageSettings saved;
    LoadCameraImageSection(profile, saved);
    EXPECT_EQ(saved, (CameraImageSettings{test::kFakeRed, test::kFakeGreen, test::kFakeBlue, test::kFakeExposure,
                                          12, 60, 5, 150}));
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "WB_AUTO", -1), 0);

    // What was saved comes back on a camera started afresh.
    FakeCameraControl fresh = MakeFakeMakerCamera();
    fresh.registers[0x002D] = 1;
    fresh.properties[206].value = 300;
    CameraImageSetup(fresh).ApplySavedSettings(profile);
    EXPECT_EQ(fresh.registers[0x002D], test::kFakeRed);
    EXPECT_EQ(fresh.properties[206].value, 150);
}

TEST(CameraImageSetup, AnUnreadableValueKeepsWhatWasSavedInsteadOfZero)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    camera.unreadable.insert(0x0009);
    camera.unreadable.insert(0x002D);
    ProfileFile profile = ProfileFromText("[Camera]\nEXPOSURE=777\n");
    ASSERT_TRUE(CameraImageSetup(camera).SaveSettings(profile));
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "EXPOSURE", 0), 777);
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "WB_RED", 0), 0x44); // not saved before: the control's default
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "WB_BLUE", 0), test::kFakeBlue);
}

TEST(CameraImageSetup, ACameraThatWentAwayLeavesTheSectionAsItWas)
{
    FakeCameraControl camera = MakeFakeMakerCamera();
    camera.gone = true;
    const std::string text = "[Camera]\nWB_AUTO=0\nWB_RED=90\n";
    ProfileFile profile = ProfileFromText(text);
    const std::string before = profile.ToText();
    EXPECT_FALSE(CameraImageSetup(camera).SaveSettings(profile));
    EXPECT_EQ(profile.ToText(), before);
}

} // namespace
} // namespace orvane
