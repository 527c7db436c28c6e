#include "settings/CrossLineSettings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProfileText.h"

namespace orvane {
namespace {

using test::ProfileFromText;
using test::SectionKeys;

TEST(CrossLineSections, NoSectionGivesTheHiddenMasterAndNoCircles)
{
    CrossLineSettings s;
    s.circles.push_back(CrossLine{}); // loading starts from empty lists
    LoadCrossLineSections(ProfileFile{}, s);
    ASSERT_EQ(s.lines.size(), 1u);
    const CrossLine& master = s.lines[0];
    EXPECT_EQ(master.Show, 0);
    EXPECT_EQ(master.Pos_x, 640);
    EXPECT_EQ(master.Pos_y, 480);
    EXPECT_EQ(master.Type, 0);
    EXPECT_EQ(master.Color, RGB(0, 255, 0));
    EXPECT_EQ(master.Size, 1);
    EXPECT_EQ(master.Draw, 100);
    EXPECT_TRUE(s.circles.empty());
}

TEST(CrossLineSections, ZeroOrNegativeCountAlsoGivesTheMaster)
{
    for (const char* text : {"[CROSSLINE]\nCount=0\nShow_0=1\n", "[CROSSLINE]\nCount=-3\n[CROSSLINE2]\nCount=-1\n"}) {
        CrossLineSettings s;
        LoadCrossLineSections(ProfileFromText(text), s);
        ASSERT_EQ(s.lines.size(), 1u) << text;
        EXPECT_EQ(s.lines[0], DefaultMasterLine()) << text;
        EXPECT_TRUE(s.circles.empty()) << text;
    }
}

TEST(CrossLineSections, MissingEntryKeysReadAsZero)
{
    CrossLineSettings s;
    LoadCrossLineSections(ProfileFromText("[CROSSLINE]\nCount=2\nShow_0=1\nPos_x_0=100\nColor_1=255\n"), s);
    ASSERT_EQ(s.lines.size(), 2u);
    EXPECT_EQ(s.lines[0].Show, 1);
    EXPECT_EQ(s.lines[0].Pos_x, 100);
    EXPECT_EQ(s.lines[0].Pos_y, 0);
    EXPECT_EQ(s.lines[0].Draw, 0);
    EXPECT_EQ(s.lines[1].Color, 255u);
    EXPECT_EQ(s.lines[1].Size, 0);
}

TEST(CrossLineSections, RoundTripOfLinesAndCircles)
{
    CrossLineSettings s;
    s.lines = {CrossLine{1, 320, 240, 0, RGB(255, 0, 0), 3, 50, 0.0F, 0, 0},
               CrossLine{1, -20, 15, 1, 0xFFFFFFFF, 10, 100, 0.0F, 0, 0}};
    s.circles = {CrossLine{1, 320, 240, 0, RGB(0, 0, 255), 1, 100, 50.5F, 3, 0},
                 CrossLine{0, 10, -10, 0, RGB(1, 2, 3), 2, 70, 12.25F, 1, 0}};
    ProfileFile profile;
    SaveCrossLineSections(profile, s);

    CrossLineSettings loaded;
    LoadCrossLineSections(ProfileFromText(profile.ToText()), loaded);
    EXPECT_EQ(loaded, s);
}

TEST(CrossLineSections, SaveWritesCountThenEntriesInOrder)
{
    CrossLineSettings s;
    s.lines = {DefaultMasterLine()};
    s.circles = {CrossLine{1, 1, 2, 0, 0, 1, 100, 5.0F, 3, 0}};
    ProfileFile profile;
    SaveCrossLineSections(profile, s);
    EXPECT_EQ(
        SectionKeys(profile, kCrossLineSection),
        (std::vector<std::string>{"Count", "Show_0", "Pos_x_0", "Pos_y_0", "Type_0", "Color_0", "Size_0", "Draw_0"}));
    EXPECT_EQ(SectionKeys(profile, kCrossCircleSection),
              (std::vector<std::string>{"Count", "Show_0", "Pos_x_0", "Pos_y_0", "Type_0", "Color_0", "Size_0",
                                        "Draw_0", "Radius_0", "Mode_0"}));
    EXPECT_EQ(profile.GetString(kCrossCircleSection, "Radius_0", "", 20), "5.000000");
}

TEST(CrossLineSections, AHugeCountIsBounded)
{
    CrossLineSettings s;
    LoadCrossLineSections(ProfileFromText("[CROSSLINE]\nCount=2147483647\n[CROSSLINE2]\nCount=99999999\n"), s);
    EXPECT_EQ(s.lines.size(), static_cast<std::size_t>(kMaxCrossLines));
    EXPECT_EQ(s.circles.size(), static_cast<std::size_t>(kMaxCrossLines));
}

TEST(CrossLineSections, UnknownKeysSurviveASave)
{
    ProfileFile profile = ProfileFromText("[CROSSLINE]\nCount=1\nNote=keep me\n[Mine]\na=b\n");
    CrossLineSettings s;
    LoadCrossLineSections(profile, s);
    SaveCrossLineSections(profile, s);
    EXPECT_EQ(profile.GetString(kCrossLineSection, "Note", "", 20), "keep me");
    EXPECT_EQ(profile.GetString("Mine", "a", "", 20), "b");
}

} // namespace
} // namespace orvane
