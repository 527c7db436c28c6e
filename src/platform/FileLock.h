#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// An exclusive flock() on a lock file, held until Unlock() or destruction and
// released by the kernel when the process dies. Locks taken through separate
// FileLock objects conflict even inside one process and one thread (each
// opens the file on its own), so a holder must not lock the same file again.
class FileLock {
public:
    FileLock() = default;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // One attempt; false when another holder has it or the file cannot be opened.
    bool TryLock(const std::filesystem::path& lockFile);
    // Waits up to `timeout` for the lock (zero: one attempt).
    bool Lock(const std::filesystem::path& lockFile, std::chrono::milliseconds timeout);
    void Unlock();
    [[nodiscard]] bool locked() const { return m_fd >= 0; }

private:
    bool Acquire(const std::filesystem::path& lockFile, std::chrono::milliseconds timeout);

    int m_fd = -1;
};

// The single-instance lock file: "Orvane.lock" in $XDG_RUNTIME_DIR (a
// per-user folder) when that is an absolute existing folder, else
// "/tmp/Orvane-<uid>.lock" so that users do not lock each other out.
[[nodiscard]] std::filesystem::path SingleInstanceLockPath();

// The single-instance guard: one attempt, no waiting. The returned lock is
// held (locked()) when this is the only instance; keep it for the life of
// the process.
[[nodiscard]] FileLock TryLockSingleInstance(const std::filesystem::path& lockFile = SingleInstanceLockPath());

// Lock file of a device, shared by all users' processes: "5U87xCtl_<name>.lock"
// in `folder` with every character other than ASCII letters, digits, '-', '.'
// and '_' replaced by '_' (long names are cut and tagged with a hash).
[[nodiscard]] std::filesystem::path DeviceLockPath(std::string_view deviceName,
                                                   const std::filesystem::path& folder = "/tmp");

// Takes the device's lock, waiting up to `timeout`; check locked() on the result.
[[nodiscard]] FileLock LockDevice(std::string_view deviceName, std::chrono::milliseconds timeout,
                                  const std::filesystem::path& folder = "/tmp");

} // namespace orvane
