#include "platform/Paths.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <unistd.h>
#include <vector>

#include <system_error>

#include "platform/FileIo.h"
#include "platform/Log.h"

namespace orvane {
namespace {

inline constexpr log::Logger kLog{"orvane.platform"};

constexpr const char* kSettingsName = "Orvane.ini";
constexpr std::size_t kMaxUserDirsBytes = 64 * 1024;
constexpr std::size_t kMaxSettingsBytes = 16u << 20;

bool IsFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// True when the folder exists or was created (with its missing parents).
bool EnsureFolder(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return IsFolder(path);
}

std::string_view SkipBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The value of a user-dirs.dirs line `NAME="value"` with the shell escapes
// \" \\ \$ \` undone; nothing when the line is for another name or malformed.
std::optional<std::string> UserDirValue(std::string_view line, std::string_view name)
{
    line = SkipBlanks(line);
    if (!line.starts_with(name)) {
        return std::nullopt;
    }
    line = SkipBlanks(line.substr(name.size()));
    if (!line.starts_with('=')) {
        return std::nullopt;
    }
    line = SkipBlanks(line.substr(1));
    if (!line.starts_with('"')) {
        return std::nullopt;
    }
    std::string value;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            value += line[++i];
        } else if (line[i] == '"') {
            return value;
        } else {
            value += line[i];
        }
    }
    return std::nullopt; // no closing quote
}

// XDG_DOCUMENTS_DIR as an absolute path, when user-dirs.dirs names one.
std::optional<std::filesystem::path> ConfiguredDocuments(const PathRoots& roots)
{
    const std::filesystem::path configHome = ConfigHome(roots);
    if (configHome.empty()) {
        return std::nullopt;
    }
    const auto bytes = ReadWholeFile(configHome / "user-dirs.dirs", kMaxUserDirsBytes);
    if (!bytes) {
        return std::nullopt;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    std::optional<std::filesystem::path> found;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const auto value = UserDirValue(line, "XDG_DOCUMENTS_DIR");
        if (!value) {
            continue;
        }
        // Only "$HOME/..." and absolute paths are valid; the last valid line wins, as in a shell.
        if (value->starts_with("$HOME") && (value->size() == 5 || (*value)[5] == '/') && !roots.home.empty()) {
            const std::filesystem::path below = std::filesystem::path(value->substr(5)).relative_path();
            found = below.empty() ? roots.home : roots.home / below;
        } else if (value->starts_with('/')) {
            found = std::filesystem::path(*value);
        }
    }
    return found;
}

// Writes `bytes` to a new file at `target`, never replacing an existing one;
// a partial copy is removed.
bool CreateNewFile(const std::filesystem::path& target, const std::vector<std::uint8_t>& bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        kLog.Warning("cannot create " + target.string() + ": " + std::system_category().message(errno));
        return false;
    }
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        ok = wrote > 0;
        if (ok) {
            done += static_cast<std::size_t>(wrote);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(target.c_str());
    }
    return ok;
}

} // namespace

PathRoots PathRoots::FromEnvironment()
{
    PathRoots roots;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        roots.home = home;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        roots.home = entry->pw_dir;
    }
    // Relative values are invalid and ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
        roots.configHome = config;
    }
    roots.programFolder = ProgramFolder();
    return roots;
}

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path ConfigHome(const PathRoots& roots)
{
    if (!roots.configHome.empty()) {
        return roots.configHome;
    }
    return roots.home.empty() ? std::filesystem::path() : roots.home / ".config";
}

std::optional<std::filesystem::path> DocumentsFolder(const PathRoots& roots)
{
    std::optional<std::filesystem::path> documents = ConfiguredDocuments(roots);
    if (!documents) {
        if (roots.home.empty()) {
            return std::nullopt;
        }
        documents = roots.home / "Documents";
    }
    if (!EnsureFolder(*documents)) {
        return std::nullopt;
    }
    return documents;
}

std::filesystem::path ComputeSettingsPath(const PathRoots& roots)
{
    const std::filesystem::path configHome = ConfigHome(roots);
    if (!configHome.empty()) {
        const std::filesystem::path folder = configHome / "QMC";
        if (EnsureFolder(folder)) {
            return folder / kSettingsName;
        }
        kLog.Warning("cannot create " + folder.string() + "; the settings are kept beside the program");
    }
    return roots.programFolder / kSettingsName;
}

std::string ComputeDataFolder(const PathRoots& roots)
{
    if (const auto documents = DocumentsFolder(roots)) {
        const std::filesystem::path folder = *documents / "QMC" / "Orvane";
        // As before, the path is used even when it cannot be created; saving
        // into it then fails and is reported where it happens.
        EnsureFolder(folder);
        return folder.string() + "/";
    }
    std::string folder = roots.programFolder.string();
    while (folder.size() > 1 && folder.ends_with('/')) {
        folder.pop_back();
    }
    return folder;
}

MigrationResult MigrateOldSettingsFile(const std::filesystem::path& settingsPath,
                                       const std::filesystem::path& programFolder)
{
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(settingsPath, error))) {
        return MigrationResult::SettingsExist;
    }
    const std::filesystem::path oldFile = programFolder / kSettingsName;
    if (!std::filesystem::is_regular_file(oldFile, error)) {
        return MigrationResult::NoOldFile;
    }
    const auto bytes = ReadWholeFile(oldFile, kMaxSettingsBytes);
    if (!bytes || !CreateNewFile(settingsPath, *bytes)) {
        kLog.Warning("cannot move the old settings file " + oldFile.string() + " to " + settingsPath.string());
        return MigrationResult::CopyFailed;
    }
    if (!std::filesystem::remove(oldFile, error)) {
        kLog.Info("the old settings file " + oldFile.string() + " was copied but could not be deleted");
        return MigrationResult::OldFileKept;
    }
    kLog.Info("moved the settings file from " + oldFile.string() + " to " + settingsPath.string());
    return MigrationResult::Migrated;
}

} // namespace orvane
