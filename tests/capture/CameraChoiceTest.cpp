#include "capture/CameraChoice.h"

#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ProfileFile.h"

namespace orvane {
namespace {

ProfileFile ProfileOf(const std::string& text)
{
    ProfileFile profile;
    profile.LoadFromText(text);
    return profile;
}

struct ResolveCase {
    const char* label;
    const char* ini;
    const char* remembered;
    bool alwaysAsk;
    const char* answer; // what the dialog answers; nullptr: no dialog expected
    const char* section;
    const char* profileAfter;
};

class ResolveCameraSectionTest : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveCameraSectionTest, SectionAndProfileAsTheCountSays)
{
    const ResolveCase& c = GetParam();
    const ProfileFile profile = ProfileOf(c.ini);
    std::string profileName = c.remembered;
    int asked = 0;
    std::vector<std::string> listed;
    std::string preselect;
    const ProfileAsker ask = [&](const std::string& camera, const std::vector<std::string>& names,
                                 const std::string& current) {
        ++asked;
        EXPECT_EQ(camera, "Cam");
        listed = names;
        preselect = current;
        return std::string(c.answer != nullptr ? c.answer : "");
    };
    EXPECT_EQ(ResolveCameraSection(profile, "Cam", profileName, c.alwaysAsk, ask), c.section);
    EXPECT_EQ(profileName, c.profileAfter);
    EXPECT_EQ(asked, c.answer != nullptr ? 1 : 0);
    if (asked == 1) {
        EXPECT_EQ(listed, (std::vector<std::string>{"Wide", "Zoom"}));
        EXPECT_EQ(preselect, c.remembered);
    }
}

constexpr const char* kTwo = "[Cam]\nCount=2\nName1=Wide\nName2=Zoom\n";

INSTANTIATE_TEST_SUITE_P(
    Profiles, ResolveCameraSectionTest,
    ::testing::Values(ResolveCase{"none", "[Cam]\nWidth=640\n", "Old", false, nullptr, "Cam", ""},
                      ResolveCase{"one", "[Cam]\nCount=1\nName1=Wide\n", "", false, nullptr, "Wide", "Wide"},
                      ResolveCase{"two, remembered", kTwo, "Zoom", false, nullptr, "Zoom", "Zoom"},
                      ResolveCase{"two, asked", kTwo, "", false, "Zoom", "Zoom", "Zoom"},
                      ResolveCase{"two, dialog always asks", kTwo, "Wide", true, "Zoom", "Zoom", "Zoom"},
                      ResolveCase{"two, empty answer", kTwo, "", false, "", "Cam", ""}),
    [](const auto& test) {
        std::string name = test.param.label;
        for (char& ch : name) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) != 0 ? ch : '_';
        }
        return name;
    });

TEST(ResolveCameraSection, WithoutDialogTheFirstProfileIsTaken)
{
    const ProfileFile profile = ProfileOf(kTwo);
    std::string profileName;
    EXPECT_EQ(ResolveCameraSection(profile, "Cam", profileName, false, nullptr), "Wide");
    EXPECT_EQ(profileName, "Wide");
}

TEST(PreselectedProfile, CurrentElseFirst)
{
    const std::vector<std::string> names{"Alpha", "Beta", "Gamma"};
    EXPECT_EQ(PreselectedProfile(names, "Gamma"), 2);
    EXPECT_EQ(PreselectedProfile(names, ""), 0);
    EXPECT_EQ(PreselectedProfile(names, "Delta"), 0);
    EXPECT_EQ(PreselectedProfile({}, "Alpha"), -1);
}

struct PriorityCase {
    const char* label;
    const char* ini;
    const char* remembered;
    int expected;
};

class PriorityTest : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(PriorityTest, GreatestPriorityOfTheResolvedSectionWins)
{
    const ProfileFile profile = ProfileOf(GetParam().ini);
    EXPECT_EQ(ChooseDeviceByPriority(profile, {"A", "B", "C"}, GetParam().remembered), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Priorities, PriorityTest,
    ::testing::Values(PriorityCase{"none set: the first", "", "", 0},
                      PriorityCase{"greatest", "[B]\nPriority=3\n[C]\nPriority=2\n", "", 1},
                      PriorityCase{"tie: the first of them", "[B]\nPriority=3\n[C]\nPriority=3\n", "", 1},
                      PriorityCase{"all below zero: none", "[A]\nPriority=-1\n[B]\nPriority=-1\n[C]\nPriority=-2\n", "",
                                   -1},
                      // The priority is the profile's, not the device section's.
                      PriorityCase{"from the single profile",
                                   "[B]\nPriority=9\nCount=1\nName1=B low\n[B low]\nPriority=0\n[C]\nPriority=4\n", "",
                                   2},
                      PriorityCase{"from the remembered profile",
                                   "[A]\nCount=2\nName1=P1\nName2=P2\n[P2]\nPriority=7\n[C]\nPriority=4\n", "P2", 0}));

struct ModelCase {
    const char* name;
    bool smartTee;
    bool maker;
};

class ModelRuleTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelRuleTest, NamesAreComparedExactly)
{
    EXPECT_EQ(ForcesSmartTee(GetParam().name), GetParam().smartTee);
    EXPECT_EQ(IsMakerCamera(GetParam().name), GetParam().maker);
}

INSTANTIATE_TEST_SUITE_P(Models, ModelRuleTest,
                         ::testing::Values(ModelCase{"VTC-07U4", true, false}, ModelCase{"DORVEX-210QX4", true, true},
                                           ModelCase{"DORVEX-210QX4-QM", true, true},
                                           ModelCase{"dorvex-210qx4", false, false},
                                           ModelCase{"DORVEX-210QX4 ", false, false},
                                           ModelCase{"USB Camera", false, false}));

TEST(DeclaredSources, ReadInOrderSkippingBrokenEntries)
{
    const ProfileFile profile = ProfileOf("[Sources]\nCount=5\n"
                                          "Name1=Pattern\nPipeline1=videotestsrc is-live=true\n"
                                          "Name2=No pipeline\n"
                                          "Name3=Pattern\nPipeline3=videotestsrc pattern=ball\n"
                                          "Name4=Clip\nPipeline4=filesrc location=/tmp/a.mp4 ! decodebin\n"
                                          "Pipeline5=videotestsrc\n");
    EXPECT_EQ(LoadDeclaredSources(profile),
              (std::vector<DeclaredSource>{{"Pattern", "videotestsrc is-live=true"},
                                           {"Clip", "filesrc location=/tmp/a.mp4 ! decodebin"}}));
}

TEST(DeclaredSources, AtMostTen)
{
    std::string text = "[Sources]\nCount=40\n";
    for (int i = 1; i <= 40; ++i) {
        text += "Name" + std::to_string(i) + "=S" + std::to_string(i) + "\nPipeline" + std::to_string(i) +
                "=videotestsrc\n";
    }
    EXPECT_EQ(LoadDeclaredSources(ProfileOf(text)).size(), static_cast<std::size_t>(kMaxDeclaredSources));
    EXPECT_TRUE(LoadDeclaredSources(ProfileOf("")).empty());
}

} // namespace
} // namespace orvane
