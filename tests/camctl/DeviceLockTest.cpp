#include <csignal>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <linux/v4l2-controls.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

// Every library operation with the lock held elsewhere: false, no request,
// the record unchanged; with the lock free again: done.
struct Operation {
    const char* label;
    std::function<bool(c5U87xCtl&)> run;
};

class LockedDeviceTest : public ::testing::TestWithParam<Operation> {};

TEST_P(LockedDeviceTest, FailsWithoutARequestWhileHeldElsewhere)
{
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    const PropertyRecord before = *opened.library.record(200);
    ASSERT_TRUE(opened.camera->HoldDeviceLock(opened.folder.path()));
    EXPECT_FALSE(GetParam().run(opened.library));
    EXPECT_TRUE(opened.camera->TakeRequests().empty());
    EXPECT_EQ(*opened.library.record(200), before);
    opened.camera->ReleaseDeviceLock();
    EXPECT_TRUE(GetParam().run(opened.library));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, LockedDeviceTest,
    ::testing::Values(Operation{"ReadControl",
                                [](c5U87xCtl& library) {
                                    ControlReading reading;
                                    return library.ReadControl(200, reading);
                                }},
                      Operation{"WriteControl", [](c5U87xCtl& library) { return library.WriteControl(200, false, 9); }},
                      Operation{"ReadRegister",
                                [](c5U87xCtl& library) {
                                    std::uint16_t value = 0;
                                    return library.ReadRegister(0, 1, value, 2, 1);
                                }},
                      Operation{"WriteRegister",
                                [](c5U87xCtl& library) { return library.WriteRegister(0x09, 1, 5, 2, 1); }},
                      Operation{"PollChanges", [](c5U87xCtl& library) { return library.PollChanges(); }}),
    [](const auto& test) { return std::string(test.param.label); });

TEST(DeviceLock, OpenFailsWhileHeldElsewhere)
{
    test::TempDir folder;
    auto camera = std::make_shared<SimulatedCamera>();
    ASSERT_TRUE(camera->HoldDeviceLock(folder.path()));
    c5U87xCtl library(folder.path());
    EXPECT_FALSE(library.Open(camera));
    EXPECT_EQ(library.kind(), c5U87xCtl::kKindClosed);
    camera->ReleaseDeviceLock();
    EXPECT_TRUE(library.Open(camera));
}

// Two processes: the child holds the camera's lock (as another program's
// library would during an operation) until told to let go, or dies holding
// it; the parent's operations fail meanwhile and succeed afterwards.
struct ChildCase {
    const char* label;
    bool killed; // else it unlocks and exits
};

class TwoProcessTest : public ::testing::TestWithParam<ChildCase> {};

TEST_P(TwoProcessTest, TheOtherProcessHoldsTheLockUntilItLetsGo)
{
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    int locked[2];
    int release[2];
    ASSERT_EQ(::pipe(locked), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileLock lock = LockDevice(opened.camera->DeviceIdentity(), std::chrono::seconds(5), opened.folder.path());
        const char ready = lock.locked() ? 'y' : 'n';
        char go = 0;
        const bool told = ::write(locked[1], &ready, 1) == 1 && ::read(release[0], &go, 1) == 1;
        lock.Unlock();
        ::_exit(told ? 0 : 1);
    }
    char ready = 0;
    ASSERT_EQ(::read(locked[0], &ready, 1), 1);
    ASSERT_EQ(ready, 'y');
    EXPECT_FALSE(opened.library.WriteControl(200, false, 20));
    EXPECT_EQ(opened.library.record(200)->current, 0);
    if (GetParam().killed) {
        ::kill(child, SIGKILL);
    } else {
        const char go = 'g';
        EXPECT_EQ(::write(release[1], &go, 1), 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(GetParam().killed ? WIFSIGNALED(status) : WIFEXITED(status) && WEXITSTATUS(status) == 0, true);
    for (const int fd : {locked[0], locked[1], release[0], release[1]}) {
        ::close(fd);
    }
    EXPECT_TRUE(opened.library.WriteControl(200, false, 20));
    EXPECT_EQ(opened.camera->Picture().brightness, 20);
}

INSTANTIATE_TEST_SUITE_P(Endings, TwoProcessTest,
                         ::testing::Values(ChildCase{"LetsGo", false}, ChildCase{"Dies", true}),
                         [](const auto& test) { return std::string(test.param.label); });

} // namespace
} // namespace orvane
