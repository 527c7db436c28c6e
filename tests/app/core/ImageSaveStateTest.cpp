#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/core/FileCommandRules.h"
#include "app/core/MeasureDlgState.h"
#include "files/ImageFiles.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;

struct ChosenCase {
    const char* chosen;
    int saveType;
    const char* imageFile;
    const char* resultsFile;
};

class ChosenPathTest : public ::testing::TestWithParam<ChosenCase> {};

TEST_P(ChosenPathTest, TypedExtensionsAreReplacedWhereTheTypeDemandsIt)
{
    const ChosenCase& c = GetParam();
    EXPECT_EQ(ImageFilePath(c.chosen, c.saveType), std::filesystem::path(c.imageFile));
    EXPECT_EQ(ResultsFilePath(c.chosen), std::filesystem::path(c.resultsFile));
    EXPECT_EQ(ChosenFolder(c.chosen), std::filesystem::path(c.chosen).parent_path().string());
}

INSTANTIATE_TEST_SUITE_P(Names, ChosenPathTest,
                         ::testing::Values(ChosenCase{"/d/a.bmp", 4, "/d/a.jpg", "/d/a.mes"},
                                           ChosenCase{"/d/a.png", 1, "/d/a.png", "/d/a.mes"},
                                           ChosenCase{"/d/a.csv", 2, "/d/a.jpg", "/d/a.mes"},
                                           ChosenCase{"/d/x.y.csv", 3, "/d/x.y.jpg", "/d/x.y.mes"},
                                           ChosenCase{"/d/noext", 1, "/d/noext", "/d/noext.mes"}));

TEST(FileDialogSetupTest, TextsFollowTheLanguage)
{
    const FileDialogSetup csv = ResultsSaveSetup(Language::English, "20210203090507.csv");
    EXPECT_EQ(csv.title, "Save as");
    ASSERT_EQ(csv.filters.size(), 2U);
    EXPECT_EQ(csv.filters[1].label, "Data File(*.mes)");
    EXPECT_EQ(csv.defaultExtension, "csv");
    EXPECT_EQ(ResultsSaveSetup(Language::Japanese, {}).filters[0].label, "CSVファイル(*.csv)");
    EXPECT_EQ(ResultsOpenSetup(Language::Japanese).initialName, "MESファイル");
    EXPECT_EQ(ResultsOpenSetup(Language::English).title, "Open file");
    const FileDialogSetup image = ImageSaveSetup(Language::English, "x");
    ASSERT_EQ(image.filters.size(), 4U);
    EXPECT_EQ(image.filters[3].label, "Jpeg File(low)(*.jpg)");
    EXPECT_EQ(ImageSaveSetup(Language::Japanese, "x").filters[1].label, "JPEGファイル（高画質）(*.jpg)");
}

class ImageSaveStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.Initialise();
        // A grey display frame with one black pixel row to see burn-in against.
        state.frames().display.Fill(nullptr, RGB(128, 128, 128));
    }

    std::tm Moment() const
    {
        std::tm t{};
        t.tm_year = 122;
        t.tm_mon = 0;
        t.tm_mday = 5;
        t.tm_hour = 14;
        t.tm_min = 3;
        t.tm_sec = 9;
        return t;
    }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    MeasureDlgState state{camera, roots};
};

TEST_F(ImageSaveStateTest, QuickSaveWritesTheTimeStampNameOfTheSaveType)
{
    state.settings().m_FilterIndex = 3;
    const std::filesystem::path saved = state.InstantSave(Moment());
    EXPECT_EQ(saved, std::filesystem::path(state.settings().savedir) / "20220105140309.jpg");
    FrameImage read;
    ASSERT_TRUE(LoadImageFile(saved, read));
    EXPECT_EQ(read.width(), state.frames().display.width());
    ASSERT_TRUE(state.thumbnails().Holds(saved.string()));
}

TEST_F(ImageSaveStateTest, BurnInDrawsTheOverlaysOnTheCopyOnly)
{
    int calls = 0;
    state.view().overlays().measurements = [&calls](FrameImage& picture, const ViewTransform& transform) {
        ++calls;
        EXPECT_EQ(transform.scaleX, 1.0);
        EXPECT_EQ(transform.panX, 0.0);
        const RECT dot{2, 3, 3, 4};
        picture.Fill(&dot, RGB(0, 255, 0));
    };
    const FrameImage plain = state.PictureToSave();
    EXPECT_EQ(calls, 0);
    state.ToggleBurnIn();
    ASSERT_TRUE(state.burnIn());
    const FrameImage burnt = state.PictureToSave();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(plain.Row(3)[2 * 3 + 1], 128);
    EXPECT_EQ(burnt.Row(3)[2 * 3 + 1], 255);
    // The display frame itself is never drawn on.
    EXPECT_EQ(state.frames().display.Row(3)[2 * 3 + 1], 128);
}

TEST_F(ImageSaveStateTest, DialogSaveTakesTypeAndFolderAndKeepsOneThumbnailAPath)
{
    const std::filesystem::path other = temp.path() / "other";
    std::filesystem::create_directories(other);
    const FrameImage picture = state.PictureToSave();
    const std::filesystem::path saved = state.SaveImageAs(other / "a.bmp", 4, picture);
    EXPECT_EQ(saved, other / "a.jpg");
    EXPECT_TRUE(std::filesystem::exists(other / "a.jpg"));
    EXPECT_FALSE(std::filesystem::exists(other / "a.bmp"));
    EXPECT_EQ(state.settings().m_FilterIndex, 4);
    EXPECT_EQ(state.settings().savedir, other.string());

    EXPECT_EQ(state.SaveImageAs(other / "a.jpg", 4, picture), saved);
    EXPECT_EQ(state.thumbnails().Count(), 1);

    // A failed write leaves the thumbnails as they were.
    std::filesystem::create_directories(other / "c.png");
    EXPECT_TRUE(state.SaveImageAs(other / "c.png", 1, picture).empty());
    EXPECT_EQ(state.settings().m_FilterIndex, 1);
    EXPECT_EQ(state.thumbnails().Count(), 1);
    EXPECT_FALSE(state.thumbnails().Holds((other / "c.png").string()));
}

TEST_F(ImageSaveStateTest, ChangingTheFolderWritesTheOldIndexAndReadsTheNewFolder)
{
    const std::filesystem::path first(state.settings().savedir);
    ASSERT_FALSE(state.InstantSave(Moment()).empty());
    ASSERT_EQ(state.thumbnails().Count(), 1);

    const std::filesystem::path second = temp.path() / "second";
    std::filesystem::create_directories(second);
    FrameImage small;
    ASSERT_TRUE(small.Create(8, 6, 24));
    ASSERT_TRUE(SaveImage(second / "x.bmp", small, 1));
    ASSERT_TRUE(SaveImage(second / "y.bmp", small, 1));

    state.ChangeImageFolder(second.string());
    EXPECT_TRUE(std::filesystem::exists(CThumbNail::IndexPathFor(first)));
    EXPECT_EQ(state.settings().savedir, second.string());
    EXPECT_EQ(state.thumbnails().Count(), 2);
    EXPECT_TRUE(state.thumbnails().Holds((second / "x.bmp").string()));

    state.ChangeImageFolder(first.string());
    EXPECT_TRUE(std::filesystem::exists(CThumbNail::IndexPathFor(second)));
    ASSERT_EQ(state.thumbnails().Count(), 1);
    EXPECT_TRUE(state.thumbnails().Holds((first / "20220105140309.bmp").string()));
}

} // namespace
} // namespace orvane
