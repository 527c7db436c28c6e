#include "app/core/LiveCamera.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <atomic>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "DemoFrames.h"
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

    // Frames are counted from the last Mark(), so that one that came before
    // the wait began still counts (a second one does not come unanswered).
    void Mark()
    {
        const std::scoped_lock lock(m_mutex);
        m_mark = m_frames;
    }

    bool WaitForFrames(int count) { return WaitForFramesWithin(count, 5s); }

    // The next frame-ready call after the last one this waited for (one comes
    // only when the one before has been answered).
    bool WaitForNextFrame()
    {
        std::unique_lock lock(m_mutex);
        const bool arrived = m_arrived.wait_for(lock, 5s, [&] { return m_frames > m_seen; });
        m_seen = m_frames;
        return arrived;
    }

    bool WaitForFramesWithin(int count, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, timeout, [&] { return m_frames >= m_mark + count; });
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
            if (std::abs(int{shown[x]} - int{drawn[source]}) > test::kDeliveredNoise) {
                return false;
            }
        }
        return true;
    }

    // What the streaming thread's call touches is declared first, so that it
    // goes last: the state stops the stream when it goes.
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    int m_frames = 0;
    int m_mark = 0;
    int m_seen = 0;
    test::AppTempFolder m_folder;
    LiveCamera m_camera{true};
    MeasureDlgState m_state{m_camera, m_folder.Roots()};
    const std::vector<std::uint8_t>& m_picture = test::DeliveredDemoPicture();
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

    ASSERT_TRUE(WaitForFrames(1));
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
        // Frames already in the pipeline may still be of the old focus: three
        // are answered as a busy window drops them, the fourth is measured.
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_TRUE(WaitForNextFrame());
            now += 100;
            EXPECT_FALSE(m_state.OnFrameReady(now + MeasureDlgState::kStaleTickMilliseconds + 1));
        }
        EXPECT_TRUE(WaitForNextFrame());
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
    Mark();
    ASSERT_TRUE(m_state.BeginLive());
    EXPECT_EQ(m_state.frames().capture.width(), kDemoWidth);
    ASSERT_EQ(m_state.frames().display.width(), kDemoWidth / 2);
    ASSERT_EQ(m_state.frames().display.height(), kDemoHeight / 2);

    ASSERT_TRUE(WaitForFrames(1));
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
    Mark();
    ASSERT_TRUE(m_state.BeginLive());
    ASSERT_EQ(m_state.frames().display.width(), width);
    ASSERT_TRUE(WaitForFrames(1));
    m_state.OnTick(5000);
    ASSERT_TRUE(m_state.OnFrameReady(5000));
    for (const int row : {0, 400, height - 1}) {
        EXPECT_TRUE(RowMatches(row, row, 1)) << "row " << row;
    }

    m_state.EndLive();
    m_state.profile().WriteInt(kDemoName, "Resize_Right", kDemoWidth * 4);
    m_state.profile().WriteInt(kDemoName, "Resize_Bottom", kDemoHeight * 4);
    Mark();
    ASSERT_TRUE(m_state.BeginLive());
    ASSERT_TRUE(WaitForFrames(1));
    m_state.OnTick(9000);
    m_state.OnFrameReady(9000); // must not read outside the frame (sanitizer build)
}

// One frame-ready call in flight: unanswered, no further call comes; going
// live again (or ending live) forgets the unanswered one.
TEST_F(LiveCameraTest, OneFrameCallInFlightUntilAnsweredOrRestarted)
{
    ASSERT_TRUE(m_state.Initialise());
    ASSERT_TRUE(WaitForFrames(1));
    EXPECT_FALSE(WaitForFramesWithin(2, 300ms)) << "a second call before the first was answered";
    m_state.OnTick(1000);
    m_state.OnFrameReady(1000);
    EXPECT_TRUE(WaitForFrames(2)) << "an answered call lets the next one through";

    m_state.EndLive();
    Mark();
    ASSERT_TRUE(m_state.BeginLive());
    EXPECT_TRUE(WaitForFrames(1)) << "the unanswered call of the last stream blocks the new one";
}

// The frames are never replaced under a running stream.
TEST_F(LiveCameraTest, FramesAreNotReplacedWhileLive)
{
    ASSERT_TRUE(m_state.Initialise());
    const std::uint8_t* bits = m_state.frames().capture.bits();
    EXPECT_FALSE(m_state.PrepareLiveFrames(64, 48, 64, 48));
    EXPECT_EQ(m_state.frames().capture.bits(), bits);
    EXPECT_EQ(m_state.frames().capture.width(), kDemoWidth);
    m_state.EndLive();
    EXPECT_TRUE(m_state.PrepareLiveFrames(64, 48, 64, 48));
}

// A saved format the camera no longer offers gives way to its current one,
// and the section keeps that from then on.
TEST_F(LiveCameraTest, RefusedSavedFormatFallsBackToTheCurrentFormat)
{
    m_state.LoadSettings();
    m_state.profile().WriteInt(kDemoName, "Width", 800);
    m_state.profile().WriteInt(kDemoName, "Height", 600);
    m_state.profile().WriteInt(kDemoName, "Frame", 600); // 60 fps: the demo camera has 15
    ASSERT_TRUE(m_state.BeginLive());
    EXPECT_EQ(m_state.frames().capture.width(), kDemoWidth);
    const CameraSection saved = LoadCameraSection(m_state.profile(), kDemoName);
    EXPECT_EQ(saved.Width, kDemoWidth);
    EXPECT_EQ(saved.Height, kDemoHeight);
    EXPECT_EQ(saved.frameTime, 666666);
    ASSERT_TRUE(WaitForFrames(1));
}

// Profiles: with several, the choice is asked once and remembered; the
// section's values and "Priority" are the profile's.
TEST_F(LiveCameraTest, SeveralProfilesAskOnceAndTheChoiceIsRemembered)
{
    int asked = 0;
    m_camera.SetProfileAsker([&](const std::string& camera, const std::vector<std::string>& names,
                                 const std::string&) {
        ++asked;
        EXPECT_EQ(camera, kDemoName);
        return names[1];
    });
    m_state.LoadSettings();
    m_state.profile().LoadFromText(std::string("[") + kDemoName + "]\nCount=2\nName1=Full\nName2=Half\n" +
                                   "[Half]\nWidth=640\nHeight=512\nPriority=4\n");
    ASSERT_TRUE(m_state.BeginLive());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(m_camera.profileName(), "Half");
    EXPECT_EQ(m_camera.deviceCaption(), "Half");
    EXPECT_EQ(m_state.frames().capture.width(), 640);
    EXPECT_EQ(LoadCameraSection(m_state.profile(), "Half").Priority, 4);
    m_state.EndLive();
    ASSERT_TRUE(m_state.BeginLive());
    EXPECT_EQ(asked, 1) << "the remembered profile is used without asking";
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

// A declared source, alone on a machine without cameras, or first by priority.
class DeclaredSourceTest : public ::testing::Test {
protected:
    void Declare(const std::string& name, const std::string& pipeline)
    {
        m_state.ConnectCapture([] {});
        m_state.LoadSettings();
        ProfileFile& profile = m_state.profile();
        profile.WriteInt("Sources", "Count", 1);
        profile.WriteString("Sources", "Name1", name);
        profile.WriteString("Sources", "Pipeline1", pipeline);
        profile.WriteInt(name, "Priority", 100);
        profile.WriteInt(name, "Width", 160);
        profile.WriteInt(name, "Height", 120);
        profile.WriteInt(name, "Frame", 300);
    }

    // Waits for the first frame and shows it; a copy of the display frame.
    std::vector<std::uint8_t> ShowFirstFrame()
    {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (m_camera.capture().framesDelivered() == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(10ms);
        }
        m_state.OnTick(1000);
        EXPECT_TRUE(m_state.OnFrameReady(1000));
        const FrameImage& display = m_state.frames().display;
        return {display.bits(), display.bits() + display.byteCount()};
    }

    [[nodiscard]] std::vector<std::uint8_t> Shown() const
    {
        const FrameImage& display = m_state.frames().display;
        return {display.bits(), display.bits() + display.byteCount()};
    }

    test::AppTempFolder m_folder;
    LiveCamera m_camera{false};
    MeasureDlgState m_state{m_camera, m_folder.Roots()};
};

struct ModelCase {
    const char* name;
    int smartTeeBefore;
    int smartTeeAfter;
    int makerAfter;
};

class ModelRulesOnGoingLive : public DeclaredSourceTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(ModelRulesOnGoingLive, SmartTeeAndMakerDialogFlagsAreSet)
{
    Declare(GetParam().name, "videotestsrc is-live=true");
    m_state.settings().SmartTee = GetParam().smartTeeBefore;
    m_state.settings().ShowQX4Dlg = 1;
    ASSERT_TRUE(m_state.BeginLive());
    EXPECT_EQ(m_camera.deviceCaption(), GetParam().name);
    EXPECT_EQ(m_state.settings().SmartTee, GetParam().smartTeeAfter);
    EXPECT_EQ(m_state.settings().ShowQX4Dlg, GetParam().makerAfter);
    EXPECT_EQ(m_camera.capture().pipelineText().find("tee name=smart") != std::string::npos,
              GetParam().smartTeeAfter != 0);
}

INSTANTIATE_TEST_SUITE_P(Models, ModelRulesOnGoingLive,
                         ::testing::Values(ModelCase{"VTC-07U4", 0, 1, 0}, ModelCase{"DORVEX-210QX4-QM", 0, 1, 1},
                                           ModelCase{"Pattern", 1, 1, 0}, ModelCase{"Pattern", 0, 0, 0}));

// A source that ends while live is torn down by the retry and started again
// at once; its last picture stays until new frames are shown.
TEST_F(DeclaredSourceTest, SourceThatEndsIsStartedAgainKeepingItsPicture)
{
    Declare("Short clip", "videotestsrc is-live=true num-buffers=8 pattern=smpte");
    ASSERT_TRUE(m_state.BeginLive());
    const std::vector<std::uint8_t> shown = ShowFirstFrame();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (m_camera.capture().framesDelivered() <= 8 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        m_state.OnCameraRetry();
    }
    EXPECT_GT(m_camera.capture().framesDelivered(), 8u) << "a source of 8 frames delivered more: it was restarted";
    EXPECT_TRUE(m_state.isLive());
    EXPECT_EQ(Shown(), shown) << "the last picture stays until new frames are shown";
}

// While the source is gone, the title says so and the last picture stays;
// when it is back, the retry goes live again.
TEST_F(DeclaredSourceTest, CameraGoneKeepsTheTitleAndPictureUntilItReturns)
{
    Declare("Clip", "videotestsrc is-live=true num-buffers=3 pattern=smpte");
    ASSERT_TRUE(m_state.BeginLive());
    const std::vector<std::uint8_t> shown = ShowFirstFrame();
    // The source leaves the settings, so the retry cannot start it again.
    m_state.profile().WriteInt("Sources", "Count", 0);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (m_state.isLive() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        m_state.OnCameraRetry();
    }
    ASSERT_FALSE(m_state.isLive());
    EXPECT_EQ(m_state.OnTick(2000).title, "Clip - no camera");
    EXPECT_EQ(Shown(), shown) << "not the white picture";
    m_state.profile().WriteInt("Sources", "Count", 1);
    m_state.OnCameraRetry();
    EXPECT_TRUE(m_state.isLive());
    EXPECT_EQ(m_state.OnTick(2100).title.rfind("Clip ", 0), 0u);
}

} // namespace
} // namespace orvane
