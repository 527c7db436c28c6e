#include "platform/FileLock.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "TempDir.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::TempDir;

TEST(FileLock, SecondHolderIsRefusedUntilFirstUnlocks)
{
    TempDir dir;
    FileLock first;
    FileLock second;
    ASSERT_TRUE(first.TryLock(dir / "a.lock"));
    EXPECT_TRUE(first.locked());
    EXPECT_FALSE(second.TryLock(dir / "a.lock"));
    EXPECT_FALSE(second.locked());
    EXPECT_TRUE(second.TryLock(dir / "other.lock"));
    first.Unlock();
    EXPECT_TRUE(second.TryLock(dir / "a.lock"));
}

TEST(FileLock, DestructionAndMoveKeepTheRightOwner)
{
    TempDir dir;
    FileLock outer;
    {
        FileLock inner;
        ASSERT_TRUE(inner.TryLock(dir / "a.lock"));
        outer = std::move(inner);
        EXPECT_FALSE(inner.locked());
    }
    FileLock probe;
    EXPECT_FALSE(probe.TryLock(dir / "a.lock")); // the moved-to object still holds it
    outer = FileLock();
    EXPECT_TRUE(probe.TryLock(dir / "a.lock"));
}

TEST(FileLock, LockTimesOutWhileHeld)
{
    TempDir dir;
    FileLock holder;
    ASSERT_TRUE(holder.TryLock(dir / "a.lock"));
    FileLock waiter;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(waiter.Lock(dir / "a.lock", 60ms));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 60ms);
    EXPECT_LT(waited, 2s);
}

TEST(FileLock, LockWaitsForRelease)
{
    TempDir dir;
    FileLock holder;
    ASSERT_TRUE(holder.TryLock(dir / "a.lock"));
    std::thread releaser([&holder] {
        std::this_thread::sleep_for(50ms);
        holder.Unlock();
    });
    FileLock waiter;
    EXPECT_TRUE(waiter.Lock(dir / "a.lock", 5s));
    releaser.join();
}

TEST(FileLock, KernelReleasesLockOfDeadProcess)
{
    TempDir dir;
    const auto path = dir / "a.lock";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileLock lock;
        const char state = lock.TryLock(path) ? 'y' : 'n';
        (void)!::write(ready[1], &state, 1);
        ::pause(); // killed by the parent while holding the lock
        ::_exit(0);
    }
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, 'y');
    FileLock parent;
    EXPECT_FALSE(parent.TryLock(path));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(parent.Lock(path, 2s));
}

TEST(FileLock, RefusesPlantedSymbolicLink)
{
    TempDir dir;
    test::WriteBytes(dir / "victim", "keep");
    std::filesystem::create_symlink(dir / "victim", dir / "a.lock");
    FileLock lock;
    EXPECT_FALSE(lock.TryLock(dir / "a.lock"));
    EXPECT_EQ(test::ReadBytes(dir / "victim"), "keep");
}

TEST(SingleInstance, OnlyOneInstanceHoldsTheLock)
{
    TempDir dir;
    FileLock first = TryLockSingleInstance(dir / "Orvane.lock");
    EXPECT_TRUE(first.locked());
    EXPECT_TRUE(std::filesystem::exists(dir / "Orvane.lock"));
    FileLock second = TryLockSingleInstance(dir / "Orvane.lock");
    EXPECT_FALSE(second.locked());
    first.Unlock();
    EXPECT_TRUE(TryLockSingleInstance(dir / "Orvane.lock").locked());
}

TEST(SingleInstance, LockFileIsPerUser)
{
    TempDir dir;
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    const auto inRuntime = SingleInstanceLockPath();
    ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    const auto fallback = SingleInstanceLockPath();
    if (old != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    EXPECT_EQ(inRuntime, dir / "Orvane.lock");
    EXPECT_EQ(fallback, std::filesystem::path("/tmp/Orvane-" + std::to_string(::getuid()) + ".lock"));
}

TEST(DeviceLock, NameIsSanitized)
{
    EXPECT_EQ(DeviceLockPath("USB\\VID_12C1&PID_5020\\6&1a2b3c&0&2", "/run/x"),
              std::filesystem::path("/run/x/5U87xCtl_USB_VID_12C1_PID_5020_6_1a2b3c_0_2.lock"));
    EXPECT_EQ(DeviceLockPath("../../etc/passwd", "/tmp"), std::filesystem::path("/tmp/5U87xCtl_.._.._etc_passwd.lock"));
    EXPECT_EQ(DeviceLockPath("/dev/video0", "/tmp").parent_path(), std::filesystem::path("/tmp"));
}

TEST(DeviceLock, LongNamesStayDistinct)
{
    const std::string base(300, 'a');
    const auto first = DeviceLockPath(base + "1", "/tmp");
    const auto second = DeviceLockPath(base + "2", "/tmp");
    EXPECT_NE(first, second);
    EXPECT_LT(first.filename().string().size(), 200u);
}

TEST(DeviceLock, SerialisesOneDevice)
{
    TempDir dir;
    FileLock held = LockDevice("/dev/video0", 0ms, dir.path());
    ASSERT_TRUE(held.locked());
    EXPECT_FALSE(LockDevice("/dev/video0", 20ms, dir.path()).locked());
    EXPECT_TRUE(LockDevice("/dev/video1", 0ms, dir.path()).locked());
}

} // namespace
} // namespace orvane
