#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Whole-file read bounded by the file's size and by `maxBytes`; nothing when
// the file is missing, unreadable, larger than maxBytes or changes size while read.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                                     std::size_t maxBytes);

// The steps of an AtomicFile that reach the disk, in order: every write of
// the stream's buffer, the sync, the rename over the target.
enum class AtomicFileStep { Write, Sync, Rename };

// Test hook: called before each such step of every AtomicFile; returning
// false makes that step fail as a full disk would (ENOSPC). nullptr (the
// default) removes it. Set it only while no file is being written.
using AtomicFileFaultHook = bool (*)(AtomicFileStep step);
void SetAtomicFileFaultHook(AtomicFileFaultHook hook);

// A file written through a temporary file in the target's folder and renamed
// over the target by Commit(); destroyed without Commit(), it leaves the
// target untouched and removes the temporary file.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Creates the temporary file; false when the folder is not writable.
    bool Open();
    // The open stream (for C libraries that write to FILE*), null before Open.
    [[nodiscard]] std::FILE* stream() const { return m_stream; }
    bool Write(std::span<const std::uint8_t> bytes);
    bool Write(std::string_view text);
    // Flushes, syncs and renames into place; false (target untouched) on any error.
    bool Commit();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::FILE* m_stream = nullptr;
    int m_fd = -1; // beneath m_stream, closed with it
    bool m_failed = false;
};

// The system's text for the reason the last AtomicFile of this thread failed
// ("Permission denied", "No space left on device"), so that a failed save can
// tell the operator why; empty when none failed since ClearLastFileError().
[[nodiscard]] std::string LastFileError();
void ClearLastFileError();

// Open, Write, Commit in one call.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text);

}  // namespace orvane
