#include "settings/MeasureStyleSettings.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(MeasureStyleSettings, DefaultsOfTheKeys)
{
    const MeasureStyle style = MeasureStyleOf(ColorSettings{});
    EXPECT_EQ(style.lineColour, RGB(0, 255, 0));
    EXPECT_EQ(style.lineWidth, 1);
    EXPECT_EQ(style.textColour, RGB(0, 255, 255));
    EXPECT_EQ(style.font.height, -21);
    EXPECT_EQ(style.font.faceName, "ＭＳ Ｐゴシック");
    EXPECT_TRUE(style.showAngle);
    EXPECT_EQ(style.angleBaseLine, 0);
    EXPECT_EQ(style.snapStep, 45);
}

TEST(MeasureStyleSettings, TakesEveryKeyItUses)
{
    ColorSettings color;
    color.line = 0x7F123456u; // a stray high byte is not a colour
    color.linesize = 7;
    color.text = RGB(1, 2, 3);
    color.font.lfHeight = 18;
    color.font.lfWeight = 700;
    color.font.lfItalic = 1;
    color.font.lfUnderline = 1;
    color.font.lfStrikeOut = 1;
    color.font.lfFaceName = "DejaVu Sans";
    color.showangle = 0;
    color.anglebaseline = 3;
    color.angle = 15;

    const MeasureStyle style = MeasureStyleOf(color);
    EXPECT_EQ(style.lineColour, 0x123456u);
    EXPECT_EQ(style.lineWidth, 7);
    EXPECT_EQ(style.textColour, RGB(1, 2, 3));
    EXPECT_EQ(style.font, (DrawingFont{.height = 18,
                                       .weight = 700,
                                       .italic = true,
                                       .underline = true,
                                       .strikeOut = true,
                                       .faceName = "DejaVu Sans"}));
    EXPECT_FALSE(style.showAngle);
    EXPECT_EQ(style.angleBaseLine, 3);
    EXPECT_EQ(style.snapStep, 15);
}

TEST(MeasureStyleSettings, PenIsAtLeastOnePixelWide)
{
    ColorSettings color;
    color.linesize = 0;
    EXPECT_EQ(MeasureStyleOf(color).lineWidth, 1);
    color.linesize = -4;
    EXPECT_EQ(MeasureStyleOf(color).lineWidth, 1);
}

} // namespace
} // namespace orvane
