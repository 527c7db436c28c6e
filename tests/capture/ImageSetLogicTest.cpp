#include "capture/ImageSetLogic.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCameraControl.h"
#include "capture/WhiteBalance.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

using test::FakeCameraControl;
using test::CameraValues;
using test::MakeFakeMakerCamera;
using State = ImageSetLogic::WhiteBalanceState;

// A grey scene through a sensor whose red is weak and blue strong: each
// colour is the scene times its response times its 7-bit gain / 64.
FrameImage TintedFrame(FakeCameraControl& camera)
{
    const auto level = [&](std::uint16_t reg, double response) {
        return static_cast<std::uint8_t>(
            std::clamp(std::lround(80.0 * response * (camera.registers[reg] & 0x7F) / 64.0), 0L, 255L));
    };
    FrameImage frame;
    EXPECT_TRUE(frame.Create(16, 8, 24));
    const std::uint8_t blue = level(0x002C, 1.3);
    const std::uint8_t green = level(0x002B, 1.0);
    const std::uint8_t red = level(0x002D, 0.55);
    for (int row = 0; row < frame.height(); ++row) {
        std::uint8_t* pixel = frame.Row(row);
        for (int x = 0; x < frame.width(); ++x, pixel += 3) {
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
    }
    return frame;
}

// How far the frame is from grey: the larger of |R/G - 1| and |B/G - 1|.
double Tint(const FrameImage& frame)
{
    const std::uint8_t* pixel = frame.Row(0);
    const double green = pixel[1];
    return std::max(std::abs(pixel[2] / green - 1.0), std::abs(pixel[0] / green - 1.0));
}

class ImageSetLogicTest : public ::testing::Test {
protected:
    ImageSetLogic& Opened()
    {
        m_logic.Open();
        m_camera.calls.clear();
        return m_logic;
    }

    // The frame handler: the next live frame serves a raised request.
    void NextFrame() { MeasureWhiteBalance(TintedFrame(m_camera), m_request); }

    FakeCameraControl m_camera = MakeFakeMakerCamera();
    WhiteBalanceRequest m_request;
    ImageSetLogic m_logic{m_camera, m_request};
};

TEST_F(ImageSetLogicTest, OpeningOnlyReadsTheRangesAndCurrentValues)
{
    ImageSetLogic& logic = m_logic;
    logic.Open();
    ASSERT_TRUE(logic.cameraPresent());
    std::vector<int> shown;
    for (const ImageValue which : kAllImageValues) {
        EXPECT_TRUE(logic.valueEnabled(which));
        shown.push_back(logic.value(which).shown);
    }
    EXPECT_EQ(shown, CameraValues(m_camera));
    EXPECT_EQ(logic.value(ImageValue::Exposure).maximum, 1000);
    EXPECT_EQ(logic.value(ImageValue::Gamma).defaultValue, 220);
    EXPECT_FALSE(logic.autoChecked());
    EXPECT_EQ(m_camera.Count('C'), 0);
    EXPECT_EQ(static_cast<int>(m_camera.Writes('W', 0x00F0).size()), m_camera.Count('W')); // page selects only
}

TEST_F(ImageSetLogicTest, AValueThatCannotBeReadIsDisabledAndNeverWritten)
{
    m_camera.properties[402].readable = false;
    m_camera.unreadable.insert(0x0009);
    m_camera.properties[205].readable = false;
    ImageSetLogic& logic = Opened();
    for (const ImageValue which : {ImageValue::Blue, ImageValue::Exposure, ImageValue::Sharpness}) {
        EXPECT_FALSE(logic.valueEnabled(which));
        logic.ValueEdited(which, 7);
    }
    logic.WhiteBalanceDefaults();
    logic.Cancel();
    EXPECT_TRUE(m_camera.Writes('W', 0x002C).empty());
    EXPECT_TRUE(m_camera.Writes('W', 0x0009).empty());
    EXPECT_TRUE(m_camera.Writes('C', 205).empty());
    EXPECT_TRUE(logic.valueEnabled(ImageValue::Red));
}

// Present: register 0x0000 reads non-zero within ten attempts (a page select
// may be lost each time). Otherwise the dialog opens but changes nothing.
TEST_F(ImageSetLogicTest, PresenceIsANonZeroReadWithinTenAttempts)
{
    for (const auto& [presence, lostPageSelects, present] :
         {std::tuple{0x8431, 9, true}, {0x8431, 10, false}, {0, 0, false}}) {
        m_camera = MakeFakeMakerCamera();
        m_camera.registers[0x0000] = static_cast<std::uint16_t>(presence);
        m_camera.page = 1;
        m_camera.lostPageSelects = lostPageSelects;
        ImageSetLogic logic(m_camera, m_request);
        logic.Open();
        m_camera.calls.clear();
        ASSERT_EQ(logic.cameraPresent(), present) << lostPageSelects;
        logic.ValueEdited(ImageValue::Red, 5);
        logic.SetAuto(true);
        logic.AwbClicked();
        logic.WhiteBalanceDefaults();
        logic.Cancel();
        EXPECT_EQ(m_camera.calls.empty(), !present);
        EXPECT_EQ(logic.autoEnabled(), present);
        if (!present) {
            EXPECT_FALSE(m_request.requested);
        }
    }
}

TEST_F(ImageSetLogicTest, AnEqualValueCausesNoTrafficAFailedWriteIsTriedAgain)
{
    ImageSetLogic& logic = Opened();
    for (const ImageValue which : kAllImageValues) {
        logic.ValueEdited(which, logic.value(which).shown);
    }
    EXPECT_EQ(m_camera.calls.size(), 0U);
    logic.ValueEdited(ImageValue::Red, 0x50);
    logic.ValueEdited(ImageValue::Saturation, 61);
    EXPECT_EQ(m_camera.registers[0x002D], 0x50);
    EXPECT_EQ(m_camera.properties[204].value, 61);
    m_camera.calls.clear();
    logic.ValueEdited(ImageValue::Red, 0x50);
    logic.ValueEdited(ImageValue::Saturation, 61);
    EXPECT_EQ(m_camera.calls.size(), 0U);

    m_camera.ignoredWrites[0x0009] = 1'000'000;
    logic.ValueEdited(ImageValue::Exposure, 700);
    EXPECT_EQ(m_camera.registers[0x0009], test::kFakeExposure);
    m_camera.ignoredWrites[0x0009] = 0;
    logic.ValueEdited(ImageValue::Exposure, 700);
    EXPECT_EQ(m_camera.registers[0x0009], 700);

    // Typed past the range: the bound is written and shown, never the typed value.
    logic.ValueEdited(ImageValue::Red, 9999);
    EXPECT_EQ(m_camera.registers[0x002D], logic.value(ImageValue::Red).maximum);
    EXPECT_EQ(logic.value(ImageValue::Red).shown, logic.value(ImageValue::Red).maximum);
    logic.ValueEdited(ImageValue::Saturation, -5);
    EXPECT_EQ(m_camera.properties[204].value, logic.value(ImageValue::Saturation).minimum);
}

TEST_F(ImageSetLogicTest, DefaultButtonsWriteTheirGroupsDefaults)
{
    ImageSetLogic& logic = Opened();
    logic.ProcessingDefaults();
    const std::vector<int> processingDefaults{test::kFakeRed, test::kFakeGreen, test::kFakeBlue, test::kFakeExposure,
                                              0, 50, 3, 220};
    EXPECT_EQ(CameraValues(m_camera), processingDefaults);
    logic.WhiteBalanceDefaults();
    EXPECT_EQ(CameraValues(m_camera), (std::vector<int>{0x44, 0x45, 0x46, 500, 0, 50, 3, 220}));
    EXPECT_EQ(logic.value(ImageValue::Exposure).shown, 500);
}

TEST_F(ImageSetLogicTest, AutoFollowsTheCameraAndIgnoresEdits)
{
    ImageSetLogic& logic = Opened();
    logic.SetAuto(true);
    EXPECT_EQ((std::vector<int>{m_camera.registers[0x0237], m_camera.registers[0x0106] & 0x4000,
                                m_camera.registers[0x0001], m_camera.registers[0x0006]}),
              (std::vector<int>{0, 0x4000, 12, 42}));
    EXPECT_TRUE(logic.autoTimerRunning());
    EXPECT_FALSE(logic.valueEnabled(ImageValue::Exposure));
    EXPECT_TRUE(logic.valueEnabled(ImageValue::Gamma));
    EXPECT_FALSE(logic.awbEnabled());
    EXPECT_FALSE(logic.whiteBalanceDefaultEnabled());

    // The camera's own control moves the values; each tick reads them back without writing.
    m_camera.registers[0x0009] = 640;
    m_camera.registers[0x002D] = 0x43;
    m_camera.calls.clear();
    logic.OnAutoTimer();
    EXPECT_EQ(m_camera.Count('W'), 4); // the page selects of the four reads
    EXPECT_EQ(logic.value(ImageValue::Exposure).shown, 640);
    EXPECT_EQ(logic.value(ImageValue::Red).shown, 0x43);
    m_camera.calls.clear();
    logic.ValueEdited(ImageValue::Red, 0x10);
    logic.WhiteBalanceDefaults();
    logic.AwbClicked();
    EXPECT_EQ(m_camera.calls.size(), 0U);

    // Off again: the values the camera chose are written as manual settings.
    m_camera.registers[0x002D] = 0x01;
    logic.SetAuto(false);
    EXPECT_EQ(m_camera.registers[0x0106] & 0x4000, 0);
    EXPECT_FALSE(logic.autoTimerRunning());
    EXPECT_EQ(m_camera.registers[0x002D], 0x43);
    EXPECT_TRUE(logic.valueEnabled(ImageValue::Red));
}

TEST_F(ImageSetLogicTest, ACameraInAutomaticModeOpensWithAutoAndCancelKeepsIt)
{
    m_camera.registers[0x0106] = 0x4010;
    ImageSetLogic& logic = Opened();
    EXPECT_TRUE(logic.autoChecked());
    EXPECT_TRUE(logic.autoTimerRunning());
    logic.SetAuto(false);
    logic.ValueEdited(ImageValue::Red, 0x10);
    logic.Cancel();
    EXPECT_TRUE(logic.autoChecked());
    EXPECT_NE(m_camera.registers[0x0106] & 0x4000, 0);
    EXPECT_EQ(m_camera.registers[0x002D], test::kFakeRed);
}

TEST_F(ImageSetLogicTest, AClickMeasuresOnceAndBringsTheTintedPictureToGrey)
{
    ImageSetLogic& logic = Opened();
    ASSERT_GT(Tint(TintedFrame(m_camera)), 0.3);
    logic.AwbPressed();
    logic.AwbReleased();
    logic.AwbClicked();
    EXPECT_TRUE(m_request.requested);
    EXPECT_FALSE(logic.valueEnabled(ImageValue::Red));
    EXPECT_TRUE(logic.valueEnabled(ImageValue::Exposure));
    logic.OnWhiteBalanceTimer(); // no frame yet: the tick waits
    EXPECT_EQ(logic.whiteBalanceState(), State::Measuring);
    EXPECT_EQ(m_camera.registers[0x002D], test::kFakeRed);

    NextFrame();
    logic.OnWhiteBalanceTimer();
    EXPECT_EQ(logic.whiteBalanceState(), State::Idle);
    EXPECT_FALSE(logic.whiteBalanceTimerRunning());
    EXPECT_TRUE(logic.valueEnabled(ImageValue::Red));
    EXPECT_EQ(m_camera.registers[0x002B], test::kFakeGreen); // green is not changed
    EXPECT_EQ(logic.value(ImageValue::Red).shown, m_camera.registers[0x002D]);
    EXPECT_LT(Tint(TintedFrame(m_camera)), 0.03);
    EXPECT_NE(m_camera.registers[0x0106] & 0x0010, 0);
    EXPECT_EQ(m_camera.registers[0x0006], 42);
}

TEST_F(ImageSetLogicTest, HoldingAwbRepeatsRoundsUntilReleased)
{
    // Strongly tinted: the first round saturates the red gain, later rounds bring it back.
    m_camera.registers[0x002D] = 0x0780 | 0x10;
    m_camera.registers[0x002C] = 0x7F;
    ImageSetLogic& logic = Opened();
    logic.AwbPressed();
    std::vector<double> tints{Tint(TintedFrame(m_camera))};
    for (int tick = 0; tick < 12; ++tick) {
        logic.OnWhiteBalanceTimer();
        if (logic.whiteBalanceState() == State::Applied) {
            tints.push_back(Tint(TintedFrame(m_camera)));
        }
        NextFrame();
    }
    EXPECT_TRUE(logic.whiteBalanceTimerRunning());
    EXPECT_GE(tints.size(), 5U);
    EXPECT_LT(tints[1], tints[0]);
    EXPECT_LT(tints.back(), 0.03);
    EXPECT_EQ(m_camera.registers[0x002D] & 0x0780, 0x0780);

    logic.AwbReleased();
    logic.AwbClicked();
    for (int tick = 0; tick < 3 && logic.whiteBalanceTimerRunning(); ++tick) {
        NextFrame();
        logic.OnWhiteBalanceTimer();
    }
    EXPECT_FALSE(logic.whiteBalanceTimerRunning());
    EXPECT_EQ(logic.whiteBalanceState(), State::Idle);

    // "Auto" stops a round under way.
    logic.AwbClicked();
    logic.SetAuto(true);
    EXPECT_FALSE(logic.whiteBalanceTimerRunning());
    NextFrame();
    m_camera.calls.clear();
    logic.OnWhiteBalanceTimer();
    EXPECT_EQ(m_camera.calls.size(), 0U);
}

} // namespace
} // namespace orvane
