#include <chrono>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/window/CMeasureDlg.h"
#include "app/window/FrameReadyRelay.h"
#include "app/look/CPictureButton.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "app/core/LiveCamera.h"
#include "DemoFrames.h"
#include "capture/DemoPicture.h"

namespace orvane {
namespace {

// `orvane --demo`: the window goes live on the demo camera and its frames
// reach the display frame through the frame-ready events.
TEST(DemoCameraWindowTest, DemoGoesLiveAndTheDisplayShowsItsPicture)
{
    test::AppTempFolder temp;
    test::FakeMessageBoxes boxes;
    LiveCamera camera(true);
    CMeasureDlg window(camera, temp.Roots(), Language::English, boxes);
    FrameReadyRelay relay(window.state(), *window.controls().picture());
    window.Initialise();
    ASSERT_TRUE(window.state().isLive());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.searchDialog()->isVisible());

    const auto shown = [&](int row) {
        const FrameImage& display = window.state().frames().display;
        return display.width() == kDemoWidth && test::IsDemoRow(display.Row(row), row);
    };
    QElapsedTimer clock;
    clock.start();
    while (!shown(kDemoScaleRow) && clock.elapsed() < 5000) {
        window.OnTickTimer();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_TRUE(shown(kDemoScaleRow));
    EXPECT_TRUE(shown(0));
    // Live means moving: the specimen drifts and the sensor is noisy, so two
    // frames a second apart differ.
    const std::vector<std::uint8_t> first(window.state().frames().display.Row(kDemoParticles[0].y),
                                          window.state().frames().display.Row(kDemoParticles[0].y) + kDemoWidth * 3);
    clock.restart();
    while (clock.elapsed() < 1000) {
        window.OnTickTimer();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_NE(std::memcmp(first.data(), window.state().frames().display.Row(kDemoParticles[0].y), first.size()), 0);
    window.OnTickTimer();
    EXPECT_TRUE(window.windowTitle().startsWith("Orvane demo camera ")) << window.windowTitle().toStdString();
}

// The demo camera is the maker's camera: SET waits until its saved image
// settings have been applied, then opens "Image setting" while live and the
// device dialog while frozen; what is open is read from the modal widget,
// then closed.
TEST(DemoCameraWindowTest, SetOpensTheImageSettingsWhileLiveAndTheDeviceDialogWhileFrozen)
{
    test::AppTempFolder temp;
    test::FakeMessageBoxes boxes;
    LiveCamera camera(true);
    CMeasureDlg window(camera, temp.Roots(), Language::English, boxes);
    FrameReadyRelay relay(window.state(), *window.controls().picture());
    window.Initialise();
    ASSERT_TRUE(window.state().isLive());

    const auto openedBySet = [&window] {
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal->metaObject()->className();
                static_cast<QDialog*>(modal)->reject();
            }
        });
        window.controls().button(ctl::kSet)->click();
        return opened;
    };
    CPictureButton* set = window.controls().button(ctl::kSet);
    EXPECT_FALSE(set->isEnabled());
    QElapsedTimer clock;
    clock.start();
    while (!set->isEnabled() && clock.elapsed() < 5000) {
        window.OnTickTimer();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ASSERT_TRUE(set->isEnabled());
    EXPECT_EQ(openedBySet(), "orvane::CImageSetQX4Dlg");
    EXPECT_TRUE(window.state().isLive());
    window.OnLive();
    ASSERT_TRUE(window.state().isFrozen());
    EXPECT_EQ(openedBySet(), "orvane::CDeviceSetDlg");
    EXPECT_FALSE(window.state().isLive()) << "the device dialog does not restart the camera";
}

} // namespace
} // namespace orvane
