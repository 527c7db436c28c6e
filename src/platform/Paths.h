#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace orvane {

// The roots the per-user folders are derived from. FromEnvironment() reads
// the real ones; tests pass their own so that they never touch a real home.
struct PathRoots {
    std::filesystem::path home;          // $HOME, else the password database; may be empty
    std::filesystem::path configHome;    // $XDG_CONFIG_HOME when absolute; empty means home/.config
    std::filesystem::path programFolder; // the executable's folder, no trailing separator

    [[nodiscard]] static PathRoots FromEnvironment();
};

// The folder of the running executable (from /proc/self/exe); empty when unknown.
[[nodiscard]] std::filesystem::path ProgramFolder();

// $XDG_CONFIG_HOME, else ~/.config; empty when there is no home either.
[[nodiscard]] std::filesystem::path ConfigHome(const PathRoots& roots);

// XDG_DOCUMENTS_DIR of ConfigHome/user-dirs.dirs ("$HOME/..." or absolute),
// else ~/Documents; given only when the folder exists or could be created.
[[nodiscard]] std::optional<std::filesystem::path> DocumentsFolder(const PathRoots& roots);

// ConfigHome/QMC/Orvane.ini, creating ConfigHome/QMC; when that folder cannot
// be had, Orvane.ini in the program folder.
[[nodiscard]] std::filesystem::path ComputeSettingsPath(const PathRoots& roots);

// The default parent of the image and results folders, to which "bmp" and
// "result" are appended as text. With a documents folder: Documents/QMC/Orvane/
// (created, with a trailing '/'). Without one: the program folder WITHOUT a
// trailing separator, so the defaults become e.g. "/opt/appbmp" and
// "/opt/appresult" beside the program folder, as stored settings of the
// original program expect. A program in "/" keeps the "/" so that the
// defaults never become relative paths.
[[nodiscard]] std::string ComputeDataFolder(const PathRoots& roots);

enum class MigrationResult {
    SettingsExist, // a file is already at the settings path: nothing done
    NoOldFile,     // no Orvane.ini in the program folder
    Migrated,      // copied, and the old file deleted
    OldFileKept,   // copied, but the old file could not be deleted
    CopyFailed,    // nothing copied (the old file stays)
};

// Moves an Orvane.ini kept beside the program to `settingsPath` when there is
// no file there yet: copied without overwriting, the old file deleted only
// after a complete copy.
MigrationResult MigrateOldSettingsFile(const std::filesystem::path& settingsPath,
                                       const std::filesystem::path& programFolder);

} // namespace orvane
