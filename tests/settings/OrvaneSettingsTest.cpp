#include "settings/OrvaneSettings.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProfileText.h"
#include "OrvaneKeyOrder.h"
#include "TempDir.h"

namespace orvane {
namespace {

using test::ProfileFromText;
using test::SectionKeys;


TEST(OrvaneSection, DefaultsFromAnEmptyProfile)
{
    OrvaneSettings s;
    s.window = {11, 811, 22, 622, 0}; // the window's current rectangle
    LoadOrvaneSection(ProfileFile{}, s);

    EXPECT_EQ(s.type, 1);
    EXPECT_EQ(s.resize, 3);
    const LogFontSettings& f = s.color.font;
    EXPECT_EQ(f.lfHeight, -21);
    EXPECT_EQ(f.lfWidth, 0);
    EXPECT_EQ(f.lfEscapement, 0);
    EXPECT_EQ(f.lfOrientation, 0);
    EXPECT_EQ(f.lfWeight, 0);
    EXPECT_EQ(f.lfItalic, 0);
    EXPECT_EQ(f.lfUnderline, 0);
    EXPECT_EQ(f.lfStrikeOut, 0);
    EXPECT_EQ(f.lfCharSet, 128);
    EXPECT_EQ(f.lfOutPrecision, 0);
    EXPECT_EQ(f.lfClipPrecision, 0);
    EXPECT_EQ(f.lfQuality, 0);
    EXPECT_EQ(f.lfPitchAndFamily, 0);
    EXPECT_EQ(f.lfFaceName, "ＭＳ Ｐゴシック");
    const ColorSettings& c = s.color;
    EXPECT_EQ(c.text, 16776960u);
    EXPECT_EQ(c.line, 65280u);
    EXPECT_EQ(c.linesize, 1);
    EXPECT_EQ(c.wave, 8421631u);
    EXPECT_EQ(c.wavesize, 1);
    EXPECT_EQ(c.focusflg, 0);
    EXPECT_EQ(c.focuspos, 240);
    EXPECT_EQ(c.focusscale, 0);
    EXPECT_EQ(c.gridflg, 0);
    EXPECT_EQ(c.grid, 16744576u);
    EXPECT_EQ(c.gridsize, 100);
    EXPECT_EQ(c.angle, 45);
    EXPECT_EQ(c.anglebaseline, 0);
    EXPECT_EQ(c.showangle, 1);
    EXPECT_EQ(c.CursorCrosshairs.ShowCenter, 0);
    EXPECT_EQ(c.CursorCrosshairs.Color, 16777215u);
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.height, 1024);
    EXPECT_EQ(s.frameTime, 333333);
    EXPECT_EQ(s.Device, -1);
    EXPECT_EQ(s.m_FilterIndex, 1);
    EXPECT_EQ(s.SmartTee, 0);
    EXPECT_EQ(s.ShowQX4Dlg, 0);
    EXPECT_EQ(s.SubType, kKeepSubtype);
    EXPECT_EQ(s.m_WB_R, 0);
    EXPECT_EQ(s.m_WB_G, 0);
    EXPECT_EQ(s.m_WB_B, 0);
    EXPECT_EQ(s.m_WB_Flg, 0);
    EXPECT_EQ(s.m_Bai, 1);
    EXPECT_EQ(s.m_Bai_X, 0.0);
    EXPECT_EQ(s.m_Bai_Y, 0.0);
    EXPECT_EQ(s.m_ScaleData.Visible, 0);
    EXPECT_EQ(s.m_ScaleData.Type, 0);
    EXPECT_EQ(s.m_ScaleData.Pos.x, 590);
    EXPECT_EQ(s.m_ScaleData.Pos.y, 430);
    EXPECT_EQ(s.m_ScaleData.Size.cx, 10);
    EXPECT_EQ(s.m_ScaleData.Size.cy, 10);
    EXPECT_EQ(s.m_ScaleData.Scale.x, 10.0);
    EXPECT_EQ(s.m_ScaleData.Scalexy, 10.0);
    EXPECT_EQ(s.m_CalibSet, (RECT{10, 10, 630, 470}));
    EXPECT_EQ(s.AutoMinSize, 6);
    EXPECT_EQ(s.AutoMaxSize, 200);
    EXPECT_EQ(s.savedir, "");
    EXPECT_EQ(s.savedir2, "");
    EXPECT_EQ(s.FocusSelect, 0);
    EXPECT_EQ(s.MagnetData.TH, 128);
    EXPECT_EQ(s.MagnetData.Size, 10);
    EXPECT_EQ(s.MagnetData.Show, 0);
    EXPECT_EQ(s.MagnetData.Vector, 0);
    EXPECT_EQ(s.window, (WindowPlacementSettings{11, 811, 22, 622, 0}));
    EXPECT_EQ(s.EnableAllTools, 1);
}

TEST(OrvaneSection, OneSaveWritesTheWholeKeySetInOrder)
{
    ProfileFile profile;
    SaveOrvaneSection(profile, OrvaneSettings{});
    EXPECT_EQ(SectionKeys(profile, kOrvaneSection), test::kOrvaneSaveOrder);
}

TEST(OrvaneSection, SavingOverAPartialSectionKeepsItsKeysAndAddsTheRest)
{
    ProfileFile profile = ProfileFromText("[Orvane]\nm_Bai=5\nwidth=640\n");
    OrvaneSettings s;
    LoadOrvaneSection(profile, s);
    SaveOrvaneSection(profile, s);
    const auto keys = SectionKeys(profile, kOrvaneSection);
    EXPECT_EQ(keys.size(), test::kOrvaneSaveOrder.size());
    EXPECT_EQ(keys[0], "m_Bai");
    EXPECT_EQ(keys[1], "width");
    EXPECT_EQ(profile.GetInt(kOrvaneSection, "m_Bai", 0), 5);
    EXPECT_EQ(profile.GetInt(kOrvaneSection, "width", 0), 640);
}

TEST(OrvaneSection, FrameIsHeldAsFrameTime)
{
    OrvaneSettings s;
    LoadOrvaneSection(ProfileFromText("[Orvane]\nFrame=150\n"), s);
    EXPECT_EQ(s.frameTime, 666666);

    s.frameTime = 333333;
    ProfileFile profile;
    SaveOrvaneSection(profile, s);
    EXPECT_EQ(profile.GetString(kOrvaneSection, "Frame", "", 20), "300");

    OrvaneSettings again;
    again.frameTime = 1;
    LoadOrvaneSection(profile, again);
    EXPECT_EQ(again.frameTime, 333333);
}

TEST(OrvaneSection, NonPositiveFrameKeepsTheFrameTime)
{
    OrvaneSettings s;
    LoadOrvaneSection(ProfileFromText("[Orvane]\nFrame=0\n"), s);
    EXPECT_EQ(s.frameTime, 333333);

    s.frameTime = 0;
    ProfileFile profile;
    SaveOrvaneSection(profile, s);
    EXPECT_EQ(profile.GetInt(kOrvaneSection, "Frame", 0), 300);
}

TEST(OrvaneSection, CalibrationFrameRealsAreTruncated)
{
    OrvaneSettings s;
    LoadOrvaneSection(ProfileFromText("[Orvane]\nm_CalibSet.left=10.9\nm_CalibSet.top=-3.7\n"
                                      "m_CalibSet.right=abc\nm_CalibSet.bottom=470.999999\n"),
                      s);
    EXPECT_EQ(s.m_CalibSet, (RECT{10, -3, 0, 470}));

    ProfileFile profile;
    SaveOrvaneSection(profile, s);
    EXPECT_EQ(profile.GetString(kOrvaneSection, "m_CalibSet.left", "", 30), "10.000000");
    EXPECT_EQ(profile.GetString(kOrvaneSection, "m_CalibSet.top", "", 30), "-3.000000");
}

TEST(OrvaneSection, TextsAreCutToTheirLimits)
{
    const std::string longName(40, 'F');
    const std::string longFolder = "/" + std::string(300, 'd');
    OrvaneSettings s;
    LoadOrvaneSection(ProfileFromText("[Orvane]\ncolor.font.lfFaceName=" + longName + "\nsavedir=" + longFolder +
                                      "\nsavedir2=" + longFolder + "\n"),
                      s);
    EXPECT_EQ(s.color.font.lfFaceName, std::string(31, 'F'));
    EXPECT_EQ(s.savedir.size(), 259u);
    EXPECT_EQ(s.savedir2, longFolder.substr(0, 259));

    // Characters, not bytes: 40 three-byte characters keep 31 of them.
    std::string japanese;
    for (int i = 0; i < 40; ++i) {
        japanese += "ゴ";
    }
    LoadOrvaneSection(ProfileFromText("[Orvane]\ncolor.font.lfFaceName=" + japanese + "\n"), s);
    EXPECT_EQ(s.color.font.lfFaceName, japanese.substr(0, 31 * 3));
}

TEST(OrvaneSection, ValuesAreTakenAsTheyStand)
{
    OrvaneSettings s;
    LoadOrvaneSection(ProfileFromText("[Orvane]\nm_Bai=99\ncolor.linesize=500\nMagnetData.TH=-4\n"
                                      "color.font.lfCharSet=300\nm_Bai_X=-12.5\ncolor.gridsize=abc\n"),
                      s);
    EXPECT_EQ(s.m_Bai, 99);
    EXPECT_EQ(s.color.linesize, 500);
    EXPECT_EQ(s.MagnetData.TH, -4);
    EXPECT_EQ(s.color.font.lfCharSet, 300 & 0xFF); // a byte field keeps the low byte
    EXPECT_EQ(s.m_Bai_X, -12.5);
    EXPECT_EQ(s.color.gridsize, 0); // not a number reads as 0
}

TEST(OrvaneSection, SubTypeReadInEitherCaseWrittenUppercase)
{
    OrvaneSettings s;
    LoadOrvaneSection(ProfileFromText("[Orvane]\nSubType=e436eb7d524f11ce9f530020af0ba770\n"), s);
    EXPECT_EQ(s.SubType, kMediaSubtypeRgb24);
    ProfileFile profile;
    SaveOrvaneSection(profile, s);
    EXPECT_EQ(profile.GetString(kOrvaneSection, "SubType", "", 63), "E436EB7D524F11CE9F530020AF0BA770");

    OrvaneSettings empty;
    LoadOrvaneSection(ProfileFromText("[Orvane]\nSubType=\n"), empty);
    EXPECT_EQ(empty.SubType, kKeepSubtype);
}

TEST(OrvaneSection, RoundTripOfChangedValues)
{
    OrvaneSettings s;
    s.type = 7;
    s.color.font.lfHeight = -30;
    s.color.font.lfItalic = 1;
    s.color.font.lfFaceName = "DejaVu Sans";
    s.color.text = 0xFFFFFFFF; // every bit set survives the signed "%d"
    s.color.CursorCrosshairs.Color = RGB(1, 2, 3);
    s.frameTime = 400000;
    s.Device = 3;
    s.SubType = FourccGuid(MakeFourcc('M', 'J', 'P', 'G'));
    s.m_Bai = 21;
    s.m_Bai_X = -120.25;
    s.m_Bai_Y = -3.5;
    s.m_ScaleData.Pos = {12, 34};
    s.m_ScaleData.Scale.x = 2.5;
    s.m_CalibSet = {1, 2, 300, 400};
    s.savedir = "/data/bmp";
    s.savedir2 = "/data/result";
    s.MagnetData.Vector = 3;
    s.window = {5, 905, 6, 706, 1};
    s.EnableAllTools = 1;

    ProfileFile profile;
    SaveOrvaneSection(profile, s);
    ProfileFile reread = ProfileFromText(profile.ToText());
    OrvaneSettings loaded;
    LoadOrvaneSection(reread, loaded);
    EXPECT_EQ(loaded, s);
}

TEST(OrvaneSection, WindowPlacementAloneKeepsTheCallersRectangle)
{
    WindowPlacementSettings placement{100, 900, 50, 650, 0};
    LoadWindowPlacement(ProfileFromText("[Orvane]\nWindow_Left=7\nWindow_Max=1\n"), placement);
    EXPECT_EQ(placement, (WindowPlacementSettings{7, 900, 50, 650, 1}));
}

TEST(OrvaneSection, UnknownSectionsAndKeysSurviveASave)
{
    ProfileFile profile = ProfileFromText("; comment\n[Other]\nx=1\n[Orvane]\nFutureKey=abc\nm_Bai=2\n");
    OrvaneSettings s;
    LoadOrvaneSection(profile, s);
    SaveOrvaneSection(profile, s);
    const ProfileFile reread = ProfileFromText(profile.ToText());
    EXPECT_EQ(reread.GetInt("Other", "x", 0), 1);
    EXPECT_EQ(reread.GetString(kOrvaneSection, "FutureKey", "", 10), "abc");
    EXPECT_NE(profile.ToText().find("; comment"), std::string::npos);
    EXPECT_EQ(SectionKeys(reread, kOrvaneSection).size(), test::kOrvaneSaveOrder.size() + 1);
}

TEST(OrvaneSection, SavedFileKeepsForeignContentAndLeavesNoTemporaryFile)
{
    const test::TempDir temp;
    const auto path = temp.path() / "Orvane.ini";
    {
        std::ofstream(path) << "[Camera Z]\nWidth=320\n[Orvane]\nm_Bai=4\nLater=1\n";
    }

    ProfileFile profile;
    ASSERT_TRUE(profile.Load(path));
    OrvaneSettings s;
    LoadOrvaneSection(profile, s);
    EXPECT_EQ(s.m_Bai, 4);
    s.m_Bai = 6;
    SaveOrvaneSection(profile, s);
    ASSERT_TRUE(profile.Save(path));

    ProfileFile reread;
    ASSERT_TRUE(reread.Load(path));
    EXPECT_EQ(reread.GetInt("Camera Z", "Width", 0), 320);
    EXPECT_EQ(reread.GetInt(kOrvaneSection, "Later", 0), 1);
    EXPECT_EQ(reread.GetInt(kOrvaneSection, "m_Bai", 0), 6);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), std::filesystem::directory_iterator{}),
              1);
}

TEST(DefaultFolders, FillEmptyFoldersWithoutSeparatorAndCreateThem)
{
    const test::TempDir temp;
    const std::string dataFolder = (temp.path() / "App").string();
    OrvaneSettings s;
    ApplyDefaultFolders(s, dataFolder);
    EXPECT_EQ(s.savedir, dataFolder + "bmp");
    EXPECT_EQ(s.savedir2, dataFolder + "result");
    EXPECT_TRUE(std::filesystem::is_directory(s.savedir));
    EXPECT_TRUE(std::filesystem::is_directory(s.savedir2));

    const std::string withSeparator = (temp.path() / "Orvane").string() + "/";
    OrvaneSettings nested;
    ApplyDefaultFolders(nested, withSeparator);
    EXPECT_EQ(nested.savedir, withSeparator + "bmp");
    EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "Orvane" / "result"));
}

TEST(DefaultFolders, ChosenFoldersAreLeftAlone)
{
    const test::TempDir temp;
    OrvaneSettings s;
    s.savedir = "/chosen/images";
    s.savedir2 = "/chosen/results";
    ApplyDefaultFolders(s, (temp.path() / "x").string());
    EXPECT_EQ(s.savedir, "/chosen/images");
    EXPECT_EQ(s.savedir2, "/chosen/results");
    EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
}

TEST(DefaultFolders, AFolderThatCannotBeCreatedIsStillNamed)
{
    const test::TempDir temp;
    const auto blocker = temp.path() / "file";
    {
        std::ofstream(blocker) << "x";
    }
    OrvaneSettings s;
    ApplyDefaultFolders(s, (blocker / "").string());
    EXPECT_EQ(s.savedir, (blocker / "").string() + "bmp");
    EXPECT_FALSE(std::filesystem::exists(s.savedir));
}

} // namespace
} // namespace orvane
