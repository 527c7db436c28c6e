#include "app/window/CMeasureDlg.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/look/CPictureButton.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "files/ImageFiles.h"
#include "platform/ProfileFile.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;
using test::FakeMessageBoxes;

class CMeasureDlgTest : public ::testing::Test {
protected:
    std::filesystem::path SettingsFile() const { return temp.path() / "config" / "QMC" / "Orvane.ini"; }

    void WriteSettings(const std::string& text) const
    {
        std::filesystem::create_directories(SettingsFile().parent_path());
        std::ofstream(SettingsFile()) << text;
    }

    CMeasureDlg& Make(Language language = Language::English)
    {
        dlg = std::make_unique<CMeasureDlg>(camera, roots, language, boxes);
        return *dlg;
    }

    // Started and released by "Start": the main window shows the white picture.
    CMeasureDlg& MakeShown(Language language = Language::English)
    {
        CMeasureDlg& window = Make(language);
        window.Initialise();
        window.searchDialog()->startButton()->click();
        window.OnCameraRetryTimer();
        return window;
    }

    QWidget* Control(int id) const { return dlg->controls().control(id); }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    FakeMessageBoxes boxes;
    std::unique_ptr<CMeasureDlg> dlg;
};

TEST_F(CMeasureDlgTest, WithoutCameraTheWindowHidesBehindTheSearchDialog)
{
    CMeasureDlg& window = Make();
    window.Initialise();
    CInitCameraDlg* search = window.searchDialog();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(search->isVisible());
    EXPECT_EQ(search->windowTitle(), "Search camera ...");
    EXPECT_EQ(search->progressBar()->maximum(), 30);
    EXPECT_EQ(search->progressBar()->value(), 0);
    EXPECT_TRUE(search->stepTimer()->isActive());
    EXPECT_EQ(search->stepTimer()->interval(), 1000);
    EXPECT_EQ(window.tickTimer()->interval(), 100);
    EXPECT_EQ(window.cameraRetryTimer()->interval(), 300);

    for (int i = 0; i < 3; ++i) {
        window.OnCameraRetryTimer();
    }
    EXPECT_FALSE(window.isVisible());
    for (int second = 1; second < 30; ++second) {
        search->OnStepTimer();
    }
    EXPECT_EQ(search->progressBar()->value(), 29);
    EXPECT_TRUE(boxes.notices.isEmpty());
    search->OnStepTimer();
    EXPECT_EQ(boxes.notices, QStringList{"Imageing device not found"});
    EXPECT_FALSE(search->isVisible());
    EXPECT_FALSE(search->stepTimer()->isActive());
    // The search goes on behind the window, which is no longer kept hidden.
    window.OnCameraRetryTimer();
    EXPECT_TRUE(window.isVisible());
}

// Return in the search dialog presses its one button, "Start".
TEST_F(CMeasureDlgTest, ReturnInTheSearchDialogPressesStart)
{
    CMeasureDlg& window = Make();
    window.Initialise();
    CInitCameraDlg* search = window.searchDialog();
    ASSERT_TRUE(search->isVisible());
    EXPECT_TRUE(search->startButton()->isDefault());
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_FALSE(search->isVisible());
    window.OnCameraRetryTimer();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(CMeasureDlgTest, JapaneseSearchReportsInJapanese)
{
    CMeasureDlg& window = Make(Language::Japanese);
    window.Initialise();
    for (int second = 0; second < 30; ++second) {
        window.searchDialog()->OnStepTimer();
    }
    EXPECT_EQ(boxes.notices, QStringList{"カメラが見つかりません"});
}

TEST_F(CMeasureDlgTest, StartShowsTheWhitePicture)
{
    CMeasureDlg& window = MakeShown();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.searchDialog()->isVisible());
    EXPECT_EQ(window.state().search().showState(), ShowState::Shown);
    const FrameImage& display = window.state().frames().display;
    EXPECT_EQ(display.width(), 1280);
    EXPECT_EQ(display.height(), 1024);
    EXPECT_EQ(display.Row(512)[640 * 3], 255);
    EXPECT_EQ(window.windowTitle(), "Orvane Version 1.658");
}

TEST_F(CMeasureDlgTest, CancelEndsTheProgramWithoutShowingItAndSaves)
{
    CMeasureDlg& window = Make();
    QSignalSpy finished(&window, &CMeasureDlg::finished);
    window.Initialise();
    window.searchDialog()->reject();
    EXPECT_EQ(finished.count(), 0);
    window.OnCameraRetryTimer();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(window.hasShutDown());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(boxes.questions.isEmpty());
    EXPECT_TRUE(std::filesystem::exists(SettingsFile()));
}

TEST_F(CMeasureDlgTest, CameraGoingLiveClosesTheSearchAndShowsTheWindow)
{
    CMeasureDlg& window = Make();
    window.Initialise();
    camera.cameraPresent = true;
    camera.caption = "Microscope";
    window.OnCameraRetryTimer();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.searchDialog()->isVisible());
    window.state().SetFps(12.46);
    window.OnTickTimer();
    EXPECT_EQ(window.windowTitle(), "Microscope 12.5fps");
}

TEST_F(CMeasureDlgTest, LiveCameraAtStartShowsAtOnce)
{
    camera.cameraPresent = true;
    CMeasureDlg& window = Make();
    window.Initialise();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.searchDialog()->isVisible());

    // F11 from any control freezes; the LIVE face follows.
    QTest::keyClick(window.controls().zoomList(), Qt::Key_F11);
    EXPECT_TRUE(window.state().isFrozen());
    window.OnTickTimer();
    EXPECT_EQ(window.windowTitle(), "Orvane Version 1.658");
    EXPECT_TRUE(window.controls().button(ctl::kLive)->alternative());

    // Live again fails without a camera: the search dialog comes back.
    camera.cameraPresent = false;
    QTest::keyClick(&window, Qt::Key_F11);
    EXPECT_FALSE(window.state().isFrozen());
    EXPECT_TRUE(window.searchDialog()->isVisible());
    EXPECT_EQ(window.searchDialog()->progressBar()->value(), 0);
    // Cancelling it now only closes it.
    window.searchDialog()->reject();
    window.OnCameraRetryTimer();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.hasShutDown());
}

TEST_F(CMeasureDlgTest, EscapeAsksToQuitInEnglish)
{
    CMeasureDlg& window = MakeShown();
    window.setFocus();
    QTest::keyClick(&window, Qt::Key_Escape);
    ASSERT_EQ(boxes.questions, QStringList{"confirm|Do you quit the application ?"});
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.hasShutDown());

    boxes.answer = true;
    QSignalSpy finished(&window, &CMeasureDlg::finished);
    QTest::keyClick(window.controls().calibrationList(), Qt::Key_Escape);
    EXPECT_EQ(boxes.questions.size(), 2);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(window.hasShutDown());
}

TEST_F(CMeasureDlgTest, EscapeOnTheJapaneseWindowItselfIsSwallowed)
{
    CMeasureDlg& window = MakeShown(Language::Japanese);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(boxes.questions.isEmpty());
    QTest::keyClick(window.controls().zoomList(), Qt::Key_Escape);
    EXPECT_EQ(boxes.questions, QStringList{"確認|終了しますか？"});
    EXPECT_TRUE(window.isVisible());
}

TEST_F(CMeasureDlgTest, EnterNeverClosesTheWindow)
{
    for (const Language language : {Language::English, Language::Japanese}) {
        CMeasureDlg& window = MakeShown(language);
        QTest::keyClick(&window, Qt::Key_Return);
        QTest::keyClick(window.controls().zoomList(), Qt::Key_Enter);
        QTest::keyClick(window.controls().resultList(), Qt::Key_Return);
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(boxes.questions.isEmpty());
        EXPECT_FALSE(window.hasShutDown());
    }
}

TEST_F(CMeasureDlgTest, CloseBoxAsksAndNoKeepsTheWindow)
{
    CMeasureDlg& window = MakeShown();
    EXPECT_FALSE(window.close());
    EXPECT_EQ(boxes.questions.size(), 1);
    EXPECT_TRUE(window.isVisible());
    boxes.answer = true;
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.hasShutDown());
}

TEST_F(CMeasureDlgTest, F12SavesTheDisplayFrameIntoTheImageFolder)
{
    CMeasureDlg& window = MakeShown();
    const std::filesystem::path folder(window.state().settings().savedir);
    QTest::keyClick(window.controls().resultList(), Qt::Key_F12);
    int bmpFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".bmp" && entry.path().stem().string().size() == 14) {
            ++bmpFiles;
        }
    }
    EXPECT_EQ(bmpFiles, 1);
    EXPECT_EQ(window.state().thumbnails().Count(), 1);
}

TEST_F(CMeasureDlgTest, ZoomListHoldsTheMagnificationsAndDrivesTheView)
{
    CMeasureDlg& window = MakeShown();
    QComboBox* zoom = window.controls().zoomList();
    ASSERT_EQ(zoom->count(), 22);
    EXPECT_EQ(zoom->itemText(0), "full-screen");
    EXPECT_EQ(zoom->itemText(1), "x1");
    EXPECT_EQ(zoom->itemText(2), "x1.2");
    EXPECT_EQ(zoom->itemText(6), "x2");
    EXPECT_EQ(zoom->itemText(21), "x5");
    EXPECT_EQ(zoom->currentIndex(), 1);
    EXPECT_EQ(zoom->objectName(), "1099");

    zoom->setCurrentIndex(6);
    emit zoom->activated(6);
    EXPECT_EQ(window.state().view().zoomIndex(), 6);

    // The wheel over the picture zooms one step and the list follows.
    PictureView* picture = window.controls().picture();
    const QPointF local(20, 20);
    QWheelEvent wheel(local, picture->mapToGlobal(local), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(picture, &wheel);
    EXPECT_EQ(window.state().view().zoomIndex(), 7);
    EXPECT_EQ(zoom->currentIndex(), 7);
}

TEST_F(CMeasureDlgTest, JapaneseZoomListAndToolTips)
{
    CMeasureDlg& japanese = MakeShown(Language::Japanese);
    EXPECT_EQ(japanese.controls().zoomList()->itemText(0), "全画面表示");
    EXPECT_EQ(japanese.controls().zoomList()->itemText(21), "5倍");
    EXPECT_EQ(Control(ctl::kLive)->toolTip(), "カメラ映像の表示／非表示を切り替えます");
    EXPECT_EQ(Control(ctl::kResultList)->toolTip(), "計測結果を表示します");

    MakeShown(Language::English);
    EXPECT_EQ(Control(ctl::kLive)->toolTip(), "Show the live camera picture or freeze it (F11)");
    for (const int id : {ctl::kSave, ctl::kDir, ctl::kSet, ctl::kType, ctl::kThumb, ctl::kWhiteBalance, ctl::kLine,
                         ctl::kAria, ctl::kCircle, ctl::kCircle2, ctl::kSui, ctl::kAngle, ctl::kDelete, ctl::kClear,
                         ctl::kCsv, ctl::kColor, ctl::kCalib, ctl::kCrossLine, ctl::kMagnetButton, ctl::kRightCorner,
                         ctl::kBottomCorner}) {
        EXPECT_FALSE(Control(id)->toolTip().isEmpty()) << id;
    }
}

TEST_F(CMeasureDlgTest, ListsAreFilled)
{
    MakeShown();
    auto* results = qobject_cast<QTableView*>(Control(ctl::kResultList));
    ASSERT_NE(results, nullptr);
    const QAbstractItemModel* model = results->model();
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->columnCount(), 4);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "No.");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Type");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Result");
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), "Unit");
    EXPECT_EQ(results->columnWidth(0), 31);
    EXPECT_EQ(results->columnWidth(3), 40);
    EXPECT_EQ(results->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(results->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(results->showGrid());

    auto* calibrations = qobject_cast<QComboBox*>(Control(ctl::kCalibrationList));
    ASSERT_EQ(calibrations->count(), 20);
    EXPECT_EQ(calibrations->itemText(0), "Data1");
    EXPECT_EQ(calibrations->itemText(19), "Data20");
    EXPECT_EQ(calibrations->currentIndex(), 0);
}

TEST_F(CMeasureDlgTest, ShippedToolsAreDisabledAndTheMagnetHidden)
{
    WriteSettings("[Orvane]\nEnableAllTools=0\n");
    MakeShown();
    for (const int id : {ctl::kAria, ctl::kCircle, ctl::kCircle2, ctl::kSui, ctl::kAngle, ctl::kWhiteBalance}) {
        EXPECT_FALSE(Control(id)->isEnabled()) << id;
        EXPECT_TRUE(Control(id)->isVisible()) << id;
    }
    EXPECT_TRUE(Control(ctl::kLine)->isEnabled());
    EXPECT_FALSE(Control(ctl::kMagnetButton)->isVisible());
    EXPECT_FALSE(Control(ctl::kMagnetCheck)->isVisible());
    EXPECT_EQ(Control(ctl::kMagnetButton)->size(), QSize(16, 16));
}

TEST_F(CMeasureDlgTest, FirstStartEnablesAndShowsAllTools)
{
    MakeShown(); // no settings file yet
    for (const int id : {ctl::kAria, ctl::kAngle, ctl::kWhiteBalance, ctl::kMagnetButton, ctl::kMagnetCheck}) {
        EXPECT_TRUE(Control(id)->isEnabled()) << id;
        EXPECT_TRUE(Control(id)->isVisible()) << id;
    }
    auto* check = qobject_cast<QCheckBox*>(Control(ctl::kMagnetCheck));
    qobject_cast<QAbstractButton*>(Control(ctl::kMagnetButton))->click();
    EXPECT_TRUE(check->isChecked());
}

TEST_F(CMeasureDlgTest, CornerButtonsHideThePanelsAndTheViewGrows)
{
    WriteSettings("[Orvane]\nEnableAllTools=0\n");
    CMeasureDlg& window = MakeShown();
    window.resize(1100, 860);
    const QRect before = Control(ctl::kPicture)->geometry();
    EXPECT_EQ(before.width(), 1100 - 250); // K.right - rightReserve
    EXPECT_EQ(Control(ctl::kImageGroup)->geometry().right() + 1, 1100 - 11);

    qobject_cast<QAbstractButton*>(Control(ctl::kRightCorner))->click();
    for (const int id : {ctl::kImageGroup, ctl::kLive, ctl::kResultList, ctl::kCalibrationList, ctl::kZoomList}) {
        EXPECT_FALSE(Control(id)->isVisible()) << id;
    }
    EXPECT_TRUE(window.state().repaintPending());
    const QRect wide = Control(ctl::kPicture)->geometry();
    EXPECT_EQ(wide.width(), 1100 - 24);
    EXPECT_EQ(wide.height(), before.height());

    qobject_cast<QAbstractButton*>(Control(ctl::kBottomCorner))->click();
    EXPECT_FALSE(Control(ctl::kStripGroup)->isVisible());
    EXPECT_FALSE(Control(ctl::kStripScroll)->isVisible());
    EXPECT_EQ(Control(ctl::kPicture)->height(), 860 - 20);

    qobject_cast<QAbstractButton*>(Control(ctl::kRightCorner))->click();
    qobject_cast<QAbstractButton*>(Control(ctl::kBottomCorner))->click();
    EXPECT_EQ(Control(ctl::kPicture)->geometry(), before);
    EXPECT_TRUE(Control(ctl::kResultList)->isVisible());
    // Showing the panel shows the magnet controls too, still disabled.
    EXPECT_TRUE(Control(ctl::kMagnetButton)->isVisible());
    EXPECT_FALSE(Control(ctl::kMagnetButton)->isEnabled());
}

TEST_F(CMeasureDlgTest, ResizeKeepsTheRightColumnAtItsDistance)
{
    CMeasureDlg& window = MakeShown();
    window.resize(1400, 900);
    const int live = Control(ctl::kLive)->width();
    EXPECT_EQ(Control(ctl::kToolGroup)->geometry().right() + 1, 1400 - 11);
    EXPECT_EQ(Control(ctl::kDir)->geometry().right() + 1, 1400 - 18);
    EXPECT_EQ(Control(ctl::kSave)->geometry().right() + 1, 1400 - live - 29);
    EXPECT_EQ(Control(ctl::kLive)->geometry().right() + 1, 1400 - 2 * live - 40);
    EXPECT_EQ(Control(ctl::kRightCorner)->geometry().right() + 1, 1400);
    EXPECT_EQ(Control(ctl::kBottomCorner)->geometry().bottom() + 1, 900);
    EXPECT_EQ(Control(ctl::kResultList)->geometry().right() + 1, 1400 - Control(ctl::kBottomCorner)->width());
}

TEST_F(CMeasureDlgTest, OpeningAPictureStartsFrozenOnIt)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(321, 123, 24));
    image.Fill(nullptr, RGB(0, 0, 255));
    const std::filesystem::path path = temp.path() / "start.bmp";
    ASSERT_TRUE(SaveImage(path, image, 1));

    CMeasureDlg& window = Make();
    window.Initialise(path);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.searchDialog()->isVisible());
    EXPECT_TRUE(window.state().isFrozen());
    EXPECT_EQ(window.state().view().imageWidth(), 321);
    EXPECT_EQ(window.state().view().imageHeight(), 123);
    EXPECT_EQ(window.windowTitle(), "Orvane Version 1.658");

    // At x1 the picture frame takes the picture's size and shows its pixels.
    PictureView* picture = window.controls().picture();
    EXPECT_EQ(picture->size(), QSize(321, 123));
    const QImage shown = picture->grab().toImage();
    EXPECT_EQ(shown.pixelColor(100, 60), QColor(0, 0, 255));
    EXPECT_EQ(picture->backBuffer().width(), 321);
}

TEST_F(CMeasureDlgTest, SettingsAndPlacementAreWrittenAtExit)
{
    CMeasureDlg& window = MakeShown();
    window.setGeometry(40, 50, 900, 700);
    window.QuitConfirmed();
    ProfileFile written;
    ASSERT_TRUE(written.Load(SettingsFile()));
    EXPECT_EQ(written.GetInt("Orvane", "Window_Left", -1), 40);
    EXPECT_EQ(written.GetInt("Orvane", "Window_Top", -1), 50);
    EXPECT_EQ(written.GetInt("Orvane", "Window_Right", -1), 940);
    EXPECT_EQ(written.GetInt("Orvane", "Window_Bottom", -1), 750);
    EXPECT_EQ(written.GetInt("Orvane", "Window_Max", -1), 0);
    EXPECT_TRUE(written.HasKey("Orvane", "MagnetData.Vector"));
    EXPECT_TRUE(written.HasKey("CALIBRATION", "name_19"));
    EXPECT_TRUE(written.HasKey("CROSSLINE", "Count"));
}

TEST_F(CMeasureDlgTest, PlacementIsRestoredOnFirstShowOntoTheScreen)
{
    WriteSettings("[Orvane]\nWindow_Left=30\nWindow_Top=40\nWindow_Right=730\nWindow_Bottom=640\n");
    EXPECT_EQ(MakeShown().geometry(), QRect(30, 40, 700, 600));

    // Left on a larger screen: brought back whole onto this one.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    WriteSettings("[Orvane]\nWindow_Left=2500\nWindow_Top=40\nWindow_Right=3200\nWindow_Bottom=1940\n");
    const QRect restored = MakeShown().geometry();
    EXPECT_TRUE(screen.contains(restored)) << restored.x() << "," << restored.y() << " " << restored.width() << "x"
                                           << restored.height();
}

TEST_F(CMeasureDlgTest, ANeverShownWindowKeepsTheStoredPlacement)
{
    WriteSettings("[Orvane]\nWindow_Left=30\nWindow_Top=40\nWindow_Right=1030\nWindow_Bottom=840\nWindow_Max=1\n");
    CMeasureDlg& window = Make();
    window.Initialise();
    window.searchDialog()->reject();
    window.OnCameraRetryTimer();
    ProfileFile written;
    ASSERT_TRUE(written.Load(SettingsFile()));
    EXPECT_EQ(written.GetInt("Orvane", "Window_Right", -1), 1030);
    EXPECT_EQ(written.GetInt("Orvane", "Window_Max", -1), 1);
}

} // namespace
} // namespace orvane
