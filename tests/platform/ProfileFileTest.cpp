#include "platform/ProfileFile.h"

#include <clocale>
#include <string>

#include <gtest/gtest.h>

#include "TempDir.h"

namespace orvane {
namespace {

using test::CountOtherEntries;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

ProfileFile FromText(std::string_view text)
{
    ProfileFile profile;
    profile.LoadFromText(text);
    return profile;
}

TEST(ProfileFile, SectionsAndKeysMatchWithoutCase)
{
    const auto profile = FromText("[Orvane]\nm_Bai=3\n");
    EXPECT_EQ(profile.GetInt("orvane", "M_BAI", 1), 3);
    EXPECT_EQ(profile.GetInt("ORVANE", "m_bai", 1), 3);
    EXPECT_TRUE(profile.HasSection("oRvAnE"));
    EXPECT_TRUE(profile.HasKey("Orvane", "M_Bai"));
    EXPECT_FALSE(profile.HasKey("Orvane", "m_Ba"));
}

TEST(ProfileFile, FirstMatchWins)
{
    // A key in a later section of the same name is not seen, like the
    // Windows profile functions.
    const auto profile = FromText("[A]\nk=1\nK=2\n[B]\nk=3\n[a]\nk=4\nonly=5\n");
    EXPECT_EQ(profile.GetInt("A", "k", 0), 1);
    EXPECT_EQ(profile.GetInt("B", "k", 0), 3);
    EXPECT_EQ(profile.GetInt("A", "only", 9), 9);
}

TEST(ProfileFile, ReadsCrLfAndBlanksAroundEquals)
{
    const auto profile = FromText("[ S ]\r\n  key  =  value text  \r\nn = 7\r\n");
    EXPECT_EQ(profile.GetString("S", "key", "", 100), "value text");
    EXPECT_EQ(profile.GetInt("S", "n", 0), 7);
}

struct IntCase {
    const char* text;
    int expected;
};

class ProfileInt : public testing::TestWithParam<IntCase> {};

TEST_P(ProfileInt, ParsesLikeGetPrivateProfileInt)
{
    const auto profile = FromText(std::string("[S]\nk=") + GetParam().text + "\n");
    EXPECT_EQ(profile.GetInt("S", "k", 42), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileInt,
                         testing::Values(IntCase{"12abc", 12}, IntCase{"abc", 0}, IntCase{" -5", -5}, IntCase{"+8", 8},
                                         IntCase{"-", 0}, IntCase{"3.9", 3}, IntCase{"-21", -21}, IntCase{"\"17\"", 17},
                                         IntCase{"0x1F", 31}, IntCase{"16776960", 16776960},
                                         IntCase{"99999999999", 2147483647}, IntCase{"-99999999999", -2147483647 - 1},
                                         IntCase{"", 42}));

TEST(ProfileFile, MissingKeyOrSectionGivesDefault)
{
    const auto profile = FromText("[S]\nk=1\n");
    EXPECT_EQ(profile.GetInt("S", "other", -7), -7);
    EXPECT_EQ(profile.GetInt("T", "k", -7), -7);
    EXPECT_EQ(profile.GetString("S", "other", "def", 10), "def");
    EXPECT_DOUBLE_EQ(profile.GetReal("T", "k", 2.5), 2.5);
}

struct RealCase {
    const char* text;
    double expected;
};

class ProfileReal : public testing::TestWithParam<RealCase> {};

TEST_P(ProfileReal, TakesLeadingNumber)
{
    const auto profile = FromText(std::string("[S]\nk=") + GetParam().text + "\n");
    EXPECT_DOUBLE_EQ(profile.GetReal("S", "k", 99.0), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileReal,
                         testing::Values(RealCase{"10.000000", 10.0}, RealCase{"-3.25", -3.25}, RealCase{"+0.5", 0.5},
                                         RealCase{"1.5mm", 1.5}, RealCase{"2e3", 2000.0}, RealCase{".25", 0.25},
                                         RealCase{"abc", 0.0}, RealCase{"", 0.0}, RealCase{"1,5", 1.0},
                                         RealCase{"inf", 0.0}, RealCase{"nan", 0.0}, RealCase{"'7.5'", 7.5}));

TEST(ProfileFile, RealsIgnoreTheNumericLocale)
{
    // Only effective where a comma locale is installed; the C locale check
    // still guards the round trip.
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    ProfileFile profile;
    profile.WriteReal("S", "k", -12.5);
    const double back = profile.GetReal("S", "k", 0.0);
    const std::string text = profile.ToText();
    std::setlocale(LC_NUMERIC, old.c_str());
    EXPECT_EQ(text, "[S]\nk=-12.500000\n");
    EXPECT_DOUBLE_EQ(back, -12.5);
}

TEST(ProfileFile, StringTrimsOnePairOfQuotes)
{
    const auto profile = FromText("[S]\na=\"quoted\"\nb='single'\nc=\"\"inner\"\"\nd=\"open\ne='mixed\"\n");
    EXPECT_EQ(profile.GetString("S", "a", "", 100), "quoted");
    EXPECT_EQ(profile.GetString("S", "b", "", 100), "single");
    EXPECT_EQ(profile.GetString("S", "c", "", 100), "\"inner\"");
    EXPECT_EQ(profile.GetString("S", "d", "", 100), "\"open");
    EXPECT_EQ(profile.GetString("S", "e", "", 100), "'mixed\"");
}

TEST(ProfileFile, StringLimitCountsCharactersNotBytes)
{
    const auto profile = FromText("[S]\nface=ＭＳ Ｐゴシック\nascii=abcdef\n");
    EXPECT_EQ(profile.GetString("S", "face", "", 4), "ＭＳ Ｐ");
    EXPECT_EQ(profile.GetString("S", "face", "", 2), "ＭＳ");
    EXPECT_EQ(profile.GetString("S", "face", "", 31), "ＭＳ Ｐゴシック");
    EXPECT_EQ(profile.GetString("S", "ascii", "", 0), "");
    EXPECT_EQ(profile.GetString("S", "ascii", "", 3), "abc");
    EXPECT_EQ(profile.GetString("S", "missing", "ゴシック体", 2), "ゴシ");
}

TEST(ProfileFile, RewriteKeepsOrderCommentsAndUnknownContent)
{
    auto profile =
        FromText("; header comment\n[Orvane]\nType = 1\nunknown=keep me\n; note\nwidth=640\n\n[Other]\nx=1\n");
    profile.WriteInt("orvane", "type", 2);
    profile.WriteInt("Orvane", "WIDTH", 1280);
    EXPECT_EQ(profile.ToText(),
              "; header comment\n[Orvane]\nType=2\nunknown=keep me\n; note\nwidth=1280\n\n[Other]\nx=1\n");
}

TEST(ProfileFile, NewKeyGoesToEndOfItsSectionAndNewSectionToEndOfFile)
{
    auto profile = FromText("[A]\na=1\n\n[B]\nb=1\n");
    profile.WriteString("A", "new", "x y");
    profile.WriteString("C", "c", "3");
    profile.WriteString("B", "b2", "2");
    EXPECT_EQ(profile.ToText(), "[A]\na=1\nnew=x y\n\n[B]\nb=1\nb2=2\n\n[C]\nc=3\n");
    EXPECT_EQ(profile.GetString("A", "new", "", 100), "x y");
}

TEST(ProfileFile, WritesIntegersAndRealsLikePrintf)
{
    ProfileFile profile;
    profile.WriteInt("S", "i", -21);
    profile.WriteInt("S", "big", 3000000000LL);
    profile.WriteReal("S", "r", 0.1234567);
    profile.WriteReal("S", "z", 10.0);
    EXPECT_EQ(profile.ToText(), "[S]\ni=-21\nbig=3000000000\nr=0.123457\nz=10.000000\n");
}

TEST(ProfileFile, LineBreaksInValuesCannotForgeKeys)
{
    ProfileFile profile;
    profile.WriteString("S", "path", "/a\n[S]\nevil=1");
    EXPECT_FALSE(profile.HasKey("S", "evil"));
    const auto reread = FromText(profile.ToText());
    EXPECT_FALSE(reread.HasKey("S", "evil"));
    EXPECT_EQ(reread.GetString("S", "path", "", 100), "/a [S] evil=1");
}

TEST(ProfileFile, ReadsUtf8WithByteOrderMark)
{
    const auto profile = FromText("\xEF\xBB\xBF[S]\nname=データ\n");
    EXPECT_TRUE(profile.HasSection("S"));
    EXPECT_EQ(profile.GetString("S", "name", "", 10), "データ");
    EXPECT_EQ(profile.ToText(), "[S]\nname=データ\n");
}

std::string Utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(ProfileFile, ReadsUtf16FilesAndSavesThemAsUtf8)
{
    for (const bool bigEndian : {false, true}) {
        TempDir dir;
        WriteBytes(dir / "Orvane.ini",
                   Utf16(u"[Orvane]\r\nface=ＭＳ Ｐゴシック\r\nemoji=\U0001F600\r\nn=5\r\n", bigEndian));
        ProfileFile profile;
        ASSERT_TRUE(profile.Load(dir / "Orvane.ini"));
        EXPECT_EQ(profile.GetString("orvane", "face", "", 31), "ＭＳ Ｐゴシック");
        EXPECT_EQ(profile.GetString("orvane", "emoji", "", 31), "\U0001F600");
        EXPECT_EQ(profile.GetInt("orvane", "n", 0), 5);
        ASSERT_TRUE(profile.Save(dir / "Orvane.ini"));
        EXPECT_EQ(ReadBytes(dir / "Orvane.ini"), "[Orvane]\nface=ＭＳ Ｐゴシック\nemoji=\U0001F600\nn=5\n");
    }
}

TEST(ProfileFile, MissingFileLoadsEmpty)
{
    TempDir dir;
    ProfileFile profile;
    EXPECT_TRUE(profile.Load(dir / "none.ini"));
    EXPECT_FALSE(profile.HasSection("Orvane"));
    EXPECT_EQ(profile.ToText(), "");
}

TEST(ProfileFile, UnreadableFileFailsToLoad)
{
    TempDir dir;
    ProfileFile profile;
    EXPECT_FALSE(profile.Load(dir.path())); // a folder
}

TEST(ProfileFile, SaveRoundTripsAndLeavesNoTemporary)
{
    TempDir dir;
    ProfileFile profile;
    profile.WriteString("Orvane", "savedir", "/home/u/Documents/QMC/Orvane/bmp");
    profile.WriteInt("CALIBRATION", "unit_0", 1);
    ASSERT_TRUE(profile.Save(dir / "Orvane.ini"));
    EXPECT_EQ(CountOtherEntries(dir.path(), "Orvane.ini"), 0);
    ProfileFile back;
    ASSERT_TRUE(back.Load(dir / "Orvane.ini"));
    EXPECT_EQ(back.GetString("Orvane", "savedir", "", 260), "/home/u/Documents/QMC/Orvane/bmp");
    EXPECT_EQ(back.GetInt("CALIBRATION", "unit_0", 0), 1);
}

TEST(ProfileFile, FailedSaveLeavesOldFileIntact)
{
    TempDir dir;
    WriteBytes(dir / "Orvane.ini", "[Orvane]\nm_Bai=2\n");
    ProfileFile profile;
    ASSERT_TRUE(profile.Load(dir / "Orvane.ini"));
    profile.WriteInt("Orvane", "m_Bai", 5);
    // The tests may run as root, so an unwritable folder is made by putting a
    // plain file where the folder should be.
    WriteBytes(dir / "notafolder", "x");
    EXPECT_FALSE(profile.Save(dir / "notafolder" / "Orvane.ini"));
    EXPECT_EQ(ReadBytes(dir / "Orvane.ini"), "[Orvane]\nm_Bai=2\n");
    EXPECT_EQ(ReadBytes(dir / "notafolder"), "x");
}

} // namespace
} // namespace orvane
