#include "app/core/MeasureDlgState.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "OrvaneKeyOrder.h"
#include "files/ImageFiles.h"
#include "platform/ProfileFile.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;

class MeasureDlgStateTest : public ::testing::Test {
protected:
    std::filesystem::path SettingsFile() const { return temp.path() / "config" / "QMC" / "Orvane.ini"; }

    void WriteSettings(const std::string& text) const
    {
        std::filesystem::create_directories(SettingsFile().parent_path());
        std::ofstream(SettingsFile()) << text;
    }

    // A small picture with a known pixel, written as BMP.
    std::filesystem::path WritePicture(const std::string& name, int width, int height) const
    {
        FrameImage image;
        EXPECT_TRUE(image.Create(width, height, 24));
        image.Fill(nullptr, RGB(10, 20, 30));
        const std::filesystem::path path = temp.path() / name;
        EXPECT_TRUE(SaveImage(path, image, 1));
        return path;
    }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
};

TEST_F(MeasureDlgStateTest, ConstructionHoldsDefaultsAndAWhitePicture)
{
    MeasureDlgState state(camera, roots);
    EXPECT_EQ(state.settingsPath(), SettingsFile());
    EXPECT_EQ(state.calibrations().Count(), 20);
    EXPECT_EQ(state.frames().display.width(), 640);
    EXPECT_EQ(state.frames().display.height(), 480);
    EXPECT_EQ(state.frames().display.Row(0)[0], 255);
    EXPECT_EQ(state.view().imageWidth(), 640);
    EXPECT_FALSE(state.isFrozen());
    EXPECT_TRUE(state.rightPanelShown());
    EXPECT_TRUE(state.bottomPanelShown());
}

TEST_F(MeasureDlgStateTest, WithoutCameraStartsHiddenWithTheSettingsSizedWhitePicture)
{
    WriteSettings("[Orvane]\nwidth=320\nheight=200\n");
    MeasureDlgState state(camera, roots);
    EXPECT_FALSE(state.Initialise());
    EXPECT_EQ(state.frames().display.width(), 320);
    EXPECT_EQ(state.frames().display.height(), 200);
    EXPECT_EQ(state.frames().work1.bitsPerPixel(), 8);
    EXPECT_EQ(state.view().imageHeight(), 200);
    EXPECT_EQ(state.search().showState(), ShowState::Searching);

    // Retries keep the window hidden while the search runs.
    state.search().Restart();
    for (int i = 0; i < 5; ++i) {
        const RetryResult retry = state.OnCameraRetry();
        EXPECT_FALSE(retry.showWindow);
        EXPECT_FALSE(retry.endProgram);
    }
    EXPECT_EQ(camera.beginCalls, 6);
}

TEST_F(MeasureDlgStateTest, StartShowsTheWindowOnTheNextRetry)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    state.search().Restart();
    state.search().Start();
    const RetryResult retry = state.OnCameraRetry();
    EXPECT_TRUE(retry.showWindow);
    EXPECT_FALSE(retry.endProgram);
    EXPECT_EQ(state.search().showState(), ShowState::Shown);
    EXPECT_FALSE(state.OnCameraRetry().showWindow);
}

TEST_F(MeasureDlgStateTest, CancelEndsTheProgramWithoutShowingIt)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    state.search().Restart();
    state.search().Cancel();
    const RetryResult retry = state.OnCameraRetry();
    EXPECT_TRUE(retry.endProgram);
    EXPECT_FALSE(retry.showWindow);
    EXPECT_EQ(state.search().showState(), ShowState::Ended);
}

TEST_F(MeasureDlgStateTest, TimedOutSearchReleasesTheWindow)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    state.search().Restart();
    bool ended = false;
    for (int second = 0; second < 30; ++second) {
        ended = state.search().Step();
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(state.OnCameraRetry().showWindow);
}

TEST_F(MeasureDlgStateTest, CameraAppearingOnARetryClosesTheSearchAndShows)
{
    MeasureDlgState state(camera, roots);
    EXPECT_FALSE(state.Initialise());
    state.search().Restart();
    camera.cameraPresent = true;
    const RetryResult retry = state.OnCameraRetry();
    EXPECT_TRUE(retry.closeSearchDialog);
    EXPECT_TRUE(retry.showWindow);
    EXPECT_EQ(state.search().showState(), ShowState::Shown);
    EXPECT_FALSE(state.search().running());
    EXPECT_TRUE(state.isLive());
    // Live: the retry leaves the camera alone.
    const int calls = camera.beginCalls;
    EXPECT_FALSE(state.OnCameraRetry().showWindow);
    EXPECT_EQ(camera.beginCalls, calls);
}

TEST_F(MeasureDlgStateTest, FrozenPictureIsNotRetried)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    state.OnLive(); // freeze
    ASSERT_TRUE(state.isFrozen());
    const int calls = camera.beginCalls;
    state.search().Cancel();
    const RetryResult retry = state.OnCameraRetry();
    EXPECT_FALSE(retry.endProgram);
    EXPECT_EQ(camera.beginCalls, calls);
}

TEST_F(MeasureDlgStateTest, TickStampsTimeTakesRepaintAndSetsTitle)
{
    camera.cameraPresent = true;
    MeasureDlgState state(camera, roots);
    ASSERT_TRUE(state.Initialise());
    state.SetFps(14.96);
    state.RequestRepaint();
    TickResult tick = state.OnTick(1000);
    EXPECT_EQ(state.lastTickTime(), 1000u);
    EXPECT_TRUE(tick.repaint);
    EXPECT_EQ(tick.title, "USB Camera 15.0fps");
    EXPECT_FALSE(state.repaintPending());
    tick = state.OnTick(1100);
    EXPECT_FALSE(tick.repaint);

    EXPECT_FALSE(state.TickIsStale(1600));
    EXPECT_TRUE(state.TickIsStale(1601));

    state.OnLive(); // freeze
    tick = state.OnTick(1200);
    EXPECT_TRUE(tick.repaint);
    EXPECT_EQ(tick.title, "Orvane Version 1.658");
    EXPECT_EQ(state.fps(), 0.0);
}

TEST_F(MeasureDlgStateTest, WithoutACameraTheTitleIsTheVersionNotARate)
{
    MeasureDlgState state(camera, roots);
    ASSERT_FALSE(state.Initialise());
    EXPECT_EQ(state.OnTick(1000).title, "Orvane Version 1.658");
}

TEST_F(MeasureDlgStateTest, TickAgeSurvivesTheClockWrapping)
{
    MeasureDlgState state(camera, roots);
    state.OnTick(0xFFFFFF00u);
    EXPECT_FALSE(state.TickIsStale(0x00000010u)); // 272 ms later
    EXPECT_TRUE(state.TickIsStale(0x00000200u));  // 768 ms later
}

TEST_F(MeasureDlgStateTest, ZoomChangeMarksTheViewForRepaint)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    state.OnTick(0);
    state.view().ZoomChanged(3);
    EXPECT_TRUE(state.OnTick(100).repaint);
    EXPECT_FALSE(state.OnTick(200).repaint);
}

TEST_F(MeasureDlgStateTest, LiveTogglesFreezeAndAsksForTheSearchWhenNoCamera)
{
    camera.cameraPresent = true;
    MeasureDlgState state(camera, roots);
    ASSERT_TRUE(state.Initialise());
    state.SetFps(30.0);
    state.SetCursorHint(3);
    EXPECT_FALSE(state.OnLive());
    EXPECT_TRUE(state.isFrozen());
    EXPECT_FALSE(state.isLive());
    EXPECT_EQ(camera.endCalls, 1);
    EXPECT_EQ(state.fps(), 0.0);
    EXPECT_EQ(state.cursorHint(), 0);

    camera.cameraPresent = false;
    EXPECT_TRUE(state.OnLive());
    EXPECT_FALSE(state.isFrozen());
    EXPECT_TRUE(state.search().running());
    EXPECT_EQ(state.search().position(), 0);
}

TEST_F(MeasureDlgStateTest, OpenPictureFreezesWithThePictureSize)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    const auto path = WritePicture("sample.bmp", 37, 23);
    ASSERT_TRUE(state.OpenPicture(path));
    EXPECT_TRUE(state.isFrozen());
    EXPECT_EQ(state.frames().display.width(), 37);
    EXPECT_EQ(state.frames().display.height(), 23);
    EXPECT_EQ(state.frames().display.Row(0)[0], 30); // blue byte of RGB(10, 20, 30)
    EXPECT_EQ(state.frames().work2.width(), 37);
    EXPECT_EQ(state.view().imageWidth(), 37);
    EXPECT_EQ(state.view().imageHeight(), 23);
    // Frozen: the retry no longer replaces the picture with white.
    state.OnCameraRetry();
    EXPECT_EQ(state.frames().display.width(), 37);
}

TEST_F(MeasureDlgStateTest, UnreadablePictureChangesNothing)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    std::ofstream(temp.path() / "broken.bmp") << "BM not really";
    EXPECT_FALSE(state.OpenPicture(temp.path() / "broken.bmp"));
    EXPECT_FALSE(state.OpenPicture(temp.path() / "missing.png"));
    EXPECT_FALSE(state.isFrozen());
    EXPECT_EQ(state.frames().display.width(), 1280);
}

TEST_F(MeasureDlgStateTest, LoadsZoomPanFoldersAndExtraTools)
{
    WriteSettings("[Orvane]\nm_Bai=21\nm_Bai_X=-12.5\nm_Bai_Y=-3\nEnableAllTools=1\n"
                  "[CALIBRATION]\nname_4=Stage\n");
    MeasureDlgState state(camera, roots);
    state.Initialise();
    EXPECT_EQ(state.view().zoomIndex(), 21);
    EXPECT_EQ(state.settings().EnableAllTools, 1);
    EXPECT_EQ(state.calibrations().RectAt(4)->name, "Stage");
    const std::filesystem::path bmp = roots.home / "Documents" / "QMC" / "Orvane" / "bmp";
    EXPECT_EQ(std::filesystem::path(state.settings().savedir), bmp);
    EXPECT_TRUE(std::filesystem::is_directory(bmp));
    EXPECT_TRUE(std::filesystem::is_directory(roots.home / "Documents" / "QMC" / "Orvane" / "result"));
}

TEST_F(MeasureDlgStateTest, LoadScansTheImageFolderForThumbnails)
{
    const std::filesystem::path folder = temp.path() / "images";
    std::filesystem::create_directories(folder);
    WriteSettings("[Orvane]\nsavedir=" + folder.string() + "\n");
    FrameImage image;
    ASSERT_TRUE(image.Create(80, 60, 24));
    ASSERT_TRUE(SaveImage(folder / "a.bmp", image, 1));
    MeasureDlgState state(camera, roots);
    state.Initialise();
    EXPECT_EQ(state.thumbnails().Count(), 1);
}

TEST_F(MeasureDlgStateTest, MigratesAnOldSettingsFileBesideTheProgram)
{
    std::ofstream(roots.programFolder / "Orvane.ini") << "[Orvane]\nm_FilterIndex=3\n";
    MeasureDlgState state(camera, roots);
    state.Initialise();
    EXPECT_EQ(state.settings().m_FilterIndex, 3);
    EXPECT_TRUE(std::filesystem::exists(SettingsFile()));
    EXPECT_FALSE(std::filesystem::exists(roots.programFolder / "Orvane.ini"));
}

TEST_F(MeasureDlgStateTest, ShutdownWritesTheWholeKeySet)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    state.view().ZoomChanged(4);
    state.crossLines().lines.at(0).Show = 1;
    WindowPlacementSettings placement;
    placement.Window_Left = 10;
    placement.Window_Top = 20;
    placement.Window_Right = 910;
    placement.Window_Bottom = 720;
    placement.Window_Max = 1;
    ASSERT_TRUE(state.Shutdown(placement));
    EXPECT_EQ(camera.endCalls, 1);

    ProfileFile written;
    ASSERT_TRUE(written.Load(SettingsFile()));
    for (const std::string& key : test::kOrvaneSaveOrder) {
        EXPECT_TRUE(written.HasKey("Orvane", key)) << key;
    }
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(written.HasKey("CALIBRATION", "name_" + std::to_string(i))) << i;
        EXPECT_TRUE(written.HasKey("CALIBRATION", "bottom_" + std::to_string(i))) << i;
    }
    EXPECT_EQ(written.GetInt("CROSSLINE", "Count", 0), 1);
    EXPECT_EQ(written.GetInt("Orvane", "m_Bai", -1), 4);
    EXPECT_EQ(written.GetInt("Orvane", "Frame", -1), 300);
    EXPECT_EQ(written.GetInt("Orvane", "Window_Right", -1), 910);
    EXPECT_EQ(written.GetInt("Orvane", "Window_Max", -1), 1);
    EXPECT_EQ(written.GetString("CALIBRATION", "name_19", "", 255), "Data20");
}

TEST_F(MeasureDlgStateTest, SavedStateComesBackOnTheNextStart)
{
    {
        MeasureDlgState first(camera, roots);
        first.Initialise();
        first.view().ZoomChanged(0);
        first.settings().m_FilterIndex = 2;
        ASSERT_TRUE(first.Shutdown({}));
    }
    MeasureDlgState second(camera, roots);
    second.Initialise();
    EXPECT_EQ(second.view().zoomIndex(), 0);
    EXPECT_EQ(second.settings().m_FilterIndex, 2);
}

TEST_F(MeasureDlgStateTest, InstantSaveWritesTheTimeStampFileAndItsThumbnail)
{
    MeasureDlgState state(camera, roots);
    state.Initialise();
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_hour = 3;
    t.tm_min = 4;
    t.tm_sec = 5;
    const std::filesystem::path saved = state.InstantSave(t);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.filename(), "20240102030405.bmp");
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_EQ(state.thumbnails().Count(), 1);
    // The same second again replaces the file and keeps one thumbnail.
    EXPECT_EQ(state.InstantSave(t), saved);
    EXPECT_EQ(state.thumbnails().Count(), 1);

    state.settings().m_FilterIndex = 9;
    EXPECT_TRUE(state.InstantSave(t).empty());
}

TEST_F(MeasureDlgStateTest, CornerButtonsFlipThePanelsAndAskForRepaint)
{
    MeasureDlgState state(camera, roots);
    state.ToggleRightPanel();
    EXPECT_FALSE(state.rightPanelShown());
    EXPECT_TRUE(state.repaintPending());
    state.ToggleBottomPanel();
    EXPECT_FALSE(state.bottomPanelShown());
    state.ToggleRightPanel();
    EXPECT_TRUE(state.rightPanelShown());
}

} // namespace
} // namespace orvane
