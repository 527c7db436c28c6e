#include "settings/Guid.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

const Guid kSample{0x01234567, 0x89AB, 0xCDEF, {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE}};

TEST(SubTypeText, WritesUppercaseDigitsWithoutSeparators)
{
    EXPECT_EQ(FormatSubTypeText(kKeepSubtype), "E436EB8E524F11CE9F530020AF0BA770");
    EXPECT_EQ(FormatSubTypeText(kMediaSubtypeRgb24), "E436EB7D524F11CE9F530020AF0BA770");
    EXPECT_EQ(FormatSubTypeText(kSample), "0123456789ABCDEF1032547698BADCFE");
}

TEST(SubTypeText, ReadsBothCases)
{
    EXPECT_EQ(ParseSubTypeText("e436eb7d524f11ce9f530020af0ba770", kKeepSubtype), kMediaSubtypeRgb24);
    EXPECT_EQ(ParseSubTypeText("E436eb7D524F11cE9f530020AF0ba770", kKeepSubtype), kMediaSubtypeRgb24);
    EXPECT_EQ(ParseSubTypeText(FormatSubTypeText(kSample), kKeepSubtype), kSample);
}

TEST(SubTypeText, OtherCharactersCountAsZero)
{
    // 'G' in Data1's first digit and '-' in Data4's first byte count as 0.
    const Guid read = ParseSubTypeText("G436EB7D524F11CE-F530020AF0BA770", kKeepSubtype);
    EXPECT_EQ(read.Data1, 0x0436EB7Du);
    EXPECT_EQ(read.Data4[0], 0x0F);
    EXPECT_EQ(read.Data4[1], 0x53);
}

TEST(SubTypeText, EmptyOrShortTextKeepsTheFallback)
{
    EXPECT_EQ(ParseSubTypeText("", kMediaSubtypeRgb24), kMediaSubtypeRgb24);
    EXPECT_EQ(ParseSubTypeText("E436EB7D524F11CE9F530020AF0BA77", kKeepSubtype), kKeepSubtype);
    EXPECT_EQ(ParseSubTypeText("{E436EB7D-524F-11CE}", kKeepSubtype), kKeepSubtype);
}

TEST(SubTypeText, CharactersAfterTheThirtySecondAreIgnored)
{
    EXPECT_EQ(ParseSubTypeText("E436EB7D524F11CE9F530020AF0BA770 trailing", kKeepSubtype), kMediaSubtypeRgb24);
}

TEST(Fourcc, GuidFormAndBack)
{
    const std::uint32_t mjpg = MakeFourcc('M', 'J', 'P', 'G');
    EXPECT_EQ(mjpg, 0x47504A4Du);
    EXPECT_EQ(FormatGuid(FourccGuid(mjpg)), "{47504A4D-0000-0010-8000-00AA00389B71}");
    EXPECT_EQ(FourccOf(FourccGuid(mjpg)), mjpg);
    EXPECT_EQ(FourccText(mjpg), "MJPG");

    // A FOURCC subtype as the settings file stores it.
    const auto yuy2 = FourccOf(ParseSubTypeText("3259555900000010800000aa00389b71", kKeepSubtype));
    ASSERT_TRUE(yuy2.has_value());
    EXPECT_EQ(*yuy2, MakeFourcc('Y', 'U', 'Y', '2'));
    EXPECT_EQ(FourccText(*yuy2), "YUY2");
}

TEST(Fourcc, OtherGuidsHaveNone)
{
    EXPECT_FALSE(FourccOf(kKeepSubtype).has_value());
    EXPECT_FALSE(FourccOf(kMediaSubtypeRgb24).has_value());
    Guid almost = FourccGuid(MakeFourcc('Y', 'U', 'Y', '2'));
    almost.Data4[7] ^= 1;
    EXPECT_FALSE(FourccOf(almost).has_value());
}

TEST(Fourcc, UnprintableBytesShowAsQuestionMarks)
{
    EXPECT_EQ(FourccText(0x00414243u), "CBA?");
}

TEST(GuidText, RegistryFormRoundTrip)
{
    EXPECT_EQ(FormatGuid(kKeepSubtype), "{E436EB8E-524F-11CE-9F53-0020AF0BA770}");
    EXPECT_EQ(ParseGuid(FormatGuid(kSample)), kSample);
    EXPECT_EQ(ParseGuid("e436eb7d-524f-11ce-9f53-0020af0ba770"), kMediaSubtypeRgb24);
}

TEST(GuidText, RejectsMalformedRegistryForms)
{
    EXPECT_FALSE(ParseGuid("").has_value());
    EXPECT_FALSE(ParseGuid("{E436EB7D-524F-11CE-9F53-0020AF0BA770").has_value());
    EXPECT_FALSE(ParseGuid("{E436EB7D-524F-11CE-9F53-0020AF0BA77G}").has_value());
    EXPECT_FALSE(ParseGuid("E436EB7D524F11CE9F530020AF0BA770").has_value());
    EXPECT_FALSE(ParseGuid("{E436EB7D-524F-11CE+9F53-0020AF0BA770}").has_value());
}

} // namespace
} // namespace orvane
