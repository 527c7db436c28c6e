#include "platform/FileLock.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>

#include "platform/Log.h"

namespace orvane {
namespace {

inline constexpr log::Logger kLog{"orvane.platform"};

constexpr std::size_t kMaxDeviceNameChars = 150;

// Lock files may sit in a world-writable folder: never follow a planted
// symbolic link. flock() needs no write access, so a file another user
// created is opened read-only.
int OpenLockFile(const std::filesystem::path& path)
{
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
        kLog.Warning("cannot open the lock file " + path.string() + ": " + std::system_category().message(errno));
    }
    return fd;
}

std::uint32_t Fnv1a(std::string_view text)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
    }
    return hash;
}

} // namespace

FileLock::FileLock(FileLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1))
{
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        Unlock();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileLock::~FileLock()
{
    Unlock();
}

bool FileLock::TryLock(const std::filesystem::path& lockFile)
{
    return Acquire(lockFile, std::chrono::milliseconds(0));
}

bool FileLock::Lock(const std::filesystem::path& lockFile, std::chrono::milliseconds timeout)
{
    return Acquire(lockFile, timeout);
}

void FileLock::Unlock()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

bool FileLock::Acquire(const std::filesystem::path& lockFile, std::chrono::milliseconds timeout)
{
    Unlock();
    const int fd = OpenLockFile(lockFile);
    if (fd < 0) {
        return false;
    }
    // flock() has no time-out of its own: poll with a short, growing pause.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            kLog.Warning("cannot lock " + lockFile.string() + ": " + std::system_category().message(errno));
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    ::close(fd);
    return false;
}

std::filesystem::path SingleInstanceLockPath()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
        std::error_code error;
        if (std::filesystem::is_directory(runtime, error)) {
            return std::filesystem::path(runtime) / "Orvane.lock";
        }
    }
    return "/tmp/Orvane-" + std::to_string(::getuid()) + ".lock";
}

FileLock TryLockSingleInstance(const std::filesystem::path& lockFile)
{
    FileLock lock;
    lock.TryLock(lockFile);
    return lock;
}

std::filesystem::path DeviceLockPath(std::string_view deviceName, const std::filesystem::path& folder)
{
    std::string name;
    for (const char c : deviceName.substr(0, kMaxDeviceNameChars)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_';
        name += plain ? c : '_';
    }
    if (deviceName.size() > kMaxDeviceNameChars) {
        name += "_" + std::to_string(Fnv1a(deviceName));
    }
    return folder / ("5U87xCtl_" + name + ".lock");
}

FileLock LockDevice(std::string_view deviceName, std::chrono::milliseconds timeout, const std::filesystem::path& folder)
{
    FileLock lock;
    lock.Lock(DeviceLockPath(deviceName, folder), timeout);
    return lock;
}

} // namespace orvane
