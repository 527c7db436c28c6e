#include "settings/CameraSection.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProfileText.h"

namespace orvane {
namespace {

using test::ProfileFromText;
using test::SectionKeys;

TEST(CameraSection, DefaultsFromAnEmptyProfile)
{
    const CameraSection s = LoadCameraSection(ProfileFile{}, "USB Camera");
    EXPECT_EQ(s.Width, -1);
    EXPECT_EQ(s.Height, -1);
    EXPECT_EQ(s.Priority, 0);
    EXPECT_EQ(s.frameTime, 666666);
    EXPECT_EQ(s.SubType, kKeepSubtype);
    EXPECT_EQ(s.Resize_Width, -1);
    EXPECT_EQ(s.Resize_Height, -1);
    EXPECT_EQ(s.Resize_Left, -1);
    EXPECT_EQ(s.Resize_Top, -1);
    EXPECT_EQ(s.Resize_Right, -1);
    EXPECT_EQ(s.Resize_Bottom, -1);
    EXPECT_FALSE(s.HasResizeSize());
    EXPECT_FALSE(s.HasResizeSource());
}

TEST(CameraSection, ReadsEveryKeyOfTheNamedSection)
{
    const ProfileFile profile = ProfileFromText("[USB Camera]\nWidth=800\nHeight=600\nPriority=5\nFrame=300\n"
                                                "SubType=47504a4d00000010800000aa00389b71\nResize_Width=400\n"
                                                "Resize_Height=300\nResize_Left=0\nResize_Top=0\n"
                                                "Resize_Right=800\nResize_Bottom=600\n[Other]\nWidth=1\n");
    const CameraSection s = LoadCameraSection(profile, "usb camera");
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 600);
    EXPECT_EQ(s.Priority, 5);
    EXPECT_EQ(s.frameTime, 333333);
    EXPECT_EQ(s.SubType, FourccGuid(MakeFourcc('M', 'J', 'P', 'G')));
    EXPECT_TRUE(s.HasResizeSize());
    EXPECT_TRUE(s.HasResizeSource());
    EXPECT_EQ(s.Resize_Right, 800);
}

TEST(CameraSection, NonPositiveFrameGivesTheDefaultFrameTime)
{
    EXPECT_EQ(LoadCameraSection(ProfileFromText("[C]\nFrame=0\n"), "C").frameTime, 666666);
    EXPECT_EQ(LoadCameraSection(ProfileFromText("[C]\nFrame=-30\n"), "C").frameTime, 666666);
}

TEST(CameraSection, SaveWritesFormatAndPriority)
{
    CameraSection s;
    s.Width = 1280;
    s.Height = 960;
    s.Priority = 2;
    s.frameTime = 333333;
    s.SubType = kMediaSubtypeRgb24;
    s.Resize_Width = 640;
    ProfileFile profile;
    SaveCameraSection(profile, "Cam", s);
    EXPECT_EQ(SectionKeys(profile, "Cam"),
              (std::vector<std::string>{"Width", "Height", "Frame", "Priority", "SubType"}));
    EXPECT_EQ(profile.GetInt("Cam", "Frame", 0), 300);
    EXPECT_EQ(profile.GetString("Cam", "SubType", "", 63), "E436EB7D524F11CE9F530020AF0BA770");

    CameraSection expected = s;
    expected.Resize_Width = -1; // the resize keys are only read
    EXPECT_EQ(LoadCameraSection(profile, "Cam"), expected);
}

TEST(DeviceDialogSection, NeitherReadsNorWritesPriority)
{
    const ProfileFile profile = ProfileFromText("[Cam]\nWidth=320\nPriority=9\nResize_Width=100\n");
    CameraSection s;
    s.Priority = 4;
    s.Resize_Width = 50;
    s.Height = 77;
    LoadDeviceDialogSection(profile, "Cam", s);
    EXPECT_EQ(s.Width, 320);
    EXPECT_EQ(s.Height, -1); // missing: the default, not the old value
    EXPECT_EQ(s.Priority, 4);
    EXPECT_EQ(s.Resize_Width, 50);

    ProfileFile saved;
    SaveDeviceDialogSection(saved, "Cam", "", s);
    EXPECT_EQ(SectionKeys(saved, "Cam"), (std::vector<std::string>{"Width", "Height", "Frame", "SubType"}));
}

TEST(DeviceDialogSection, SavesToTheProfileWhenOneIsChosen)
{
    ProfileFile saved;
    SaveDeviceDialogSection(saved, "Cam", "Cam 10x", CameraSection{});
    EXPECT_FALSE(saved.HasSection("Cam"));
    EXPECT_EQ(saved.GetInt("Cam 10x", "Frame", 0), 150);
}

struct ResolutionCase {
    const char* name;
    int count;
    const char* firstName;
    const char* remembered;
    ProfilePrompt prompt;
    const char* section;
    const char* profile;
    bool mustAsk;
};

class ProfileResolution : public testing::TestWithParam<ResolutionCase> {};

TEST_P(ProfileResolution, Table)
{
    const ResolutionCase c = GetParam();
    const CameraProfileChoice choice = ResolveCameraProfile(c.count, c.firstName, "Dev", c.remembered, c.prompt);
    EXPECT_EQ(choice.sectionName, c.section);
    EXPECT_EQ(choice.profileName, c.profile);
    EXPECT_EQ(choice.mustAsk, c.mustAsk);
}

constexpr auto kMain = ProfilePrompt::WhenNoProfileRemembered;
constexpr auto kDialog = ProfilePrompt::Always;

INSTANTIATE_TEST_SUITE_P(
    Counts, ProfileResolution,
    testing::Values(ResolutionCase{"NoCount", 0, "", "", kMain, "Dev", "", false},
                    ResolutionCase{"NoCountForgetsProfile", 0, "", "Old", kMain, "Dev", "", false},
                    ResolutionCase{"NegativeCount", -2, "A", "Old", kMain, "Dev", "", false},
                    ResolutionCase{"OneProfile", 1, "A", "", kMain, "A", "A", false},
                    ResolutionCase{"OneProfileReplacesRemembered", 1, "A", "Old", kMain, "A", "A", false},
                    ResolutionCase{"OneProfileDialog", 1, "A", "", kDialog, "A", "A", false},
                    ResolutionCase{"OneEmptyName", 1, "", "Old", kMain, "Dev", "", false},
                    ResolutionCase{"TwoAsksOnce", 2, "A", "", kMain, "Dev", "", true},
                    ResolutionCase{"TwoRemembered", 2, "A", "B", kMain, "B", "B", false},
                    ResolutionCase{"TwoDialogAlwaysAsks", 2, "A", "B", kDialog, "Dev", "B", true},
                    ResolutionCase{"TwoDialogNothingRemembered", 2, "A", "", kDialog, "Dev", "", true}),
    [](const testing::TestParamInfo<ResolutionCase>& param) { return std::string(param.param.name); });

TEST(ProfileResolutionFromFile, ReadsCountAndFirstName)
{
    const ProfileFile profile = ProfileFromText("[Dev]\nCount=1\nName1=Dev 20x\n[Multi]\nCount=2\n");
    EXPECT_EQ(ResolveCameraProfile(profile, "Dev", "", kMain), (CameraProfileChoice{"Dev 20x", "Dev 20x", false}));
    EXPECT_EQ(ResolveCameraProfile(profile, "Multi", "", kMain), (CameraProfileChoice{"Multi", "", true}));
    EXPECT_EQ(ResolveCameraProfile(profile, "Unknown", "X", kMain), (CameraProfileChoice{"Unknown", "", false}));
}

TEST(CameraProfileNames, ListsNameOneToCount)
{
    const ProfileFile profile = ProfileFromText("[Dev]\nCount=3\nName1=Low\nName3=High\nName4=Beyond\n");
    EXPECT_EQ(CameraProfileNames(profile, "Dev"), (std::vector<std::string>{"Low", "", "High"}));
    EXPECT_TRUE(CameraProfileNames(profile, "Other").empty());
}

TEST(CameraProfileNames, AHugeCountIsBounded)
{
    const ProfileFile profile = ProfileFromText("[Dev]\nCount=2147483647\nName1=A\n");
    const auto names = CameraProfileNames(profile, "Dev");
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kMaxCameraProfiles));
    EXPECT_EQ(names.front(), "A");
}

TEST(CameraSection, AProfileNameWithALineBreakReadsBackWhatWasSaved)
{
    // Name1 holds a carriage return in the middle of its line.
    ProfileFile profile = ProfileFromText("[Dev]\nCount=1\nName1=Scope\rA\n");
    const CameraProfileChoice choice = ResolveCameraProfile(profile, "Dev", "", ProfilePrompt::WhenNoProfileRemembered);
    CameraSection saved;
    saved.Width = 1600;
    saved.Height = 1200;
    saved.frameTime = 1000000;
    SaveCameraSection(profile, choice.sectionName, saved);
    const ProfileFile reread = ProfileFromText(profile.ToText());
    const CameraSection loaded = LoadCameraSection(reread, choice.sectionName);
    EXPECT_EQ(loaded.Width, 1600);
    EXPECT_EQ(loaded.Height, 1200);
    EXPECT_EQ(loaded.frameTime, 1000000);
}

} // namespace
} // namespace orvane
