#include "platform/FileIo.h"

#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempDir.h"

namespace orvane {
namespace {

using test::CountOtherEntries;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string AsString(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

TEST(ReadWholeFile, ReadsWholeFileWithinLimit)
{
    TempDir dir;
    WriteBytes(dir / "a.bin", std::string("ab\0cd", 5));
    const auto bytes = ReadWholeFile(dir / "a.bin", 5);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(AsString(*bytes), std::string("ab\0cd", 5));
}

TEST(ReadWholeFile, EmptyFileGivesEmptyContent)
{
    TempDir dir;
    WriteBytes(dir / "empty", "");
    const auto bytes = ReadWholeFile(dir / "empty", 10);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->empty());
}

TEST(ReadWholeFile, RefusesFileLargerThanLimit)
{
    TempDir dir;
    WriteBytes(dir / "big", "123456");
    EXPECT_FALSE(ReadWholeFile(dir / "big", 5).has_value());
}

TEST(ReadWholeFile, RefusesMissingFileAndFolder)
{
    TempDir dir;
    EXPECT_FALSE(ReadWholeFile(dir / "missing", 100).has_value());
    EXPECT_FALSE(ReadWholeFile(dir.path(), 100).has_value());
}

TEST(ReadWholeFile, RefusesFilesWithoutAKnownSize)
{
    // /proc files report size 0 but produce data: a bounded read must not
    // return a truncated or empty copy as if it were complete.
    EXPECT_FALSE(ReadWholeFile("/proc/self/status", 1 << 20).has_value());
}

TEST(ReadWholeFile, RefusesFifoWithoutHanging)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadWholeFile(dir / "fifo", 100).has_value());
}

TEST(AtomicFile, CommitReplacesTargetAndLeavesNoTemporary)
{
    TempDir dir;
    WriteBytes(dir / "t.ini", "old");
    {
        AtomicFile file(dir / "t.ini");
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write(std::string_view("new ")));
        ASSERT_TRUE(file.Write(std::string_view("content")));
        EXPECT_EQ(ReadBytes(dir / "t.ini"), "old"); // untouched until Commit
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadBytes(dir / "t.ini"), "new content");
    EXPECT_EQ(CountOtherEntries(dir.path(), "t.ini"), 0);
}

TEST(AtomicFile, WithoutCommitTargetIsUntouchedAndTemporaryRemoved)
{
    TempDir dir;
    WriteBytes(dir / "t.ini", "old");
    {
        AtomicFile file(dir / "t.ini");
        ASSERT_TRUE(file.Open());
        ASSERT_NE(file.stream(), nullptr);
        std::fputs("half written", file.stream());
        EXPECT_EQ(CountOtherEntries(dir.path(), "t.ini"), 1);
    }
    EXPECT_EQ(ReadBytes(dir / "t.ini"), "old");
    EXPECT_EQ(CountOtherEntries(dir.path(), "t.ini"), 0);
}

TEST(AtomicFile, OpenFailsWhenFolderCannotHoldFiles)
{
    TempDir dir;
    WriteBytes(dir / "plainfile", "x");
    AtomicFile file(dir / "plainfile" / "t.ini");
    EXPECT_FALSE(file.Open());
    EXPECT_EQ(file.stream(), nullptr);
    EXPECT_FALSE(file.Write(std::string_view("x")));
    EXPECT_FALSE(file.Commit());
}

TEST(AtomicFile, NewFileGetsUmaskPermissions)
{
    TempDir dir;
    const mode_t old = ::umask(022);
    const bool written = WriteFileAtomically(dir / "new.txt", std::string_view("x"));
    ::umask(old);
    ASSERT_TRUE(written);
    struct stat info {};
    ASSERT_EQ(::stat((dir / "new.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(AtomicFile, ExistingFileKeepsItsPermissions)
{
    TempDir dir;
    WriteBytes(dir / "t.ini", "old");
    ASSERT_EQ(::chmod((dir / "t.ini").c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomically(dir / "t.ini", std::string_view("new")));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "t.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(AtomicFile, WritesThroughSymbolicLink)
{
    TempDir dir;
    WriteBytes(dir / "real.ini", "old");
    std::filesystem::create_symlink(dir / "real.ini", dir / "link.ini");
    ASSERT_TRUE(WriteFileAtomically(dir / "link.ini", std::string_view("new")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadBytes(dir / "real.ini"), "new");
}

TEST(WriteFileAtomically, WritesBytes)
{
    TempDir dir;
    const std::vector<std::uint8_t> bytes{0, 1, 2, 255};
    ASSERT_TRUE(WriteFileAtomically(dir / "b.bin", bytes));
    const auto back = ReadWholeFile(dir / "b.bin", 4);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, bytes);
}

} // namespace
} // namespace orvane
