#include "capture/WhiteBalance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "image/FrameImage.h"

namespace orvane {
namespace {

FrameImage Filled(int width, int height, int bitsPerPixel, std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    FrameImage image;
    EXPECT_TRUE(image.Create(width, height, bitsPerPixel));
    const int step = bitsPerPixel / 8;
    for (int row = 0; row < height; ++row) {
        std::uint8_t* pixel = image.Row(row);
        for (int x = 0; x < width; ++x, pixel += step) {
            const std::uint8_t channels[4] = {blue, green, red, 255};
            std::copy_n(channels, step, pixel); // a grey picture takes the blue byte only
        }
        // The row padding must not count.
        for (int pad = width * step; pad < image.stride(); ++pad) {
            image.Row(row)[pad] = 255;
        }
    }
    return image;
}

struct RatioCase {
    std::string name;
    int bitsPerPixel;
    std::uint8_t blue, green, red;
    double redRatio, blueRatio;
};

class WhiteBalanceRatios : public ::testing::TestWithParam<RatioCase> {};

TEST_P(WhiteBalanceRatios, GreenOverRedAndGreenOverBlueOfTheWholePicture)
{
    const RatioCase& c = GetParam();
    const FrameImage picture = Filled(13, 7, c.bitsPerPixel, c.blue, c.green, c.red);
    WhiteBalanceRequest request{true, 0.0, 0.0};
    ASSERT_TRUE(MeasureWhiteBalance(picture, request));
    EXPECT_FALSE(request.requested);
    EXPECT_DOUBLE_EQ(request.redRatio, c.redRatio);
    EXPECT_DOUBLE_EQ(request.blueRatio, c.blueRatio);
}

INSTANTIATE_TEST_SUITE_P(WhiteBalance, WhiteBalanceRatios,
                         ::testing::Values(RatioCase{"Tinted24", 24, 50, 100, 200, 0.5, 2.0},
                                           RatioCase{"Tinted32", 32, 80, 120, 40, 3.0, 1.5},
                                           RatioCase{"NoRedSaysNothingAboutRed", 24, 100, 50, 0, 1.0, 0.5}),
                         [](const ::testing::TestParamInfo<RatioCase>& p) { return p.param.name; });

TEST(WhiteBalance, OnlyARaisedRequestOnAColourPictureIsServed)
{
    WhiteBalanceRequest idle;
    EXPECT_FALSE(MeasureWhiteBalance(Filled(4, 4, 24, 1, 2, 3), idle));
    EXPECT_DOUBLE_EQ(idle.redRatio, 1.0);

    WhiteBalanceRequest raised{true, 1.0, 1.0};
    EXPECT_FALSE(MeasureWhiteBalance(Filled(4, 4, 8, 1, 2, 3), raised));
    EXPECT_TRUE(raised.requested); // the next colour frame serves it
    EXPECT_FALSE(MeasureWhiteBalance(FrameImage{}, raised));
}

struct GainCase {
    std::string name;
    std::uint16_t gain;
    double ratio;
    std::uint16_t balanced;
};

class BalancedGainTable : public ::testing::TestWithParam<GainCase> {};

TEST_P(BalancedGainTable, ScalesTheSevenBitGainAndKeepsTheCoarseBits)
{
    EXPECT_EQ(BalancedGain(GetParam().gain, GetParam().ratio), GetParam().balanced);
}

INSTANTIATE_TEST_SUITE_P(
    WhiteBalance, BalancedGainTable,
    ::testing::Values(GainCase{"Truncated", 0x0031, 1.3, 0x003F}, // 63.7
                      GainCase{"CoarseBitsKept", 0x0580 | 0x20, 2.0, 0x0580 | 0x40},
                      GainCase{"OverflowSaturates", 0x0780 | 100, 1.5, 0x0780 | 0x7F},
                      GainCase{"BitsAboveTheGainDropped", 0xF800 | 0x0100 | 0x10, 1.0, 0x0100 | 0x10},
                      GainCase{"NeverZero", 0x0003, 0.1, 0x0001},
                      GainCase{"NotANumberKeepsTheGain", 0x0123, std::numeric_limits<double>::quiet_NaN(), 0x0123},
                      GainCase{"InfinityKeepsTheGain", 0x0123, std::numeric_limits<double>::infinity(), 0x0123}),
    [](const ::testing::TestParamInfo<GainCase>& p) { return p.param.name; });

} // namespace
} // namespace orvane
