#include "capture/DemoVideoDevice.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "capture/CCapture.h"
#include "capture/DemoPicture.h"
#include "capture/VideoDevices.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

struct LevelCase {
    int brightness;
    int gain;
    std::array<std::uint8_t, 4> in;
    std::array<std::uint8_t, 4> out;
};

class DemoControlsTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(DemoControlsTest, GainThenBrightnessClamped)
{
    std::array<std::uint8_t, 4> out{};
    ApplyDemoControls(GetParam().in.data(), out.data(), out.size(), GetParam().brightness, GetParam().gain);
    EXPECT_EQ(out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Levels, DemoControlsTest,
                         ::testing::Values(LevelCase{0, 100, {0, 1, 128, 255}, {0, 1, 128, 255}},
                                           LevelCase{50, 100, {0, 100, 205, 255}, {50, 150, 255, 255}},
                                           LevelCase{-60, 100, {0, 59, 60, 255}, {0, 0, 0, 195}},
                                           LevelCase{0, 200, {0, 64, 127, 128}, {0, 128, 254, 255}},
                                           LevelCase{10, 50, {0, 100, 255, 3}, {10, 60, 137, 11}}));

TEST(DemoVideoDevice, ControlsKeepTheirRangesAndReachTheFeed)
{
    DemoControls controls;
    DemoVideoDevice device(controls);
    std::vector<VideoControl> listed = device.QueryControls();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, "Brightness");
    EXPECT_EQ(listed[1].name, "Gain");
    EXPECT_EQ(listed[1].defaultValue, DemoControls::kGainDefault);
    EXPECT_TRUE(device.SetControl(DemoVideoDevice::kBrightnessId, 40));
    EXPECT_FALSE(device.SetControl(DemoVideoDevice::kBrightnessId, DemoControls::kBrightnessMax + 1));
    EXPECT_FALSE(device.SetControl(DemoVideoDevice::kGainId, DemoControls::kGainMin - 1));
    EXPECT_FALSE(device.SetControl(0x1234, 1));
    EXPECT_EQ(controls.brightness.load(), 40);
    EXPECT_EQ(device.QueryControls()[0].value, 40);
    EXPECT_EQ(device.EnumInputs().size(), 1u);
}

// The brightness set on the page changes the frames the demo camera delivers.
TEST(DemoVideoDevice, BrightnessChangesTheDeliveredPicture)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(kDemoWidth, kDemoHeight, 24));
    CCapture capture;
    capture.SetDemoCamera(true);
    capture.deviceIndex = 0;
    capture.width = kDemoWidth;
    capture.height = kDemoHeight;
    capture.frameTime = 666666;
    capture.subType = kMediaSubtypeRgb24;
    const std::vector<std::uint8_t> picture = DrawDemoPicture();
    const auto pixelAt = [&](int row) {
        const auto lock = capture.LockFrame();
        return image.Row(row)[0];
    };
    const std::uint8_t drawn = picture[static_cast<std::size_t>(kDemoScaleRow - 30) * kDemoWidth * 3];
    ASSERT_GE(drawn, 40);
    DemoVideoDevice device(capture.demoControls());
    ASSERT_TRUE(device.SetControl(DemoVideoDevice::kBrightnessId, -40));
    ASSERT_EQ(capture.StartPreview(nullptr, FrameTarget{image.bits(), image.width(), image.height(), image.stride()},
                                   false),
              1);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (pixelAt(kDemoScaleRow - 30) != drawn - 40 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(pixelAt(kDemoScaleRow - 30), drawn - 40);
    capture.TearDownGraph();
}

struct OfferCase {
    const char* label;
    int width;
    int height;
    std::int64_t frameTime;
    Guid subType;
    bool offered;
};

class OffersFormatTest : public ::testing::TestWithParam<OfferCase> {};

TEST_P(OffersFormatTest, SizeRateAndSubtypeMustBeListed)
{
    const std::vector<VideoPixelFormat> formats{
        {MakeFourcc('Y', 'U', 'Y', 'V'), "YUYV", {{640, 480, {{30, 1}, {15, 1}}}, {1280, 720, {{10, 1}}}}},
        {MakeFourcc('M', 'J', 'P', 'G'), "MJPEG", {{1920, 1080, {{30, 1}}}, {320, 240, {}}}},
    };
    const OfferCase& c = GetParam();
    EXPECT_EQ(OffersFormat(formats, c.width, c.height, c.frameTime, c.subType), c.offered);
}

const Guid kYuyv = FourccGuid(MakeFourcc('Y', 'U', 'Y', 'V'));
const Guid kMjpg = FourccGuid(MakeFourcc('M', 'J', 'P', 'G'));

INSTANTIATE_TEST_SUITE_P(
    Formats, OffersFormatTest,
    ::testing::Values(OfferCase{"Listed", 640, 480, 333333, kYuyv, true},
                      OfferCase{"SecondRate", 640, 480, 666666, kYuyv, true},
                      OfferCase{"RateNotListed", 640, 480, 400000, kYuyv, false},
                      OfferCase{"SizeOfAnotherFormat", 1920, 1080, 333333, kYuyv, false},
                      OfferCase{"AnyFormatWhenKept", 1920, 1080, 333333, kKeepSubtype, true},
                      OfferCase{"NoRatesListed", 320, 240, 1234567, kMjpg, true},
                      OfferCase{"SizeNotListed", 800, 600, 333333, kKeepSubtype, false},
                      OfferCase{"Rgb24NotOffered", 640, 480, 333333, kMediaSubtypeRgb24, false}),
    [](const auto& test) { return std::string(test.param.label); });

} // namespace
} // namespace orvane
