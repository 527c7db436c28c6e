#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/core/LiveCamera.h"
#include "app/look/CPictureButton.h"
#include "app/overlays/CFocusDlg.h"
#include "app/overlays/CMagnetDlg.h"
#include "app/overlays/FocusController.h"
#include "app/overlays/MagnetController.h"
#include "app/window/CMeasureDlg.h"
#include "app/window/ControlIds.h"
#include "app/window/FrameReadyRelay.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "capture/DemoPicture.h"

namespace orvane {
namespace {

// ---- "Magnet setting" ----------------------------------------------------------

struct DialogStep {
    std::string name;
    void (*act)(CMagnetDlg& dialog);
    MagnetDataSettings expected;
    int slider;
    int spin;
};

class MagnetDialogTest : public ::testing::TestWithParam<DialogStep> {};

TEST_P(MagnetDialogTest, SliderAndSpinStayEqualAndEveryChangeIsStored)
{
    const DialogStep& step = GetParam();
    MagnetDataSettings settings;
    CMagnetDlg dialog(settings, Language::English, nullptr);
    QSignalSpy changed(&dialog, &CMagnetDlg::settingsChanged);
    step.act(dialog);
    EXPECT_EQ(settings, step.expected);
    EXPECT_EQ(dialog.thresholdSlider()->value(), step.slider);
    EXPECT_EQ(dialog.thresholdSpin()->value(), step.spin);
    EXPECT_GE(changed.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, MagnetDialogTest,
    ::testing::Values(
        DialogStep{"Slider", [](CMagnetDlg& d) { d.thresholdSlider()->setValue(77); }, {77, 10, 0, 0}, 77, 77},
        DialogStep{"Spin", [](CMagnetDlg& d) { d.thresholdSpin()->setValue(200); }, {200, 10, 0, 0}, 200, 200},
        DialogStep{"SpinTyped",
                   [](CMagnetDlg& d) {
                       d.thresholdSpin()->selectAll();
                       QTest::keyClicks(d.thresholdSpin(), "33");
                   },
                   {33, 10, 0, 0},
                   33,
                   33},
        DialogStep{"Area", [](CMagnetDlg& d) { d.areaSpin()->setValue(4); }, {128, 4, 0, 0}, 128, 128},
        DialogStep{"Binary", [](CMagnetDlg& d) { d.binaryCheck()->click(); }, {128, 10, 1, 0}, 128, 128},
        DialogStep{"Type", [](CMagnetDlg& d) { d.typeList()->setCurrentIndex(2); }, {128, 10, 0, 2}, 128, 128}),
    [](const auto& tested) { return tested.param.name; });

TEST(MagnetDialog, ShowsStoredValuesWithinTheControlsRanges)
{
    MagnetDataSettings settings{300, 0, 1, 3};
    CMagnetDlg dialog(settings, Language::Japanese, nullptr);
    EXPECT_EQ(dialog.thresholdSlider()->value(), 255);
    EXPECT_EQ(dialog.thresholdSpin()->value(), 255);
    EXPECT_EQ(dialog.areaSpin()->value(), 1);
    EXPECT_TRUE(dialog.binaryCheck()->isChecked());
    EXPECT_EQ(dialog.typeList()->currentText(), QString::fromUtf8("２値化"));
    EXPECT_EQ(dialog.windowTitle(), "Magnet setting");
    // Showing values stores nothing.
    EXPECT_EQ(settings, (MagnetDataSettings{300, 0, 1, 3}));
}

// ---- the window on the demo camera --------------------------------------------------

class OverlaysWindowTest : public ::testing::Test {
protected:
    OverlaysWindowTest()
    {
        const std::filesystem::path file = temp.path() / "config" / "QMC" / "Orvane.ini";
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "[Orvane]\nEnableAllTools=1\n";
        window = std::make_unique<CMeasureDlg>(camera, temp.Roots(), Language::English, boxes);
        relay = std::make_unique<FrameReadyRelay>(window->state(), *window->controls().picture());
        window->Initialise();
    }

    PictureView* Picture() const { return window->controls().picture(); }

    // Frames flow for a while.
    void RunFrames(int milliseconds) const
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            window->OnTickTimer();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }

    // WB, then a drag over the picture (picture coordinates, x1 at pan 0).
    void DrawArea(QPoint from, QPoint to) const
    {
        QTest::mouseClick(window->controls().button(ctl::kWhiteBalance), Qt::LeftButton);
        QTest::mousePress(Picture(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Picture(), (from + to) / 2);
        QTest::mouseRelease(Picture(), Qt::LeftButton, {}, to);
    }

    test::AppTempFolder temp;
    test::FakeMessageBoxes boxes;
    LiveCamera camera{true};
    std::unique_ptr<CMeasureDlg> window;
    std::unique_ptr<FrameReadyRelay> relay;
};

TEST_F(OverlaysWindowTest, TwoFocusAreasGetMetersThatFallWhenTheDemoIsBlurred)
{
    ASSERT_TRUE(window->state().isLive());
    window->state().view().SetPan(0, 0);
    DrawArea({400, 440}, {560, 600});
    DrawArea({180, 190}, {260, 270});
    const auto& meters = window->focus().meters();
    ASSERT_EQ(meters.size(), 2u);
    const CFocusDlg* first = meters.at(0);
    const CFocusDlg* second = meters.at(1);
    EXPECT_EQ(first->windowTitle(), "1");
    EXPECT_EQ(second->windowTitle(), "2");
    EXPECT_EQ(first->size(), QSize(CFocusDlg::kWidth, CFocusDlg::kHeight));
    EXPECT_EQ(window->state().focusAreaState(), 0);

    RunFrames(600);
    const int sharpFirst = first->value();
    const int sharpSecond = second->value();
    EXPECT_GT(sharpFirst, 0);
    EXPECT_GT(sharpSecond, 0);
    camera.capture().SetDemoFocus(6);
    RunFrames(600);
    EXPECT_LT(first->value(), sharpFirst);
    EXPECT_LT(second->value(), sharpSecond);
    // The peak keeps the sharpest value seen, which noise may have put a
    // step above the last sharp one.
    EXPECT_GE(first->peak(), sharpFirst);
    EXPECT_GT(first->peak(), first->value());

    // A new scale restarts that meter's peak from its value and is shared.
    meters.at(1)->scaleList()->setCurrentIndex(4);
    emit meters.at(1)->scaleList()->activated(4);
    EXPECT_EQ(window->state().settings().FocusSelect, 4);
    EXPECT_EQ(meters.at(0)->scaleList()->currentIndex(), 4);
    EXPECT_EQ(window->state().focus().areas()[1].peak, window->state().focus().areas()[1].value);

    // Closing a meter frees its area at the next paint.
    meters.at(0)->reject();
    EXPECT_EQ(meters.size(), 1u);
    Picture()->repaint();
    EXPECT_EQ(window->state().focus().areas()[0].state, FocusArea::kFree);
}

TEST_F(OverlaysWindowTest, MagnetCheckBoxSnapsALengthAndShowPaintsTheEdgeView)
{
    ASSERT_TRUE(window->state().isLive());
    RunFrames(400);
    window->OnLive(); // frozen on the demo picture
    window->state().view().SetPan(0, 0);
    auto* check = qobject_cast<QCheckBox*>(window->controls().control(ctl::kMagnetCheck));
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isVisible());
    // The magnet button toggles the box; its right click opens the dialog.
    QTest::mouseClick(window->controls().button(ctl::kMagnetButton), Qt::LeftButton);
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(window->state().magnet().isOn());

    // A tick of the scale: columns 40 + 10k .. 41 + 10k, from row kDemoScaleRow - 22 up.
    QTest::mouseClick(window->controls().button(ctl::kLine), Qt::LeftButton);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, {136, kDemoScaleRow - 10});
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, {215, kDemoScaleRow - 10});
    CMeasureChain& chain = window->state().measure().interaction().chain();
    chain.MoveLast();
    const MEASURE* record = chain.Current();
    ASSERT_NE(record, nullptr);
    const std::span<const PointD> points = record->points.Slots();
    // Each end lands on the light side of the nearest tick's edge.
    EXPECT_EQ(points[0], (PointD{139, kDemoScaleRow - 10}));
    EXPECT_EQ(points[1], (PointD{212, kDemoScaleRow - 10}));

    emit window->controls().button(ctl::kMagnetButton)->rightClicked();
    CMagnetDlg* dialog = window->magnet().dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->binaryCheck()->click();
    EXPECT_EQ(window->state().settings().MagnetData.Show, 1);
    Picture()->repaint();
    // The edge view: black field, white edges.
    const FrameImage& shown = window->state().PictureToShow();
    ASSERT_EQ(shown.bitsPerPixel(), 8);
    EXPECT_EQ(shown.Row(300)[300], 0);
    EXPECT_EQ(shown.Row(kDemoScaleRow - 10)[139], 255);
}

} // namespace
} // namespace orvane
