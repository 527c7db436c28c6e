// What an operator expects of the window in the first hour: the picture
// follows every zoom and pan at once, the keys and the mouse behave as in
// other desktop programs, the window fits the screen.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include <QComboBox>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/core/MeasureDlgState.h"
#include "app/look/CPictureButton.h"
#include "app/window/CMeasureDlg.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "app/window/ScreenFit.h"
#include "files/ImageFiles.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;
using test::FakeMessageBoxes;

// Every pixel different: blue x, green y, red the high bits of both.
FrameImage GradientPicture(int width, int height)
{
    FrameImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.Row(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<std::uint8_t>(x);
            row[x * 3 + 1] = static_cast<std::uint8_t>(y);
            row[x * 3 + 2] = static_cast<std::uint8_t>((x >> 8) | ((y >> 8) << 4));
        }
    }
    return image;
}

class OperatorHabitsTest : public ::testing::Test {
protected:
    // Frozen on a 1600 x 1200 picture, larger than the picture frame.
    CMeasureDlg& OpenPicture()
    {
        const std::filesystem::path file = temp.path() / "big.bmp";
        EXPECT_TRUE(SaveImage(file, GradientPicture(1600, 1200), 1));
        window = std::make_unique<CMeasureDlg>(camera, roots, Language::English, boxes);
        window->Initialise(file);
        EXPECT_TRUE(window->isVisible());
        // The offscreen screen is small; the points here assume the first window of a large one.
        window->resize(1100, 860);
        return *window;
    }
    PictureView& Picture() const { return *window->controls().picture(); }
    ImageView& View() const { return window->state().view(); }
    QPoint FrameTopLeft() const { return {View().frameRect().left, View().frameRect().top}; }

    // The pixels on screen and the mapping of a click agree at these points:
    // the gradient's pixel there names the image pixel shown, exactly, at any
    // pan (a view left from before a change is off by hundreds).
    void ExpectScreenMatchesMapping(const char* after) const
    {
        QCoreApplication::processEvents();
        const FrameImage& shown = Picture().backBuffer();
        for (const QPoint local : {QPoint(5, 5), QPoint(301, 203), QPoint(640, 480)}) {
            const QPoint client = local + FrameTopLeft();
            const std::optional<IntPoint> image = View().ClientToImageInt({double(client.x()), double(client.y())});
            ASSERT_TRUE(image) << after;
            const std::uint8_t* pixel = shown.Row(local.y()) + local.x() * 3;
            const int x = pixel[0] | ((pixel[2] & 0x0F) << 8);
            const int y = pixel[1] | ((pixel[2] >> 4) << 8);
            EXPECT_EQ(x, image->x) << after << " at " << local.x() << "," << local.y();
            EXPECT_EQ(y, image->y) << after << " at " << local.x() << "," << local.y();
        }
    }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    FakeMessageBoxes boxes;
    std::unique_ptr<CMeasureDlg> window;
};

TEST_F(OperatorHabitsTest, ZoomAndPanShowAtOnceOnAFrozenPicture)
{
    OpenPicture();
    ExpectScreenMatchesMapping("opening");
    emit window->controls().zoomList()->activated(6); // x2
    ExpectScreenMatchesMapping("zoom list");
    window->OnMouseWheel(120, FrameTopLeft() + QPoint(100, 100));
    ExpectScreenMatchesMapping("wheel");
    QTest::keyClick(&Picture(), Qt::Key_Right);
    ExpectScreenMatchesMapping("arrow key");
}

TEST_F(OperatorHabitsTest, MiddleDragShiftWheelAndArrowsPanWithinTheLayout)
{
    OpenPicture();
    emit window->controls().zoomList()->activated(6); // x2: a screen pixel is half an image pixel
    const double x0 = View().panX();
    const double y0 = View().panY();
    QTest::mousePress(&Picture(), Qt::MiddleButton, {}, QPoint(400, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(360, 270), Picture().mapToGlobal(QPointF(360, 270)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Picture(), &move);
    QTest::mouseRelease(&Picture(), Qt::MiddleButton, {}, QPoint(360, 270));
    EXPECT_DOUBLE_EQ(View().panX(), x0 - 20);
    EXPECT_DOUBLE_EQ(View().panY(), y0 - 15);
    EXPECT_EQ(window->state().measure().interaction().mode(), 0);

    const double x1 = View().panX();
    QWheelEvent shiftWheel(QPointF(50, 50), Picture().mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                           Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&Picture(), &shiftWheel);
    EXPECT_DOUBLE_EQ(View().panX(), x1 - 24);
    EXPECT_EQ(View().zoomIndex(), 6);

    const double y1 = View().panY();
    QTest::keyClick(&Picture(), Qt::Key_Down);
    EXPECT_DOUBLE_EQ(View().panY(), y1 - View().frameRect().Height() / 8.0 / 2.0);
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(&Picture(), Qt::Key_Left);
        QTest::keyClick(&Picture(), Qt::Key_Up);
    }
    EXPECT_EQ(View().panX(), 0.0);
    EXPECT_EQ(View().panY(), 0.0);
}

TEST_F(OperatorHabitsTest, EscapeCancelsThePlacingDeleteDeletesALabelClickSelects)
{
    OpenPicture();
    MeasureInteraction& interaction = window->state().measure().interaction();
    QTest::mouseClick(window->controls().button(ctl::kLine), Qt::LeftButton);
    QTest::mouseClick(&Picture(), Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_TRUE(interaction.placing());
    QTest::keyClick(&Picture(), Qt::Key_Escape);
    EXPECT_FALSE(interaction.placing());
    EXPECT_EQ(interaction.mode(), kModeLength);
    EXPECT_TRUE(boxes.questions.isEmpty());
    QTest::keyClick(&Picture(), Qt::Key_Escape); // nothing being placed: the quit question
    EXPECT_EQ(boxes.questions.size(), 1);

    QTest::mouseClick(&Picture(), Qt::LeftButton, {}, QPoint(110, 100));
    QTest::mouseClick(&Picture(), Qt::LeftButton, {}, QPoint(410, 100));
    QTest::mouseClick(window->controls().button(ctl::kLine), Qt::LeftButton);
    ASSERT_EQ(interaction.chain().Count(), 1);

    // With no tool armed, a click on the label selects the record's rows
    // (labels are where the last paint put them).
    QCoreApplication::processEvents();
    std::optional<QPoint> onLabel;
    for (int y = 0; y < 300 && !onLabel; y += 2) {
        for (int x = 0; x < 600 && !onLabel; x += 2) {
            const QPoint client = QPoint(x, y) + FrameTopLeft();
            const std::optional<PointD> image = View().ClientToImage({double(client.x()), double(client.y())});
            if (image && interaction.HitTest(image->x, image->y, MeasureInteraction::kHitTolerancePixels).hit ==
                              HitKind::Label) {
                onLabel = QPoint(x, y);
            }
        }
    }
    ASSERT_TRUE(onLabel);
    QTest::mouseClick(&Picture(), Qt::LeftButton, {}, *onLabel);
    const QTableView* list = window->controls().resultList();
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 2);

    // The Delete key (and the keypad's) is the DELETE button.
    QTest::keyClick(window->controls().resultList(), Qt::Key_Delete, Qt::KeypadModifier);
    EXPECT_EQ(interaction.chain().Count(), 0);
}

TEST_F(OperatorHabitsTest, PicturesThatCannotBeReadWhollyAreTold)
{
    // Empty: told, and the program starts as without it.
    const std::filesystem::path empty = temp.path() / "empty.jpg";
    std::ofstream(empty).flush();
    window = std::make_unique<CMeasureDlg>(camera, roots, Language::English, boxes);
    window->Initialise(empty);
    ASSERT_EQ(boxes.notices.size(), 1);
    EXPECT_TRUE(boxes.notices[0].contains(QString::fromStdString(empty.string())));
    EXPECT_FALSE(window->state().isFrozen());
    EXPECT_TRUE(window->searchDialog()->isVisible());

    // Ending early: what was read opens, with a warning.
    const std::filesystem::path cut = temp.path() / "cut.jpg";
    ASSERT_TRUE(SaveImage(cut, GradientPicture(640, 480), 2));
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) * 9 / 10);
    boxes.notices.clear();
    window = std::make_unique<CMeasureDlg>(camera, roots, Language::English, boxes);
    window->Initialise(cut);
    ASSERT_EQ(boxes.notices.size(), 1);
    EXPECT_TRUE(boxes.notices[0].contains("ends early")) << boxes.notices[0].toStdString();
    EXPECT_TRUE(window->state().isFrozen());
    EXPECT_EQ(window->state().frames().display.width(), 640);
}

struct FitCase {
    QRect client;
    QRect area;
    QRect expected;
};

class ScreenFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(ScreenFitTest, TheWholeFrameLiesOnTheScreen)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(FitIntoArea(c.client, c.area, QMargins(4, 30, 4, 4)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, ScreenFitTest,
    ::testing::Values(FitCase{{90, 0, 1100, 860}, {0, 0, 1280, 800}, {90, 30, 1100, 766}},     // first window, 1280x800
                      FitCase{{100, 100, 800, 600}, {0, 0, 1920, 1080}, {100, 100, 800, 600}}, // fits: kept
                      FitCase{{1700, 900, 800, 600}, {0, 0, 1920, 1080}, {1116, 476, 800, 600}}, // off the corner
                      FitCase{{-3000, 50, 800, 600}, {0, 0, 1920, 1080}, {4, 50, 800, 600}},  // screen gone
                      FitCase{{10, 10, 800, 600}, {}, {10, 10, 800, 600}}));                   // no screen
} // namespace
} // namespace orvane
