#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "FakeVideoDevice.h"
#include "app/camera/CCameraSelectDlg.h"
#include "app/camera/CCrossbarPropertyPage.h"
#include "app/camera/CDeviceSetDlg.h"
#include "app/camera/CFormatPropertyPage.h"
#include "app/camera/CSourcePropertyPage.h"
#include "capture/CCapture.h"
#include "platform/ProfileFile.h"

namespace orvane {
namespace {

using test::FakeVideoDevice;

TEST(CSourcePropertyPage, EveryKindOfControlGetsItsEditor)
{
    FakeVideoDevice device;
    CSourcePropertyPage page(device, nullptr);
    auto* brightness = qobject_cast<QSpinBox*>(page.editor(FakeVideoDevice::kBrightness));
    auto* automatic = qobject_cast<QCheckBox*>(page.editor(FakeVideoDevice::kAutoWhiteBalance));
    auto* powerLine = qobject_cast<QComboBox*>(page.editor(FakeVideoDevice::kPowerLine));
    ASSERT_NE(brightness, nullptr);
    ASSERT_NE(automatic, nullptr);
    ASSERT_NE(powerLine, nullptr);
    ASSERT_NE(qobject_cast<QPushButton*>(page.editor(FakeVideoDevice::kResetPan)), nullptr);
    EXPECT_EQ(brightness->value(), 10);
    EXPECT_EQ(brightness->minimum(), -64);
    EXPECT_FALSE(automatic->isChecked());
    // Only the values the device offers, with their own values.
    ASSERT_EQ(powerLine->count(), 2);
    EXPECT_EQ(powerLine->itemText(1), "60 Hz");
    EXPECT_EQ(powerLine->itemData(1).toInt(), 2);
    EXPECT_TRUE(device.calls.empty()) << "opening changes nothing";
}

TEST(CSourcePropertyPage, ChangesApplyAtOnceAndTheAutomaticModeGreysItsValue)
{
    FakeVideoDevice device;
    CSourcePropertyPage page(device, nullptr);
    QWidget* temperature = page.editor(FakeVideoDevice::kTemperature);
    EXPECT_TRUE(temperature->isEnabled());
    qobject_cast<QSpinBox*>(page.editor(FakeVideoDevice::kBrightness))->setValue(-20);
    EXPECT_EQ(device.value(FakeVideoDevice::kBrightness), -20);
    qobject_cast<QCheckBox*>(page.editor(FakeVideoDevice::kAutoWhiteBalance))->setChecked(true);
    EXPECT_EQ(device.value(FakeVideoDevice::kAutoWhiteBalance), 1);
    EXPECT_FALSE(temperature->isEnabled());
    auto* powerLine = qobject_cast<QComboBox*>(page.editor(FakeVideoDevice::kPowerLine));
    powerLine->setCurrentIndex(1);
    emit powerLine->activated(1);
    EXPECT_EQ(device.value(FakeVideoDevice::kPowerLine), 2);
}

// Cancel puts back what was there, even a value that an automatic mode turned
// on meanwhile rules (it is listed before its switch).
TEST(CSourcePropertyPage, CancelRestoresTheValuesOfTheOpening)
{
    FakeVideoDevice device;
    CSourcePropertyPage page(device, nullptr);
    qobject_cast<QSpinBox*>(page.editor(FakeVideoDevice::kTemperature))->setValue(5000);
    qobject_cast<QSpinBox*>(page.editor(FakeVideoDevice::kBrightness))->setValue(30);
    qobject_cast<QCheckBox*>(page.editor(FakeVideoDevice::kAutoWhiteBalance))->setChecked(true);
    ASSERT_EQ(device.value(FakeVideoDevice::kTemperature), 5000);
    page.reject();
    EXPECT_EQ(device.value(FakeVideoDevice::kBrightness), 10);
    EXPECT_EQ(device.value(FakeVideoDevice::kAutoWhiteBalance), 0);
    EXPECT_EQ(device.value(FakeVideoDevice::kTemperature), 4000);
    for (const auto& [id, value] : device.calls) {
        EXPECT_NE(id, FakeVideoDevice::kResetPan) << "actions are not replayed";
    }
}

TEST(CSourcePropertyPage, DefaultSetsEveryDefault)
{
    FakeVideoDevice device;
    CSourcePropertyPage page(device, nullptr);
    page.defaultButton()->click();
    EXPECT_EQ(device.value(FakeVideoDevice::kBrightness), 0);
    EXPECT_EQ(device.value(FakeVideoDevice::kAutoWhiteBalance), 1);
    EXPECT_EQ(device.value(FakeVideoDevice::kPowerLine), 2);
    EXPECT_EQ(qobject_cast<QSpinBox*>(page.editor(FakeVideoDevice::kBrightness))->value(), 0);
    EXPECT_FALSE(page.editor(FakeVideoDevice::kTemperature)->isEnabled());
}

struct FormatCase {
    const char* label;
    FormatChoice current;
    int formatIndex; // chosen on the page, -1: left as opened
    int sizeIndex;
    int rateIndex;
    FormatChoice expected;
};

class CFormatPropertyPageTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(CFormatPropertyPageTest, SelectionReadsBackFormatSizeAndRate)
{
    const FormatCase& c = GetParam();
    FakeVideoDevice device;
    CFormatPropertyPage page(device, c.current, nullptr);
    if (c.formatIndex >= 0) {
        page.formatList()->setCurrentIndex(c.formatIndex);
        page.sizeList()->setCurrentIndex(c.sizeIndex);
        page.rateList()->setCurrentIndex(c.rateIndex);
    }
    const std::optional<FormatChoice> chosen = page.selection();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, c.expected);
}

constexpr std::uint32_t kYuyv = 0x56595559;
constexpr std::uint32_t kMjpg = 0x47504A4D;

INSTANTIATE_TEST_SUITE_P(
    Formats, CFormatPropertyPageTest,
    ::testing::Values(
        FormatCase{"CurrentPreselected", {kMjpg, 640, 480, {30, 1}}, -1, 0, 0, {kMjpg, 640, 480, {30, 1}}},
        FormatCase{"UnknownCurrentGivesFirst", {0, 0, 0, {}}, -1, 0, 0, {kYuyv, 640, 480, {30, 1}}},
        FormatCase{"OtherSizeAndRate", {kYuyv, 640, 480, {30, 1}}, 0, 1, 1, {kYuyv, 1280, 720, {5, 1}}},
        FormatCase{"OtherFormatKeepsTheSizeItShares", {kYuyv, 640, 480, {30, 1}}, 1, 1, 1, {kMjpg, 640, 480, {30, 1}}}),
    [](const auto& test) { return std::string(test.param.label); });

TEST(CFormatPropertyPage, ChangingTheFormatRefillsSizesAndRates)
{
    FakeVideoDevice device;
    CFormatPropertyPage page(device, FormatChoice{kYuyv, 640, 480, {15, 1}}, nullptr);
    EXPECT_EQ(page.rateList()->currentText(), "15 fps");
    page.formatList()->setCurrentIndex(1);
    ASSERT_EQ(page.sizeList()->count(), 2);
    EXPECT_EQ(page.sizeList()->currentText(), "640 x 480") << "the size is kept where the format has it";
    EXPECT_EQ(page.rateList()->count(), 2);
}

TEST(CCrossbarPropertyPage, OneInputIsSaidAndNothingChanges)
{
    FakeVideoDevice device;
    CCrossbarPropertyPage page(device, nullptr);
    EXPECT_FALSE(page.inputList()->isEnabled());
    const auto labels = page.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), "This device has one input: Camera 1");
    page.accept();
    EXPECT_EQ(device.input, 0);
}

TEST(CCrossbarPropertyPage, ChosenInputIsSet)
{
    FakeVideoDevice device;
    device.inputs = {{0, "Composite"}, {1, "S-Video"}, {2, "Camera"}};
    device.input = 1;
    CCrossbarPropertyPage page(device, nullptr);
    EXPECT_EQ(page.inputList()->currentRow(), 1);
    page.inputList()->setCurrentRow(2);
    page.accept();
    EXPECT_EQ(device.input, 2);
}

TEST(CCameraSelectDlg, SortedPreselectedAndCancelAlsoChooses)
{
    const std::vector<std::string> names{"Zoom", "alpha", "Wide"};
    CCameraSelectDlg dialog(names, "Wide", nullptr);
    ASSERT_EQ(dialog.combo()->count(), 3);
    EXPECT_EQ(dialog.combo()->itemText(0), "alpha");
    EXPECT_EQ(dialog.combo()->itemText(2), "Zoom");
    EXPECT_EQ(dialog.chosenName(), "Wide");
    dialog.combo()->setCurrentIndex(2);
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenName(), "Zoom");

    CCameraSelectDlg first(names, "", nullptr);
    EXPECT_EQ(first.chosenName(), "alpha");
}

// The device dialog over test patterns named as the model rules know them.
class CDeviceSetDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"USB Camera", "VTC-07U4"}) {
            m_capture.AddSourceDevice(name, "videotestsrc is-live=true");
        }
        std::vector<std::string> names;
        m_capture.EnumDeviceNames(names);
        m_usb = static_cast<int>(names.size()) - 2;
        m_profile.LoadFromText("[USB Camera]\nWidth=320\nHeight=240\n[VTC-07U4]\nWidth=320\nHeight=240\n");
    }

    CCapture m_capture;
    ProfileFile m_profile;
    std::string m_profileName;
    int m_smartTee = 0;
    int m_maker = 0;
    int m_device = -1;
    int m_usb = 0;
};

TEST_F(CDeviceSetDlgTest, SelectingAModelTicksAndGreysSmartTee)
{
    m_device = m_usb;
    CDeviceSetDlg dialog(m_capture, m_profile, m_profileName, m_smartTee, m_maker, m_device, nullptr, nullptr);
    EXPECT_EQ(dialog.deviceList()->currentRow(), m_usb);
    EXPECT_FALSE(dialog.smartTeeBox()->isChecked());
    EXPECT_TRUE(dialog.smartTeeBox()->isEnabled());
    EXPECT_TRUE(dialog.makerBox()->isHidden());
    dialog.deviceList()->setCurrentRow(m_usb + 1);
    EXPECT_TRUE(dialog.smartTeeBox()->isChecked());
    EXPECT_FALSE(dialog.smartTeeBox()->isEnabled());
    dialog.accept();
    EXPECT_EQ(m_device, m_usb + 1);
    EXPECT_EQ(m_smartTee, 1);
}

TEST_F(CDeviceSetDlgTest, CancelKeepsTheDeviceIndex)
{
    m_device = m_usb;
    CDeviceSetDlg dialog(m_capture, m_profile, m_profileName, m_smartTee, m_maker, m_device, nullptr, nullptr);
    dialog.deviceList()->setCurrentRow(m_usb + 1);
    dialog.reject();
    EXPECT_EQ(m_device, m_usb);
    EXPECT_EQ(m_capture.deviceIndex, m_usb);
}

} // namespace
} // namespace orvane
