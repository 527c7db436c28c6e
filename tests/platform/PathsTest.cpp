#include "platform/Paths.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace orvane {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// A fake home with a program folder beside it.
struct Roots {
    TempDir dir;
    PathRoots roots;
    Roots()
    {
        roots.home = dir / "home";
        roots.programFolder = dir / "opt" / "app";
        std::filesystem::create_directories(roots.home);
        std::filesystem::create_directories(roots.programFolder);
    }
};

TEST(Paths, ConfigHomePrefersXdgConfigHome)
{
    Roots r;
    EXPECT_EQ(ConfigHome(r.roots), r.roots.home / ".config");
    r.roots.configHome = r.dir / "cfg";
    EXPECT_EQ(ConfigHome(r.roots), r.dir / "cfg");
    EXPECT_TRUE(ConfigHome(PathRoots{}).empty());
}

TEST(Paths, SettingsPathInConfigHomeCreatesFolder)
{
    Roots r;
    const auto path = ComputeSettingsPath(r.roots);
    EXPECT_EQ(path, r.roots.home / ".config" / "QMC" / "Orvane.ini");
    EXPECT_TRUE(std::filesystem::is_directory(r.roots.home / ".config" / "QMC"));
}

TEST(Paths, SettingsPathFallsBackToProgramFolder)
{
    Roots r;
    WriteBytes(r.dir / "cfgfile", "x"); // a file where the config folder should be
    r.roots.configHome = r.dir / "cfgfile";
    EXPECT_EQ(ComputeSettingsPath(r.roots), r.roots.programFolder / "Orvane.ini");
    r.roots.configHome.clear();
    r.roots.home.clear();
    EXPECT_EQ(ComputeSettingsPath(r.roots), r.roots.programFolder / "Orvane.ini");
}

TEST(Paths, DocumentsDefaultIsCreatedUnderHome)
{
    Roots r;
    const auto documents = DocumentsFolder(r.roots);
    ASSERT_TRUE(documents.has_value());
    EXPECT_EQ(*documents, r.roots.home / "Documents");
    EXPECT_TRUE(std::filesystem::is_directory(*documents));
}

TEST(Paths, DocumentsFromUserDirs)
{
    Roots r;
    std::filesystem::create_directories(r.roots.home / ".config");
    WriteBytes(r.roots.home / ".config" / "user-dirs.dirs",
               "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_DOCUMENTS_DIR = \"$HOME/Dokumente \\\"x\\\"\"\n");
    EXPECT_EQ(DocumentsFolder(r.roots), r.roots.home / "Dokumente \"x\"");

    WriteBytes(r.roots.home / ".config" / "user-dirs.dirs",
               "XDG_DOCUMENTS_DIR=\"" + (r.dir / "abs" / "docs").string() + "\"\n");
    EXPECT_EQ(DocumentsFolder(r.roots), r.dir / "abs" / "docs");

    // Relative and unknown forms are invalid and leave the default.
    WriteBytes(r.roots.home / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"relative/docs\"\n");
    EXPECT_EQ(DocumentsFolder(r.roots), r.roots.home / "Documents");
    WriteBytes(r.roots.home / ".config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOMEX/d\"\n");
    EXPECT_EQ(DocumentsFolder(r.roots), r.roots.home / "Documents");
}

TEST(Paths, DataFolderUnderDocumentsEndsWithSlash)
{
    Roots r;
    const std::string folder = ComputeDataFolder(r.roots);
    EXPECT_EQ(folder, (r.roots.home / "Documents" / "QMC" / "Orvane").string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(folder + "bmp", (r.roots.home / "Documents" / "QMC" / "Orvane" / "bmp").string());
}

TEST(Paths, DataFolderWithoutDocumentsIsProgramFolderWithoutSeparator)
{
    Roots r;
    WriteBytes(r.roots.home / "Documents", "a file, not a folder");
    const std::string folder = ComputeDataFolder(r.roots);
    EXPECT_EQ(folder, r.roots.programFolder.string());
    // The defaults are then siblings of the program folder, named by plain concatenation.
    EXPECT_EQ(folder + "bmp", (r.dir / "opt" / "appbmp").string());
    EXPECT_EQ(folder + "result", (r.dir / "opt" / "appresult").string());

    r.roots.home.clear();
    r.roots.programFolder = "/opt/app/";
    EXPECT_EQ(ComputeDataFolder(r.roots) + "bmp", "/opt/appbmp");
    r.roots.programFolder = "/";
    EXPECT_EQ(ComputeDataFolder(r.roots) + "bmp", "/bmp");
}

TEST(Paths, ProgramFolderIsTheTestBinarysFolder)
{
    const auto folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::exists(folder / "orvane_platform_tests"));
}

TEST(Migration, MovesOldFileWhenNoSettingsExist)
{
    Roots r;
    WriteBytes(r.roots.programFolder / "Orvane.ini", "[Orvane]\nm_Bai=4\n");
    const auto settings = ComputeSettingsPath(r.roots);
    EXPECT_EQ(MigrateOldSettingsFile(settings, r.roots.programFolder), MigrationResult::Migrated);
    EXPECT_EQ(ReadBytes(settings), "[Orvane]\nm_Bai=4\n");
    EXPECT_FALSE(std::filesystem::exists(r.roots.programFolder / "Orvane.ini"));
}

TEST(Migration, NeverOverwritesExistingSettings)
{
    Roots r;
    WriteBytes(r.roots.programFolder / "Orvane.ini", "old");
    const auto settings = ComputeSettingsPath(r.roots);
    WriteBytes(settings, "current");
    EXPECT_EQ(MigrateOldSettingsFile(settings, r.roots.programFolder), MigrationResult::SettingsExist);
    EXPECT_EQ(ReadBytes(settings), "current");
    EXPECT_EQ(ReadBytes(r.roots.programFolder / "Orvane.ini"), "old");
}

TEST(Migration, NothingToDoWithoutOldFile)
{
    Roots r;
    const auto settings = ComputeSettingsPath(r.roots);
    EXPECT_EQ(MigrateOldSettingsFile(settings, r.roots.programFolder), MigrationResult::NoOldFile);
    EXPECT_FALSE(std::filesystem::exists(settings));
}

TEST(Migration, FailedCopyKeepsOldFile)
{
    Roots r;
    WriteBytes(r.roots.programFolder / "Orvane.ini", "old");
    WriteBytes(r.dir / "blocker", "x");
    EXPECT_EQ(MigrateOldSettingsFile(r.dir / "blocker" / "Orvane.ini", r.roots.programFolder),
              MigrationResult::CopyFailed);
    EXPECT_EQ(ReadBytes(r.roots.programFolder / "Orvane.ini"), "old");
}

} // namespace
} // namespace orvane
