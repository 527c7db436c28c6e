#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <linux/v4l2-controls.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

// Every library operation with the lock held elsewhere: false, no request,
// the record unchanged; with the lock free again: done.
TEST(DeviceLock, OperationsFailWithoutARequestWhileHeldElsewhere)
{
    const std::vector<std::function<bool(c5U87xCtl&)>> operations{
        [](c5U87xCtl& library) {
            ControlReading reading;
            return library.ReadControl(200, reading);
        },
        [](c5U87xCtl& library) { return library.WriteControl(200, false, 9); },
        [](c5U87xCtl& library) {
            std::uint16_t value = 0;
            return library.ReadRegister(0, 1, value, 2, 1);
        },
        [](c5U87xCtl& library) { return library.WriteRegister(0x09, 1, 5, 2, 1); },
        [](c5U87xCtl& library) { return library.PollChanges(); },
    };
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    for (std::size_t i = 0; i < operations.size(); ++i) {
        opened.camera->SetControl(V4L2_CID_BRIGHTNESS, 3); // a change the held operations must not take in
        static_cast<void>(opened.camera->TakeRequests());
        const PropertyRecord before = *opened.library.record(200);
        ASSERT_TRUE(opened.camera->HoldDeviceLock(opened.folder.path()));
        EXPECT_FALSE(operations[i](opened.library)) << i;
        EXPECT_TRUE(opened.camera->TakeRequests().empty()) << i;
        EXPECT_EQ(*opened.library.record(200), before) << i;
        opened.camera->ReleaseDeviceLock();
        EXPECT_TRUE(operations[i](opened.library)) << i;
    }

    ASSERT_TRUE(opened.camera->HoldDeviceLock(opened.folder.path()));
    EXPECT_FALSE(opened.library.Open(opened.camera));
    EXPECT_EQ(opened.library.kind(), c5U87xCtl::kKindClosed);
    opened.camera->ReleaseDeviceLock();
    EXPECT_TRUE(opened.library.Open(opened.camera));
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
