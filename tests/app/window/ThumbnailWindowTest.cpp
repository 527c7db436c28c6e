#include <filesystem>
#include <memory>
#include <string>

#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeFileDialogs.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/look/UiPictures.h"
#include "app/thumbnails/CThumbnailDlg.h"
#include "app/thumbnails/ThumbnailController.h"
#include "app/thumbnails/ThumbnailScanner.h"
#include "app/thumbnails/ThumbnailStrip.h"
#include "app/window/CMeasureDlg.h"
#include "app/window/ControlIds.h"
#include "app/window/FileCommands.h"
#include "app/window/MainWindowControls.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;
using test::FakeFileDialogs;
using test::FakeMessageBoxes;

// The shown main window with `count` pictures of 80 x 60 (p00.bmp ...) in a
// folder chosen with DIR, and the trash in the test's own data folder.
class ThumbnailWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((temp.path() / "data").string()));
        window = std::make_unique<CMeasureDlg>(camera, roots, Language::English, boxes);
        window->Initialise();
        window->searchDialog()->startButton()->click();
        window->OnCameraRetryTimer();
        window->files().SetDialogs(dialogs);
        window->show();
        std::filesystem::create_directories(pictures);
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    void ChooseFolderOf(int count)
    {
        for (int i = 0; i < count; ++i) {
            FrameImage picture;
            ASSERT_TRUE(picture.Create(80, 60, 24));
            picture.Fill(nullptr, RGB(10 * i, 20, 30));
            ASSERT_TRUE(SaveImage(PathOf(i), picture, 1));
        }
        dialogs.folderAnswers.push_back(QString::fromStdString(pictures.string()));
        window->files().OnChooseImageFolder();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Controller().scanner().running(); }, 20000));
    }
    [[nodiscard]] std::filesystem::path PathOf(int i) const
    {
        return pictures / ((i < 10 ? "p0" : "p") + std::to_string(i) + ".bmp");
    }
    ThumbnailController& Controller() const { return window->thumbnails(); }
    ThumbnailStrip& Strip() const { return Controller().strip(); }
    QScrollBar* Scroll() const { return window->controls().stripScroll(); }
    // The middle of thumbnail k's cell as the strip shows it now.
    QPoint CellCentre(int k) const
    {
        const CellRect cell = StripCell(k, Scroll()->value(), Strip().metrics());
        return {cell.left + cell.width / 2, cell.top + cell.height / 2};
    }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    FakeMessageBoxes boxes;
    FakeFileDialogs dialogs;
    std::unique_ptr<CMeasureDlg> window;
    std::filesystem::path pictures = temp.path() / "pictures";
};

struct StripCase {
    int count;
    bool scrollShown;
};

class StripScrollWindowTest : public ThumbnailWindowTest, public ::testing::WithParamInterface<StripCase> {};

// The scroll bar follows the chain once the background scan is through:
// hidden while everything fits, else one position per thumbnail that does not.
TEST_P(StripScrollWindowTest, ScrollBarFollowsTheScannedFolder)
{
    ChooseFolderOf(GetParam().count);
    EXPECT_EQ(window->state().thumbnails().Count(), GetParam().count);
    EXPECT_EQ(Scroll()->isVisible(), GetParam().scrollShown);
    EXPECT_EQ(Scroll()->maximum(), GetParam().scrollShown ? GetParam().count - Scroll()->pageStep() + 1 : 0);
    EXPECT_TRUE(Strip().status().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Counts, StripScrollWindowTest,
                         ::testing::Values(StripCase{0, false}, StripCase{3, false}, StripCase{14, true}));

TEST_F(ThumbnailWindowTest, DoubleClickOpensTheThumbnailsPictureFrozen)
{
    ChooseFolderOf(14);
    Scroll()->setValue(3);
    QTest::mouseDClick(&Strip(), Qt::LeftButton, {}, CellCentre(4));
    EXPECT_TRUE(window->state().isFrozen());
    EXPECT_EQ(window->state().frames().display.width(), 80);
    EXPECT_EQ(window->state().thumbnails().Current()->path, PathOf(4).string());
}

TEST_F(ThumbnailWindowTest, APictureThatIsGoneSaysSoInTheStrip)
{
    ChooseFolderOf(3);
    std::filesystem::remove(PathOf(1));
    QTest::mouseDClick(&Strip(), Qt::LeftButton, {}, CellCentre(1));
    EXPECT_FALSE(window->state().isFrozen());
    EXPECT_EQ(Strip().status(), QStringLiteral("Cannot open p01.bmp"));
    EXPECT_EQ(window->state().thumbnails().Count(), 2);
}

// "Remove" deletes the file, "Trash box" moves it into the freedesktop
// trash (made in a data folder that does not exist yet); either way the index
// written at the end no longer lists it.
TEST_F(ThumbnailWindowTest, RemoveAndTrashTakeTheFileOutOfTheFolderAndTheIndex)
{
    ChooseFolderOf(4);
    Controller().OnCommand(ThumbnailCommand::Remove, 1);
    EXPECT_FALSE(std::filesystem::exists(PathOf(1)));
    Controller().OnCommand(ThumbnailCommand::TrashBox, 1); // p02.bmp now
    EXPECT_FALSE(std::filesystem::exists(PathOf(2)));
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "data" / "Trash" / "files" / "p02.bmp"));
    EXPECT_EQ(window->state().thumbnails().Count(), 2);

    window->QuitConfirmed();
    CThumbNail reread;
    ASSERT_EQ(reread.LoadThumbnailIndex(CThumbNail::IndexPathFor(pictures)), 1);
    EXPECT_EQ(reread.Count(), 2);
    EXPECT_FALSE(reread.Holds(PathOf(1).string()));
    EXPECT_FALSE(reread.Holds(PathOf(2).string()));
}

// Quitting while a large folder is scanned ends the scan at once and leaves
// an index of the thumbnails made so far.
TEST_F(ThumbnailWindowTest, QuittingDuringTheScanLeavesAReadableIndex)
{
    FrameImage large;
    ASSERT_TRUE(large.Create(1600, 1200, 24));
    large.Fill(nullptr, RGB(200, 100, 50));
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(SaveImage(PathOf(i), large, 1));
    }
    dialogs.folderAnswers.push_back(QString::fromStdString(pictures.string()));
    window->files().OnChooseImageFolder();
    EXPECT_TRUE(Controller().scanner().running());
    QTest::qWait(50);
    window->QuitConfirmed();
    EXPECT_FALSE(Controller().scanner().running());
    CThumbNail reread;
    const int read = reread.LoadThumbnailIndex(CThumbNail::IndexPathFor(pictures));
    EXPECT_EQ(reread.Count(), window->state().thumbnails().Count());
    EXPECT_EQ(read, reread.Count() > 0 ? 1 : 0);
}

// The index is read off the UI thread; leaving the folder again before its
// records arrived must still write them back, not an empty index.
TEST_F(ThumbnailWindowTest, AnIndexStillBeingReadIsNotLostWhenTheFolderChangesAgain)
{
    ChooseFolderOf(6);
    const std::filesystem::path other = temp.path() / "other";
    std::filesystem::create_directories(other);
    for (const std::filesystem::path& folder : {other, pictures, other}) {
        dialogs.folderAnswers.push_back(QString::fromStdString(folder.string()));
        window->files().OnChooseImageFolder();
    }
    CThumbNail reread;
    ASSERT_EQ(reread.LoadThumbnailIndex(CThumbNail::IndexPathFor(pictures)), 1);
    EXPECT_EQ(reread.Count(), 6);
}

// The browser: double click ends it with 1000 + the position; Remove from its
// menu shrinks the grid's scroll range.
TEST_F(ThumbnailWindowTest, BrowserEndsWithTheChosenPositionAndFollowsRemovals)
{
    ChooseFolderOf(25);
    UiPictures look;
    look.Load();
    int disposed = -1;
    CThumbnailDlg dialog(window->state().thumbnails(), look.backgroundTile(), Language::English,
                         [&](ThumbnailCommand command, int position) {
                             EXPECT_EQ(command, ThumbnailCommand::Remove);
                             disposed = position;
                             Controller().OnCommand(command, position);
                         });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Thumbnail"));
    EXPECT_TRUE(dialog.scrollBar()->isEnabled());
    EXPECT_EQ(dialog.scrollBar()->maximum(), 1);

    dialog.OnCommand(ThumbnailCommand::Remove, 0);
    EXPECT_EQ(disposed, 0);
    EXPECT_FALSE(dialog.scrollBar()->isEnabled());

    QTest::mouseDClick(&dialog, Qt::LeftButton, {}, QPoint(6 + 150 + 70, 10 + 50));
    EXPECT_EQ(dialog.result(), CThumbnailDlg::kOpenBase + 1);
}

} // namespace
} // namespace orvane
