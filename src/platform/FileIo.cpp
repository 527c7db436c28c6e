#include "platform/FileIo.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>

#include <sys/stat.h>
#include <system_error>

#include "platform/Log.h"

namespace orvane {
namespace {

inline constexpr log::Logger kLog{"orvane.platform"};

std::string ErrnoText(int error)
{
    return std::system_category().message(error);
}

thread_local std::string t_lastFileError;

void NoteFileError(int error)
{
    t_lastFileError = ErrnoText(error != 0 ? error : EIO);
}

// Closes a descriptor on scope exit.
class FdGuard {
public:
    explicit FdGuard(int fd) : m_fd(fd) {}
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    ~FdGuard()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads up to `size` bytes, retrying on EINTR; returns the count read or -1.
ssize_t ReadFully(int fd, std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, data + done, size - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

// Writing through a symbolic link replaces the file it points to, not the link.
std::filesystem::path ResolveTarget(const std::filesystem::path& target)
{
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, error))) {
        auto resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) {
            return resolved;
        }
    }
    return target;
}

std::string RandomSuffix()
{
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kChars) - 2);
    std::string suffix(8, 'x');
    for (char& c : suffix) {
        c = kChars[pick(generator)];
    }
    return suffix;
}

std::atomic<AtomicFileFaultHook> g_faultHook{nullptr};

// False when the test hook makes this step fail; errno is then ENOSPC.
bool StepAllowed(AtomicFileStep step)
{
    const AtomicFileFaultHook hook = g_faultHook.load();
    if (hook != nullptr && !hook(step)) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

// The stream of an AtomicFile writes through these, so that every write that
// reaches the disk (also those of C libraries handed the FILE*) passes the
// hook. A failed write answers 0: glibc's cookie streams take no negative count.
ssize_t CookieWrite(void* cookie, const char* data, std::size_t size)
{
    if (!StepAllowed(AtomicFileStep::Write)) {
        return 0;
    }
    const int fd = *static_cast<int*>(cookie);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return static_cast<ssize_t>(done);
        }
        done += static_cast<std::size_t>(wrote);
    }
    return static_cast<ssize_t>(done);
}

int CookieClose(void* cookie)
{
    const int fd = *static_cast<int*>(cookie);
    delete static_cast<int*>(cookie);
    return ::close(fd);
}

void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes)
{
    // O_NONBLOCK: opening a FIFO must not hang; it is refused as not a regular file.
    FdGuard fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno != ENOENT) {
            kLog.Warning("cannot open " + path.string() + ": " + ErrnoText(errno));
        }
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        kLog.Warning("not a readable regular file: " + path.string());
        return std::nullopt;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > maxBytes) {
        kLog.Warning("file too large (" + std::to_string(size) + " bytes): " + path.string());
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    const ssize_t got = ReadFully(fd.get(), bytes.data(), bytes.size());
    if (got < 0) {
        kLog.Warning("cannot read " + path.string() + ": " + ErrnoText(errno));
        return std::nullopt;
    }
    // A shorter read or a byte past the recorded end means another process
    // is writing the file: refuse rather than return a torn copy.
    std::uint8_t extra = 0;
    if (static_cast<std::size_t>(got) != bytes.size() || ReadFully(fd.get(), &extra, 1) != 0) {
        kLog.Warning("file changed size while being read: " + path.string());
        return std::nullopt;
    }
    return bytes;
}

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(ResolveTarget(target))
{
}

AtomicFile::~AtomicFile()
{
    if (m_stream != nullptr) {
        std::fclose(m_stream);
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
    }
}

bool AtomicFile::Open()
{
    if (m_stream != nullptr || !m_temporary.empty() || m_target.filename().empty()) {
        return false;
    }
    std::filesystem::path folder = m_target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // Mode 0666 lets the umask decide, as for any newly created file; an
    // existing target keeps its permission bits.
    mode_t mode = 0666;
    bool keepMode = false;
    struct stat existing {};
    if (::stat(m_target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
        keepMode = true;
    }
    int fd = -1;
    int lastError = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        std::filesystem::path candidate = folder / ("." + m_target.filename().string() + "." + RandomSuffix());
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            m_temporary = std::move(candidate);
        } else {
            lastError = errno;
            if (lastError != EEXIST) {
                break;
            }
        }
    }
    if (fd < 0) {
        kLog.Warning("cannot create a temporary file for " + m_target.string() + ": " + ErrnoText(lastError));
        NoteFileError(lastError);
        return false;
    }
    if (keepMode) {
        ::fchmod(fd, mode);
    }
    static constexpr cookie_io_functions_t kFunctions{nullptr, CookieWrite, nullptr, CookieClose};
    auto* cookie = new int(fd);
    m_stream = ::fopencookie(cookie, "wb", kFunctions);
    if (m_stream == nullptr) {
        NoteFileError(errno);
        delete cookie;
        ::close(fd);
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        return false;
    }
    m_fd = fd;
    m_failed = false;
    return true;
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes)
{
    if (m_stream == nullptr) {
        return false;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_stream) != bytes.size()) {
        m_failed = true;
        NoteFileError(errno);
    }
    return !m_failed;
}

bool AtomicFile::Write(std::string_view text)
{
    return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool AtomicFile::Commit()
{
    if (m_stream == nullptr) {
        return false;
    }
    // errno of the first step that fails is the reason the operator is told.
    int error = 0;
    bool ok = !m_failed && std::ferror(m_stream) == 0;
    if (ok && std::fflush(m_stream) != 0) {
        error = errno;
        ok = false;
    }
    if (ok && (!StepAllowed(AtomicFileStep::Sync) || ::fsync(m_fd) != 0)) {
        error = errno;
        ok = false;
    }
    if (std::fclose(m_stream) != 0 && ok) {
        error = errno;
        ok = false;
    }
    m_stream = nullptr;
    m_fd = -1;
    if (ok && (!StepAllowed(AtomicFileStep::Rename) || ::rename(m_temporary.c_str(), m_target.c_str()) != 0)) {
        error = errno;
        kLog.Warning("cannot replace " + m_target.string() + ": " + ErrnoText(error));
        ok = false;
    }
    if (!ok && error != 0) {
        NoteFileError(error);
    } else if (!ok && t_lastFileError.empty()) {
        NoteFileError(EIO);
    }
    if (!ok) {
        kLog.Warning("writing " + m_target.string() + " failed; the old file is left as it was");
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        return false;
    }
    m_temporary.clear();
    const std::filesystem::path folder = m_target.parent_path();
    SyncFolder(folder.empty() ? std::filesystem::path(".") : folder);
    return true;
}

std::string LastFileError()
{
    return t_lastFileError;
}

void ClearLastFileError()
{
    t_lastFileError.clear();
}

void SetAtomicFileFaultHook(AtomicFileFaultHook hook)
{
    g_faultHook.store(hook);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    AtomicFile file(path);
    return file.Open() && file.Write(bytes) && file.Commit();
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text)
{
    AtomicFile file(path);
    return file.Open() && file.Write(text) && file.Commit();
}

} // namespace orvane
