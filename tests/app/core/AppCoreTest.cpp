#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/core/AppTexts.h"
#include "app/core/CommandLine.h"
#include "app/core/InitCameraSearch.h"
#include "app/core/InstantSaveName.h"
#include "app/core/KeyActions.h"

namespace orvane {
namespace {

// --- Title -----------------------------------------------------------------

struct TitleCase {
    bool frozen;
    const char* caption;
    double fps;
    const char* expected;
};

class WindowTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(WindowTitleTest, FormatsLiveAndFrozenTitles)
{
    const TitleCase& c = GetParam();
    EXPECT_EQ(WindowTitle(c.frozen, c.caption, c.fps), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Titles, WindowTitleTest,
                         ::testing::Values(TitleCase{false, "USB Camera", 29.97, "USB Camera 30.0fps"},
                                           TitleCase{false, "DORVEX-210QX4", 7.04, "DORVEX-210QX4 7.0fps"},
                                           TitleCase{false, "", 0.0, " 0.0fps"},
                                           TitleCase{false, "Cam", std::numeric_limits<double>::quiet_NaN(),
                                                     "Cam 0.0fps"},
                                           TitleCase{true, "USB Camera", 29.97, "Orvane Version 1.658"}));

TEST(AppTextsTest, QuitQuestionAndNotFoundInBothLanguages)
{
    EXPECT_EQ(QuitQuestion(Language::English).caption, "confirm");
    EXPECT_EQ(QuitQuestion(Language::English).text, "Do you quit the application ?");
    EXPECT_EQ(QuitQuestion(Language::Japanese).caption, "確認");
    EXPECT_EQ(QuitQuestion(Language::Japanese).text, "終了しますか？");
    EXPECT_EQ(CameraNotFoundText(Language::English), "Imageing device not found");
    EXPECT_EQ(CameraNotFoundText(Language::Japanese), "カメラが見つかりません");
    EXPECT_EQ(StringText(StringId::AlreadyStarted, Language::English), "It has already startup");
}

// --- F12 names -----------------------------------------------------------------

std::tm FixedTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

class InstantSaveNameTest : public ::testing::TestWithParam<std::tuple<int, const char*>> {};

TEST_P(InstantSaveNameTest, NameFollowsSaveType)
{
    const auto [type, expected] = GetParam();
    EXPECT_EQ(InstantSaveFileName(FixedTime(2024, 3, 7, 9, 5, 1), type), expected);
}

INSTANTIATE_TEST_SUITE_P(SaveTypes, InstantSaveNameTest,
                         ::testing::Values(std::make_tuple(1, "20240307090501.bmp"),
                                           std::make_tuple(2, "20240307090501.jpg"),
                                           std::make_tuple(3, "20240307090501.jpg"),
                                           std::make_tuple(4, "20240307090501.jpg"), std::make_tuple(0, ""),
                                           std::make_tuple(5, ""), std::make_tuple(-1, "")));

TEST(InstantSavePathTest, JoinsTheImageFolderAndRepeatsWithinOneSecond)
{
    const std::tm t = FixedTime(1999, 12, 31, 23, 59, 59);
    const auto first = InstantSavePath("/data/bmp", t, 3);
    EXPECT_EQ(first, std::filesystem::path("/data/bmp/19991231235959.jpg"));
    EXPECT_EQ(InstantSavePath("/data/bmp", t, 3), first);
    EXPECT_TRUE(InstantSavePath("/data/bmp", t, 7).empty());
}

// --- Keys ------------------------------------------------------------------------

struct KeyCase {
    WindowKey key;
    Language language;
    bool windowFocused;
    KeyAction expected;
    bool placing = false; // a measurement is being placed
};

class KeyActionTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyActionTest, ActsAsTheWindowShould)
{
    const KeyCase& c = GetParam();
    EXPECT_EQ(ActionForKey(c.key, c.language, c.windowFocused, c.placing), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyActionTest,
                         ::testing::Values(KeyCase{WindowKey::Escape, Language::English, true, KeyAction::AskQuit},
                                           KeyCase{WindowKey::Escape, Language::English, false, KeyAction::AskQuit},
                                           KeyCase{WindowKey::Escape, Language::Japanese, true, KeyAction::Swallow},
                                           KeyCase{WindowKey::Escape, Language::Japanese, false, KeyAction::AskQuit},
                                           KeyCase{WindowKey::Enter, Language::English, true, KeyAction::Swallow},
                                           KeyCase{WindowKey::Enter, Language::Japanese, false, KeyAction::Swallow},
                                           KeyCase{WindowKey::F11, Language::English, false, KeyAction::Live},
                                           KeyCase{WindowKey::F11, Language::Japanese, true, KeyAction::Live},
                                           KeyCase{WindowKey::F12, Language::English, false, KeyAction::InstantSave},
                                           KeyCase{WindowKey::Other, Language::English, true, KeyAction::PassOn},
                                           KeyCase{WindowKey::Escape, Language::English, false,
                                                   KeyAction::CancelMeasurement, true},
                                           KeyCase{WindowKey::Escape, Language::Japanese, true,
                                                   KeyAction::CancelMeasurement, true},
                                           KeyCase{WindowKey::Delete, Language::English, false,
                                                   KeyAction::DeleteSelection},
                                           KeyCase{WindowKey::Delete, Language::Japanese, true,
                                                   KeyAction::DeleteSelection, true}));

// --- Search dialog ------------------------------------------------------------------

TEST(InitCameraSearchTest, ReachesTheEndAfterThirtySteps)
{
    InitCameraSearch search;
    search.Restart();
    for (int step = 1; step < InitCameraSearch::kSteps; ++step) {
        ASSERT_FALSE(search.Step()) << step;
        EXPECT_EQ(search.position(), step);
    }
    EXPECT_TRUE(search.Step());
    EXPECT_EQ(search.position(), 30);
    EXPECT_FALSE(search.running());
    // The window is released so the program does not run on without one.
    EXPECT_EQ(search.showState(), ShowState::Requested);
    EXPECT_FALSE(search.Step());
    EXPECT_EQ(search.position(), 30);
}

TEST(InitCameraSearchTest, StartReleasesAndCancelEndsBeforeTheWindowWasShown)
{
    InitCameraSearch started;
    started.Restart();
    started.Start();
    EXPECT_EQ(started.showState(), ShowState::Requested);
    EXPECT_FALSE(started.running());

    InitCameraSearch cancelled;
    cancelled.Restart();
    cancelled.Cancel();
    EXPECT_EQ(cancelled.showState(), ShowState::Cancelled);
}

TEST(InitCameraSearchTest, OnceShownTheDialogOnlyClosesAndRestartsFromZero)
{
    InitCameraSearch search;
    search.SetShowState(ShowState::Shown);
    search.Restart();
    search.Step();
    search.Step();
    search.Restart();
    EXPECT_EQ(search.position(), 0);
    search.Cancel();
    EXPECT_EQ(search.showState(), ShowState::Shown);
    search.Restart();
    search.Start();
    EXPECT_EQ(search.showState(), ShowState::Shown);
}

// --- Command line ----------------------------------------------------------------------

TEST(CommandLineTest, ParsesOptionsAndOneImage)
{
    EXPECT_EQ(ParseCommandLine({}).action, CommandLine::Action::Run);
    EXPECT_EQ(ParseCommandLine({"picture.bmp", "--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).action, CommandLine::Action::Version);

    const CommandLine run = ParseCommandLine({"--demo", "a.jpg"});
    EXPECT_EQ(run.action, CommandLine::Action::Run);
    EXPECT_TRUE(run.demo);
    EXPECT_EQ(run.imageFile, "a.jpg");

    const CommandLine dashed = ParseCommandLine({"--", "--odd-name.png"});
    EXPECT_EQ(dashed.action, CommandLine::Action::Run);
    EXPECT_EQ(dashed.imageFile, "--odd-name.png");

    const CommandLine results = ParseCommandLine({"--results", "job.mes", "a.png"});
    EXPECT_EQ(results.action, CommandLine::Action::Run);
    EXPECT_EQ(results.resultsFile, "job.mes");
    EXPECT_EQ(results.imageFile, "a.png");
    EXPECT_EQ(ParseCommandLine({"a.png", "--results"}).action, CommandLine::Action::Error);

    EXPECT_EQ(ParseCommandLine({"--frobnicate"}).action, CommandLine::Action::Error);
    EXPECT_EQ(ParseCommandLine({"a.bmp", "b.bmp"}).action, CommandLine::Action::Error);
    EXPECT_NE(HelpText().find("--version"), std::string::npos);
    EXPECT_EQ(VersionText(), "Orvane Version 1.658\n");
}

} // namespace
} // namespace orvane
