#include <csignal>
#include <cstdio>
#include <string>

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/window/CMeasureApp.h"
#include "app/window/QuitSignals.h"
#include "platform/FileLock.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeMessageBoxes;

TEST(CMeasureAppTest, SecondInstanceIsRefusedWithTheNotice)
{
    AppTempFolder temp;
    FakeMessageBoxes boxes;
    AppEnvironment environment;
    environment.roots = temp.Roots();
    environment.lockFile = temp.path() / "Orvane.lock";
    environment.boxes = &boxes;

    CMeasureApp first(environment);
    ASSERT_TRUE(first.InitInstance());
    EXPECT_TRUE(boxes.notices.isEmpty());

    CMeasureApp second(environment);
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(boxes.notices, QStringList{"It has already startup"});
}

TEST(CMeasureAppTest, AnotherProcessHoldingTheLockRefusesToo)
{
    AppTempFolder temp;
    FakeMessageBoxes boxes;
    AppEnvironment environment;
    environment.lockFile = temp.path() / "Orvane.lock";
    environment.boxes = &boxes;
    const FileLock running = TryLockSingleInstance(environment.lockFile);
    ASSERT_TRUE(running.locked());
    CMeasureApp app(environment);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(boxes.notices.size(), 1);
}

TEST(QuitSignalsTest, TermIntAndHupArriveAsQuitRequests)
{
    QuitSignals quitSignals;
    ASSERT_TRUE(quitSignals.installed());
    QSignalSpy spy(&quitSignals, &QuitSignals::quitRequested);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        spy.clear();
        ASSERT_EQ(std::raise(signalNumber), 0);
        ASSERT_TRUE(spy.wait(2000)) << signalNumber;
        EXPECT_EQ(spy.first().first().toInt(), signalNumber);
    }
}

// The built program answers --help and --version without a display.
std::string RunProgram(const std::string& arguments, int& status)
{
    const std::string command = std::string(ORVANE_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    if (pipe == nullptr) {
        status = -1;
        return output;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    status = pclose(pipe);
    return output;
}

TEST(ProgramTest, HelpAndVersionPrintAndExit)
{
    int status = -1;
    EXPECT_NE(RunProgram("--help", status).find("Usage: orvane"), std::string::npos);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(RunProgram("--version", status), "Orvane Version 1.658\n");
    EXPECT_EQ(status, 0);
    EXPECT_NE(RunProgram("--no-such-option", status).find("unknown option"), std::string::npos);
    EXPECT_NE(status, 0);
}

} // namespace
} // namespace orvane
