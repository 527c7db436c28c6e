#include "capture/DemoVideoDevice.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <linux/v4l2-controls.h>

#include "DemoFrames.h"

#include "capture/CCapture.h"
#include "capture/DemoCameraPicture.h"
#include "capture/DemoPicture.h"
#include "capture/VideoDevices.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

TEST(DemoVideoDevice, ListsTheSimulatedCamerasControlsAndSetsThemThere)
{
    SimulatedCamera camera;
    DemoVideoDevice device(camera);
    const std::vector<VideoControl> listed = device.QueryControls();
    const auto find = [&](std::uint32_t id) {
        return std::find_if(listed.begin(), listed.end(), [id](const VideoControl& c) { return c.id == id; });
    };
    ASSERT_NE(find(V4L2_CID_BRIGHTNESS), listed.end());
    ASSERT_NE(find(V4L2_CID_GAIN), listed.end());
    EXPECT_EQ(find(V4L2_CID_BRIGHTNESS)->name, "Brightness");
    EXPECT_EQ(find(V4L2_CID_POWER_LINE_FREQUENCY)->type, VideoControl::Type::Menu);
    EXPECT_EQ(find(V4L2_CID_POWER_LINE_FREQUENCY)->menu.size(), 3u);
    const VideoControl gain = *find(V4L2_CID_GAIN);
    EXPECT_TRUE(device.SetControl(V4L2_CID_BRIGHTNESS, 40));
    EXPECT_FALSE(device.SetControl(V4L2_CID_GAIN, gain.maximum + 1));
    EXPECT_FALSE(device.SetControl(0x1234, 1));
    EXPECT_EQ(camera.Picture().brightness, 40);
    EXPECT_EQ(camera.Picture().gain, gain.defaultValue);
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
    DemoVideoDevice device(capture.demoCamera());
    ASSERT_TRUE(device.SetControl(V4L2_CID_BRIGHTNESS, -20));
    std::vector<std::uint8_t> expected = DrawDemoPicture();
    ApplyDemoCamera(expected.data(), kDemoWidth, kDemoHeight, capture.demoCamera().Picture());
    const int row = kDemoScaleRow - 30;
    const std::uint8_t* expectedRow = expected.data() + static_cast<std::size_t>(row) * kDemoWidth * 3;
    ASSERT_FALSE(test::IsDemoRow(expectedRow, row));
    const auto shown = [&] {
        const auto lock = capture.LockFrame();
        return test::RowNear(image.Row(row), expectedRow, test::kDeliveredNoise);
    };
    ASSERT_EQ(capture.StartPreview(nullptr, FrameTarget{image.bits(), image.width(), image.height(), image.stride()},
                                   false),
              1);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!shown() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(shown());
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
