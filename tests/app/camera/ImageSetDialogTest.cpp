#include <string>
#include <vector>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakeCameraControl.h"
#include "app/camera/CImageSetQX4Dlg.h"
#include "capture/WhiteBalance.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

using test::FakeCameraControl;
using test::CameraValues;
using test::MakeFakeMakerCamera;

void Tick(QTimer* timer)
{
    ASSERT_TRUE(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout");
}

class ImageSetDialogTest : public ::testing::Test {
protected:
    template <typename T> T* Child(int id) const { return m_dialog.findChild<T*>(QString::number(id)); }

    FakeCameraControl m_camera = MakeFakeMakerCamera();
    WhiteBalanceRequest m_request;
    CImageSetQX4Dlg m_dialog{m_camera, m_request, nullptr};
};

TEST_F(ImageSetDialogTest, TheVisibleControlsOnly)
{
    EXPECT_EQ(m_dialog.windowTitle(), "Image setting");
    std::vector<QString> groups;
    for (const QGroupBox* group : m_dialog.findChildren<QGroupBox*>()) {
        groups.push_back(group->title());
    }
    EXPECT_EQ(groups, (std::vector<QString>{"Whitebalance", "Exposure", "setting"}));
    EXPECT_EQ(m_dialog.findChildren<QSlider*>().size(), 8);
    EXPECT_EQ(m_dialog.findChildren<QLineEdit*>().size(), 8);
    for (const auto& [id, text] : std::vector<std::pair<int, QString>>{
             {1002, "Auto"}, {1246, "Awb"}, {1090, "Default"}, {1084, "Default"}, {1248, "Cancel"}}) {
        EXPECT_EQ(m_dialog.findChild<QAbstractButton*>(QString::number(id))->text(), text);
    }
}

TEST_F(ImageSetDialogTest, SlidersAndEditsWriteAndFollowEachOther)
{
    Child<QSlider>(1024)->setValue(-20); // as a drag does
    EXPECT_EQ(Child<QLineEdit>(1029)->text(), "-20");
    EXPECT_EQ(m_camera.properties[200].value, -20);
    QLineEdit* exposure = Child<QLineEdit>(1017);
    exposure->clear();
    QTest::keyClicks(exposure, "73");
    EXPECT_EQ(m_camera.registers[0x0009], 73);
    EXPECT_EQ(Child<QSlider>(1016)->value(), 73);
    // Text that is no number yet writes nothing.
    m_camera.calls.clear();
    exposure->clear();
    QTest::keyClicks(exposure, "-");
    EXPECT_EQ(m_camera.calls.size(), 0U);
}

TEST_F(ImageSetDialogTest, CancelRestoresTheValuesOkKeepsThem)
{
    const std::vector<int> atOpening = CameraValues(m_camera);
    std::vector<int> moved = atOpening;
    for (const int sliderId : {1003, 1004, 1005, 1016, 1024, 1036, 1038, 1040}) {
        QSlider* slider = Child<QSlider>(sliderId);
        slider->setValue(slider->value() + 1);
    }
    for (int& value : moved) {
        ++value;
    }
    ASSERT_EQ(CameraValues(m_camera), moved);
    QTest::mouseClick(Child<QPushButton>(1248), Qt::LeftButton);
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
    EXPECT_EQ(CameraValues(m_camera), atOpening);

    FakeCameraControl other = MakeFakeMakerCamera();
    CImageSetQX4Dlg dialog(other, m_request, nullptr);
    dialog.findChild<QSlider*>("1040")->setValue(200);
    QTest::mouseClick(dialog.findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(other.properties[206].value, 200);
}

// "Auto" greys the camera's own values and reads them back on its timer;
// Escape switches it off and keeps the values.
TEST_F(ImageSetDialogTest, AutoReadsBackOnItsTimerEscapeSwitchesItOff)
{
    Child<QSlider>(1036)->setValue(80);
    Child<QCheckBox>(1002)->setChecked(true);
    EXPECT_EQ(m_dialog.autoTimer()->interval(), 500);
    for (const int id : {1003, 1006, 1016, 1246, 1090}) {
        EXPECT_FALSE(m_dialog.findChild<QWidget*>(QString::number(id))->isEnabled()) << id;
    }
    EXPECT_TRUE(Child<QSlider>(1040)->isEnabled());
    m_camera.registers[0x0009] = 333;
    m_camera.registers[0x002D] = 0x21;
    Tick(m_dialog.autoTimer());
    EXPECT_EQ(Child<QSlider>(1016)->value(), 333);
    EXPECT_EQ(Child<QLineEdit>(1006)->text(), "33");

    QTest::keyClick(&m_dialog, Qt::Key_Escape);
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
    EXPECT_EQ(m_camera.registers[0x0106] & 0x4000, 0);
    EXPECT_FALSE(m_dialog.autoTimer()->isActive());
    EXPECT_TRUE(Child<QSlider>(1003)->isEnabled());
    EXPECT_EQ(m_camera.properties[204].value, 80);
}

TEST_F(ImageSetDialogTest, AwbClickRunsOneRoundOnItsTimer)
{
    QPushButton* awb = Child<QPushButton>(1246);
    QTest::mousePress(awb, Qt::LeftButton);
    EXPECT_EQ(m_dialog.whiteBalanceTimer()->interval(), 500);
    QTest::mouseRelease(awb, Qt::LeftButton);
    EXPECT_TRUE(m_request.requested);
    EXPECT_FALSE(Child<QSlider>(1003)->isEnabled());

    // The frame handler measures a picture twice as green as red and half as green as blue.
    m_request = {false, 2.0, 0.5};
    Tick(m_dialog.whiteBalanceTimer());
    EXPECT_EQ(m_camera.registers[0x002D], test::kFakeRed * 2);
    EXPECT_EQ(m_camera.registers[0x002C], test::kFakeBlue / 2);
    EXPECT_EQ(Child<QLineEdit>(1006)->text(), QString::number(test::kFakeRed * 2));
    EXPECT_FALSE(m_dialog.whiteBalanceTimer()->isActive());
    EXPECT_TRUE(Child<QSlider>(1003)->isEnabled());
}

} // namespace
} // namespace orvane
