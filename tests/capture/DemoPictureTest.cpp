#include "capture/DemoPicture.h"

#include <cstddef>
#include <string>

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::size_t At(int x, int y, int channel)
{
    return (static_cast<std::size_t>(y) * kDemoWidth + static_cast<std::size_t>(x)) * 3 +
           static_cast<std::size_t>(channel);
}

struct BlurCase {
    std::string name;
    int radius;
    bool changesTheTicks;
};

class BlurDemoPictureTest : public ::testing::TestWithParam<BlurCase> {};

TEST_P(BlurDemoPictureTest, SoftensEdgesAndKeepsFlatField)
{
    const BlurCase& c = GetParam();
    const std::vector<std::uint8_t> sharp = DrawDemoPicture();
    const std::vector<std::uint8_t> blurred = BlurDemoPicture(sharp, c.radius);
    ASSERT_EQ(blurred.size(), sharp.size());
    // A field corner far from any ink keeps its value; a tick's edge does not.
    EXPECT_EQ(blurred[At(5, 5, 1)], sharp[At(5, 5, 1)]);
    const int tickX = 40 + 10 * 7; // a short tick, ink at columns 110 and 111
    EXPECT_EQ(blurred[At(tickX, kDemoScaleRow - 10, 1)] != sharp[At(tickX, kDemoScaleRow - 10, 1)], c.changesTheTicks);
}

INSTANTIATE_TEST_SUITE_P(Radii, BlurDemoPictureTest,
                         ::testing::Values(BlurCase{"Sharp", 0, false}, BlurCase{"Negative", -4, false},
                                           BlurCase{"Slight", 1, true}, BlurCase{"Strong", 6, true},
                                           BlurCase{"BeyondTheLimit", 500, true}),
                         [](const auto& tested) { return tested.param.name; });

TEST(BlurDemoPicture, RadiusAboveTheLimitIsTheLimit)
{
    const std::vector<std::uint8_t> sharp = DrawDemoPicture();
    EXPECT_EQ(BlurDemoPicture(sharp, 500), BlurDemoPicture(sharp, kDemoMaxBlur));
}

} // namespace
} // namespace orvane
