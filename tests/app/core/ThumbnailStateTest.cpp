#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/core/MeasureDlgState.h"
#include "files/ImageFiles.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;

// Opening, removing and recycling thumbnails on the window's state, with
// three pictures saved into the image folder.
class ThumbnailStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.Initialise();
        folder = state.settings().savedir;
        for (const char* name : {"a.bmp", "b.jpg", "c.bmp"}) {
            FrameImage picture;
            ASSERT_TRUE(picture.Create(64, 48, 24));
            picture.Fill(nullptr, RGB(10, 20, 30));
            ASSERT_TRUE(state.WriteImageFile(folder / name, picture, name[2] == 'j' ? kSaveTypeJpegHigh : 1));
        }
        ASSERT_EQ(state.thumbnails().Count(), 3);
    }

    [[nodiscard]] std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const THUMBNAIL* t = thumbnails().First(); t != nullptr; t = t->next) {
            names.push_back(std::filesystem::path(t->path).filename().string());
        }
        return names;
    }
    [[nodiscard]] const CThumbNail& thumbnails() const { return const_cast<MeasureDlgState&>(state).thumbnails(); }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    MeasureDlgState state{camera, roots};
    std::filesystem::path folder;
};

TEST_F(ThumbnailStateTest, OpeningFreezesShowsThePictureAndDropsTheMeasurementBeingPlaced)
{
    state.view().SetFrameRect(RECT{0, 0, 640, 480});
    MeasureInteraction& interaction = state.measure().interaction();
    interaction.SetTool(1);
    interaction.OnLButtonUp(10, 10, false);
    ASSERT_EQ(interaction.working().pointCount, 1);

    const MeasureDlgState::ThumbnailOpen open = state.OpenThumbnail(1);
    EXPECT_TRUE(open.opened);
    EXPECT_EQ(open.path, folder / "b.jpg");
    EXPECT_TRUE(state.isFrozen());
    EXPECT_EQ(state.frames().display.width(), 64);
    EXPECT_EQ(state.view().imageHeight(), 48);
    EXPECT_EQ(interaction.working().pointCount, 0);
    EXPECT_EQ(interaction.mode(), 1); // the tool stays armed
    EXPECT_EQ(state.thumbnails().Count(), 3);
}

TEST_F(ThumbnailStateTest, AFileThatIsGoneLosesItsThumbnailAndNothingElseChanges)
{
    const int width = state.frames().display.width();
    std::filesystem::remove(folder / "a.bmp");
    const MeasureDlgState::ThumbnailOpen open = state.OpenThumbnail(0);
    EXPECT_FALSE(open.opened);
    EXPECT_EQ(open.path, folder / "a.bmp");
    EXPECT_FALSE(state.isFrozen());
    EXPECT_EQ(state.frames().display.width(), width);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.jpg", "c.bmp"}));
    EXPECT_EQ(state.thumbnails().First()->no, 0);
    EXPECT_TRUE(state.OpenThumbnail(5).path.empty());
}

struct DisposeCase {
    const char* what;
    bool fileOperationSucceeds;
};

class ThumbnailDisposeTest : public ThumbnailStateTest, public ::testing::WithParamInterface<DisposeCase> {};

// Remove and Trash differ only in what happens to the file; the record goes
// even when the file operation fails, and the index no longer lists it.
TEST_P(ThumbnailDisposeTest, TheRecordLeavesTheChainAndTheIndex)
{
    std::vector<std::filesystem::path> handed;
    const bool succeeds = GetParam().fileOperationSucceeds;
    const std::filesystem::path path = state.DisposeThumbnail(1, [&](const std::filesystem::path& p) {
        handed.push_back(p);
        if (succeeds) {
            std::filesystem::remove(p);
        }
        return succeeds;
    });
    EXPECT_EQ(path, folder / "b.jpg");
    EXPECT_EQ(handed, std::vector<std::filesystem::path>{folder / "b.jpg"});
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "c.bmp"}));
    EXPECT_EQ(state.thumbnails().First()->next->no, 1);

    ASSERT_EQ(state.thumbnails().SaveThumbnailIndex(CThumbNail::IndexPathFor(folder)), 1);
    CThumbNail reread;
    ASSERT_EQ(reread.LoadThumbnailIndex(CThumbNail::IndexPathFor(folder)), 1);
    EXPECT_FALSE(reread.Holds((folder / "b.jpg").string()));
    EXPECT_EQ(reread.Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(FileOperations, ThumbnailDisposeTest,
                         ::testing::Values(DisposeCase{"done", true}, DisposeCase{"failed", false}),
                         [](const auto& param) { return std::string(param.param.what); });

// Records a scanner's calls, so that the state's use of it shows.
class RecordingScanner final : public IThumbnailScanner {
public:
    void Scan(const std::filesystem::path& folder) override { calls.push_back("scan " + folder.filename().string()); }
    void Cancel() override { calls.push_back("cancel"); }
    void Forget(const std::filesystem::path& path) override { calls.push_back("forget " + path.filename().string()); }
    std::vector<std::string> calls;
};

TEST_F(ThumbnailStateTest, AScanIsEndedBeforeAnIndexIsWrittenAndForgetsWhatWasRemoved)
{
    RecordingScanner scanner;
    state.SetThumbnailScanner(&scanner);
    const std::filesystem::path other = temp.path() / "other";
    std::filesystem::create_directories(other);
    state.ChangeImageFolder(other.string());
    EXPECT_EQ(scanner.calls, (std::vector<std::string>{"cancel", "cancel", "scan other"}));
    // The old folder's index was written from the complete records.
    CThumbNail reread;
    EXPECT_EQ(reread.LoadThumbnailIndex(CThumbNail::IndexPathFor(folder)), 1);
    EXPECT_EQ(reread.Count(), 3);

    scanner.calls.clear();
    FrameImage picture;
    ASSERT_TRUE(picture.Create(8, 8, 24));
    ASSERT_TRUE(state.WriteImageFile(other / "d.bmp", picture, 1));
    state.DisposeThumbnail(0, [](const std::filesystem::path&) { return true; });
    state.Shutdown({});
    EXPECT_EQ(scanner.calls, (std::vector<std::string>{"forget d.bmp", "cancel"}));
    state.SetThumbnailScanner(nullptr);
}

} // namespace
} // namespace orvane
