#include "capture/CCapture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "DemoFrames.h"
#include "capture/DemoPicture.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Counts notifications from the streaming thread; the test thread waits on it.
class FrameCounter {
public:
    FrameNotifier Notifier()
    {
        return [this] {
            const std::scoped_lock lock(m_mutex);
            ++m_count;
            m_changed.notify_all();
        };
    }

    bool WaitFor(int count, std::chrono::milliseconds timeout = 5s)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_count >= count; });
    }

    int count()
    {
        const std::scoped_lock lock(m_mutex);
        return m_count;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};

FrameTarget TargetOf(FrameImage& image)
{
    return FrameTarget{image.bits(), image.width(), image.height(), image.stride()};
}

// The device index of the source named `name`.
int IndexOf(const CCapture& capture, const std::string& name)
{
    const std::vector<CaptureDevice> devices = capture.EnumDevices();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TEST(CCaptureTest, EnumerationWithoutCamerasDoesNotFail)
{
    CCapture capture;
    std::vector<std::string> names;
    const int count = capture.EnumDeviceNames(names);
    ASSERT_GE(count, 0);
    EXPECT_LE(count, CCapture::kMaxDevices);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(count));

    std::string name = "x";
    EXPECT_EQ(capture.GetDeviceName(count, name), 0);
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(capture.lastError(), CCapture::kErrorDevice);
    EXPECT_EQ(capture.GetDeviceName(10, name), 0);
    EXPECT_EQ(capture.lastError(), CCapture::kErrorArgument);

    capture.deviceIndex = count;
    EXPECT_EQ(capture.OpenDevice(), -1);
    FrameImage image;
    ASSERT_TRUE(image.Create(64, 48, 24));
    EXPECT_EQ(capture.StartPreview(nullptr, TargetOf(image), false), 0);
    EXPECT_FALSE(capture.isRunning());
}

TEST(CCaptureTest, DemoCameraIsListedFirstOnlyWhenAsked)
{
    CCapture capture;
    EXPECT_EQ(IndexOf(capture, "Orvane demo camera"), -1);
    capture.SetDemoCamera(true);
    EXPECT_EQ(IndexOf(capture, "Orvane demo camera"), 0);
    std::string name;
    EXPECT_EQ(capture.GetDeviceName(0, name), 1);
    EXPECT_EQ(name, "Orvane demo camera");
}

// The demo picture arrives as the camera delivers it, with its top row at
// the top of the bottom-up buffer.
TEST(CCaptureTest, DemoCameraDeliversItsPictureBottomUp)
{
    // The frame and the counter outlive the capture that writes into them.
    FrameImage image;
    ASSERT_TRUE(image.Create(kDemoWidth, kDemoHeight, 24));
    FrameCounter frames;
    CCapture capture;
    capture.SetDemoCamera(true);
    capture.deviceIndex = 0;
    capture.width = kDemoWidth;
    capture.height = kDemoHeight;
    capture.frameTime = 666666;
    capture.subType = kMediaSubtypeRgb24;
    std::memset(image.bits(), 0, image.byteCount());
    ASSERT_EQ(capture.StartPreview(frames.Notifier(), TargetOf(image), false), 1);
    ASSERT_TRUE(frames.WaitFor(2)) << capture.pipelineText();
    EXPECT_TRUE(capture.isRunning());

    const auto lock = capture.LockFrame();
    for (int row : {0, kDemoScaleRow - 30, kDemoScaleRow, kDemoHeight - 1}) {
        EXPECT_TRUE(test::IsDemoRow(image.Row(row), row)) << "row " << row;
    }
    EXPECT_EQ(capture.framesRefused(), 0u);
}

TEST(DemoSceneTest, SpecimenDriftsAndNoiseStaysSmallWhileTheScaleStaysPut)
{
    EXPECT_EQ(DemoDrift(0).x, 0);
    EXPECT_EQ(DemoDrift(0).y, 0);
    DemoScene scene;
    std::vector<std::uint8_t> frame(DemoScene::FrameBytes());
    int maxDrift = 0;
    for (const std::uint64_t n : {0ull, 37ull, 112ull, 300ull, 100000ull}) {
        const DemoOffset drift = DemoDrift(n);
        EXPECT_LE(std::abs(drift.x), kDemoDriftRadius);
        EXPECT_LE(std::abs(drift.y), kDemoDriftRadius);
        maxDrift = std::max(maxDrift, std::abs(drift.x));
        scene.DrawFrame(n, frame.data());
        for (const int row : {0, kDemoScaleRow - 30, kDemoScaleRow, kDemoHeight - 1}) {
            EXPECT_TRUE(test::IsDrawnDemoRow(frame.data() + static_cast<std::size_t>(row) * kDemoWidth * 3, row))
                << "frame " << n << " row " << row;
        }
    }
    EXPECT_GT(maxDrift, kDemoDriftRadius / 2);
}

TEST(CCaptureTest, DemoCameraFormatCanBeRead)
{
    CCapture capture;
    capture.SetDemoCamera(true);
    capture.width = -1;
    capture.height = -1;
    ASSERT_EQ(capture.ReadCurrentFormat(), 1);
    EXPECT_EQ(capture.width, kDemoWidth);
    EXPECT_EQ(capture.height, kDemoHeight);
    EXPECT_EQ(capture.frameTime, 666666);
    EXPECT_EQ(capture.subType, kMediaSubtypeRgb24);
    EXPECT_FALSE(capture.isOpen());
}

class TestSourceCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // SMPTE bars: the top rows start with light grey, the bottom rows with dark blue.
        m_capture.AddSourceDevice("bars", "videotestsrc pattern=smpte is-live=true");
        m_capture.deviceIndex = IndexOf(m_capture, "bars");
        ASSERT_GE(m_capture.deviceIndex, 0);
        m_capture.width = 160;
        m_capture.height = 120;
        m_capture.frameTime = 333333;
        m_capture.subType = FourccGuid(MakeFourcc('I', '4', '2', '0'));
        ASSERT_TRUE(m_image.Create(160, 120, 24));
    }

    // Declared before the capture, so that the stream stops before the frame goes.
    FrameImage m_image;
    CCapture m_capture;
};

TEST_F(TestSourceCapture, ConvertedFramesArriveTopRowFirstAndRestart)
{
    for (const bool smartTee : {false, true}) {
        SCOPED_TRACE(smartTee ? "smart tee" : "direct");
        FrameCounter frames;
        std::memset(m_image.bits(), 0, m_image.byteCount());
        ASSERT_EQ(m_capture.StartPreview(frames.Notifier(), TargetOf(m_image), smartTee), 1);
        ASSERT_TRUE(frames.WaitFor(2)) << m_capture.pipelineText();
        {
            const auto lock = m_capture.LockFrame();
            const std::uint8_t* top = m_image.Row(0);
            EXPECT_GT(top[1], 150); // light neutral grey
            EXPECT_NEAR(top[0], top[1], 4);
            EXPECT_NEAR(top[2], top[1], 4);
            const std::uint8_t* bottom = m_image.Row(m_image.height() - 1);
            EXPECT_GT(bottom[0], bottom[2] + 20); // blue over red
        }
        EXPECT_EQ(m_capture.StopGraph(), 1);
        EXPECT_FALSE(m_capture.isRunning());
        m_capture.TearDownGraph();
        EXPECT_FALSE(m_capture.isOpen());
        const int seen = frames.count();
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(frames.count(), seen) << "no frame after teardown";
    }
}

// Once SetNotifier or TearDownGraph returns, the old notifier is not called
// again, so its owner may go.
TEST_F(TestSourceCapture, ReplacedNotifierIsNeverCalledAgain)
{
    FrameCounter first;
    FrameCounter second;
    ASSERT_EQ(m_capture.StartPreview(first.Notifier(), TargetOf(m_image), false), 1);
    ASSERT_TRUE(first.WaitFor(2));
    m_capture.SetNotifier(second.Notifier());
    const int seen = first.count();
    ASSERT_TRUE(second.WaitFor(2));
    EXPECT_EQ(first.count(), seen);
    m_capture.SetNotifier(nullptr);
    const int delivered = static_cast<int>(m_capture.framesDelivered());
    const int told = second.count();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (static_cast<int>(m_capture.framesDelivered()) < delivered + 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_GE(static_cast<int>(m_capture.framesDelivered()), delivered + 2) << "frames still arrive";
    EXPECT_EQ(second.count(), told);
    m_capture.TearDownGraph();
}

TEST_F(TestSourceCapture, WrongNegotiatedSizeIsRefused)
{
    FrameImage small;
    ASSERT_TRUE(small.Create(80, 60, 24));
    std::memset(small.bits(), 0x5A, small.byteCount());
    FrameCounter frames;
    ASSERT_EQ(m_capture.StartPreview(frames.Notifier(), TargetOf(small), false), 1);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (m_capture.framesRefused() < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_GE(m_capture.framesRefused(), 2u);
    EXPECT_EQ(m_capture.framesDelivered(), 0u);
    EXPECT_EQ(frames.count(), 0);
    m_capture.TearDownGraph();
    for (std::size_t i = 0; i < small.byteCount(); ++i) {
        ASSERT_EQ(small.bits()[i], 0x5A) << "byte " << i;
    }
}

struct OfferCase {
    const char* label;
    bool demo;
    int width;
    int height;
    std::int64_t frameTime;
    Guid subType;
    bool offered;
};

class FormatOfferTest : public ::testing::TestWithParam<OfferCase> {};

// A saved format is checked against what the source can deliver before the graph is built.
TEST_P(FormatOfferTest, RequestedFormatAgainstTheSource)
{
    const OfferCase& c = GetParam();
    CCapture capture;
    capture.SetDemoCamera(c.demo);
    capture.AddSourceDevice("pattern", "videotestsrc is-live=true");
    capture.deviceIndex = IndexOf(capture, c.demo ? "Orvane demo camera" : "pattern");
    capture.width = c.width;
    capture.height = c.height;
    capture.frameTime = c.frameTime;
    capture.subType = c.subType;
    EXPECT_EQ(capture.FormatIsOffered(), c.offered);
    EXPECT_FALSE(capture.isRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatOfferTest,
    ::testing::Values(OfferCase{"DemoOwnFormat", true, kDemoWidth, kDemoHeight, 666666, kMediaSubtypeRgb24, true},
                      OfferCase{"DemoQuarter", true, 320, 256, 666666, kKeepSubtype, true},
                      OfferCase{"DemoSizeItHasNot", true, 800, 600, 666666, kKeepSubtype, false},
                      OfferCase{"DemoRateItHasNot", true, kDemoWidth, kDemoHeight, 333333, kKeepSubtype, false},
                      OfferCase{"DemoNoJpeg", true, kDemoWidth, kDemoHeight, 666666,
                                FourccGuid(MakeFourcc('M', 'J', 'P', 'G')), false},
                      OfferCase{"PatternAnything", false, 1234, 567, 333333, FourccGuid(MakeFourcc('Y', 'U', 'Y', '2')),
                                true}),
    [](const auto& test) { return std::string(test.param.label); });

// A source that ends or fails while it runs is reported once on the UI thread's call.
TEST_F(TestSourceCapture, EndOfStreamIsReportedOnce)
{
    m_capture.AddSourceDevice("short", "videotestsrc is-live=true num-buffers=5");
    m_capture.deviceIndex = IndexOf(m_capture, "short");
    FrameCounter frames;
    ASSERT_EQ(m_capture.StartPreview(frames.Notifier(), TargetOf(m_image), false), 1);
    EXPECT_EQ(m_capture.TakeStreamFailure(), "");
    std::string reason;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (reason.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        reason = m_capture.TakeStreamFailure();
    }
    EXPECT_EQ(reason, "end of stream");
    EXPECT_EQ(m_capture.TakeStreamFailure(), "");
    m_capture.TearDownGraph();
    EXPECT_EQ(m_capture.TakeStreamFailure(), "");
}

TEST_F(TestSourceCapture, BrokenSourceFailsCleanly)
{
    m_capture.AddSourceDevice("broken", "no-such-element-here");
    m_capture.deviceIndex = IndexOf(m_capture, "broken");
    EXPECT_EQ(m_capture.StartPreview(nullptr, TargetOf(m_image), false), 0);
    EXPECT_EQ(m_capture.lastError(), CCapture::kErrorGraph);
    EXPECT_FALSE(m_capture.isRunning());
}

} // namespace
} // namespace orvane
