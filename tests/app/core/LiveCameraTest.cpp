#include "app/core/LiveCamera.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/core/MeasureDlgState.h"
#include "capture/DemoPicture.h"
#include "settings/CameraSection.h"
#include "tools/FocusIndicator.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

constexpr const char* kDemoName = "Orvane demo camera";

class LiveCameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_state.ConnectCapture([this] {
            const std::scoped_lock lock(m_mutex);
            ++m_frames;
            m_arrived.notify_all();
        });
    }

    bool WaitForFrames(int count)
    {
        std::unique_lock lock(m_mutex);
        const int target = m_frames + count;
        return m_arrived.wait_for(lock, 5s, [&] { return m_frames >= target; });
    }

    // The display frame's row `row` against the demo picture's row `sourceRow`, sampled every `step` pixels,
    // up to the demo's sensor noise. Rows the drifting specimen reaches are not compared.
    [[nodiscard]] bool RowMatches(int row, int sourceRow, int step) const
    {
        const FrameImage& display = m_state.frames().display;
        const std::uint8_t* shown = display.Row(row);
        const std::uint8_t* drawn = m_picture.data() + static_cast<std::size_t>(sourceRow) * kDemoWidth * 3;
        for (int x = 0; x < display.width() * 3; ++x) {
            const int source = (x / 3) * step * 3 + x % 3;
            if (std::abs(int{shown[x]} - int{drawn[source]}) > kDemoNoise) {
                return false;
            }
        }
        return true;
    }

    test::AppTempFolder m_folder;
    LiveCamera m_camera{true};
    MeasureDlgState m_state{m_camera, m_folder.Roots()};
    std::vector<std::uint8_t> m_picture = DrawDemoPicture();
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    int m_frames = 0;
};

TEST_F(LiveCameraTest, DemoCameraGoesLiveAndFillsTheDisplayFrame)
{
    ASSERT_TRUE(m_state.Initialise());
    EXPECT_TRUE(m_state.isLive());
    EXPECT_EQ(m_camera.deviceCaption(), kDemoName);
    ASSERT_EQ(m_state.frames().capture.width(), kDemoWidth);
    ASSERT_EQ(m_state.frames().display.height(), kDemoHeight);
    // The format read from the camera is kept in its section.
    const CameraSection saved = LoadCameraSection(m_state.profile(), kDemoName);
    EXPECT_EQ(saved.Width, kDemoWidth);
    EXPECT_EQ(saved.Height, kDemoHeight);

    ASSERT_TRUE(WaitForFrames(2));
    const std::uint32_t now = 100000;
    m_state.OnTick(now);
    ASSERT_TRUE(m_state.OnFrameReady(now + 10));
    for (const int row : {0, kDemoScaleRow - 30, kDemoScaleRow, kDemoHeight - 1}) {
        EXPECT_TRUE(RowMatches(row, row, 1)) << "row " << row;
    }
    // A window whose tick is late drops frames.
    EXPECT_FALSE(m_state.OnFrameReady(now + MeasureDlgState::kStaleTickMilliseconds + 1));

    // Frames per second over a window of more than a second.
    for (std::uint32_t t = 100; t <= 1100; t += 100) {
        m_state.OnTick(now + t);
        m_state.OnFrameReady(now + t);
    }
    EXPECT_NEAR(m_state.fps(), 12 * 1000.0 / 1090.0, 0.5);

    m_state.EndLive();
    EXPECT_FALSE(m_state.isLive());
    EXPECT_FALSE(m_state.OnFrameReady(now + 1100));
}

TEST_F(LiveCameraTest, FocusMeterFallsWhenTheDemoCameraIsBlurred)
{
    ASSERT_TRUE(m_state.Initialise());
    int measured = 0;
    m_state.SetFocusValuesChanged([&measured] { ++measured; });
    FocusIndicator& focus = m_state.focus();
    // Over the scale's ticks.
    ASSERT_TRUE(focus.StartArea());
    focus.OnLButtonDown({400, kDemoScaleRow - 100});
    ASSERT_EQ(focus.OnLButtonUp({560, kDemoScaleRow + 60}), 0);

    std::uint32_t now = 100000;
    const auto frameValue = [&] {
        // Frames already in the pipeline may still be of the old focus.
        EXPECT_TRUE(WaitForFrames(4));
        now += 100;
        m_state.OnTick(now);
        EXPECT_TRUE(m_state.OnFrameReady(now + 10));
        return focus.areas()[0].value;
    };
    const int sharp = frameValue();
    m_camera.capture().SetDemoFocus(6);
    const int blurred = frameValue();
    EXPECT_GT(sharp, 0);
    EXPECT_LT(blurred, sharp / 2);
    EXPECT_EQ(focus.areas()[0].peak, sharp);
    m_camera.capture().SetDemoFocus(0);
    // Sharp again, up to the sensor's noise.
    EXPECT_NEAR(frameValue(), sharp, sharp / 10);
    EXPECT_EQ(measured, 3);
}

TEST_F(LiveCameraTest, ResizeKeysGiveASmallerDisplayFrame)
{
    ASSERT_TRUE(m_state.Initialise());
    m_state.EndLive();
    CameraSection section = LoadCameraSection(m_state.profile(), kDemoName);
    section.Resize_Width = kDemoWidth / 2;
    section.Resize_Height = kDemoHeight / 2;
    m_state.profile().WriteInt(kDemoName, "Resize_Width", section.Resize_Width);
    m_state.profile().WriteInt(kDemoName, "Resize_Height", section.Resize_Height);
    ASSERT_TRUE(m_state.BeginLive());
    EXPECT_EQ(m_state.frames().capture.width(), kDemoWidth);
    ASSERT_EQ(m_state.frames().display.width(), kDemoWidth / 2);
    ASSERT_EQ(m_state.frames().display.height(), kDemoHeight / 2);

    ASSERT_TRUE(WaitForFrames(2));
    m_state.OnTick(5000);
    ASSERT_TRUE(m_state.OnFrameReady(5000));
    // Sampling runs on the bottom-up rows: display row r shows picture row 2r + 1.
    for (const int row : {0, kDemoScaleRow / 2, 350, kDemoHeight / 2 - 1}) {
        EXPECT_TRUE(RowMatches(row, 2 * row + 1, 2)) << "row " << row;
    }
}

TEST_F(LiveCameraTest, CropRectangleCountsFromThePictureTopAndStaysInside)
{
    ASSERT_TRUE(m_state.Initialise());
    m_state.EndLive();
    // The top-left quarter at full scale, with a right edge past the frame.
    const int width = kDemoWidth / 2;
    const int height = kDemoHeight / 2;
    for (const auto& [key, value] :
         {std::pair{"Resize_Width", width}, std::pair{"Resize_Height", height}, std::pair{"Resize_Left", 0},
          std::pair{"Resize_Top", 0}, std::pair{"Resize_Right", width}, std::pair{"Resize_Bottom", height}}) {
        m_state.profile().WriteInt(kDemoName, key, value);
    }
    ASSERT_TRUE(m_state.BeginLive());
    ASSERT_EQ(m_state.frames().display.width(), width);
    ASSERT_TRUE(WaitForFrames(2));
    m_state.OnTick(5000);
    ASSERT_TRUE(m_state.OnFrameReady(5000));
    for (const int row : {0, 400, height - 1}) {
        EXPECT_TRUE(RowMatches(row, row, 1)) << "row " << row;
    }

    m_state.EndLive();
    m_state.profile().WriteInt(kDemoName, "Resize_Right", kDemoWidth * 4);
    m_state.profile().WriteInt(kDemoName, "Resize_Bottom", kDemoHeight * 4);
    ASSERT_TRUE(m_state.BeginLive());
    ASSERT_TRUE(WaitForFrames(2));
    m_state.OnTick(9000);
    m_state.OnFrameReady(9000); // must not read outside the frame (sanitizer build)
}

TEST(LiveCameraWithoutDemo, NoDeviceMeansNotLive)
{
    test::AppTempFolder folder;
    LiveCamera camera(false);
    MeasureDlgState state(camera, folder.Roots());
    state.ConnectCapture([] {});
    // Whatever cameras the machine has, an index past the last one is not live.
    state.LoadSettings();
    state.settings().Device = CCapture::kMaxDevices;
    EXPECT_FALSE(state.BeginLive());
    EXPECT_FALSE(state.isLive());
    EXPECT_EQ(state.frames().display.width(), state.settings().width);
}

struct OffsetCase {
    int blue;
    int red;
    std::uint8_t expectBlue;
    std::uint8_t expectRed;
};

class ColourOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(ColourOffsetTest, OffsetsAreClampedAndGreenStays)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(3, 2, 24));
    image.Fill(nullptr, RGB(200, 100, 50)); // red 200, green 100, blue 50
    ApplyColourOffsets(image, GetParam().blue, GetParam().red);
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 3; ++x) {
            const std::uint8_t* pixel = image.Row(row) + x * 3;
            EXPECT_EQ(pixel[0], GetParam().expectBlue);
            EXPECT_EQ(pixel[1], 100);
            EXPECT_EQ(pixel[2], GetParam().expectRed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, ColourOffsetTest,
                         ::testing::Values(OffsetCase{10, -20, 60, 180}, OffsetCase{250, 100, 255, 255},
                                           OffsetCase{-80, -255, 0, 0}, OffsetCase{0, 0, 50, 200}));

} // namespace
} // namespace orvane
