#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include <unistd.h>

// Shared by the fuzz targets: a private folder for the readers that take a
// path, and a loud stop when a round trip does not hold.
namespace orvane::fuzz {

// A folder of this process, made at first use and removed at exit.
inline const std::filesystem::path& WorkFolder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        static const std::filesystem::path made(pattern);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return made;
    }();
    return folder;
}

inline void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::abort();
    }
    std::fclose(file);
}

// A broken promise of the code under test: report and crash, so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(std::string_view what)
{
    std::fprintf(stderr, "round trip broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

} // namespace orvane::fuzz
