#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// An ini file with the habits of the Windows profile functions that the
// settings keys were defined with: case-insensitive section and key names,
// the first match wins, integers parsed as GetPrivateProfileInt does, a key
// written again is replaced in place (new keys go to the end of their
// section, new sections to the end of the file), unknown sections and keys
// are kept. Files are UTF-8; a UTF-16 file with a byte-order mark is read too.
// Loaded once and saved once, atomically (temporary file + rename).
//
// Not thread-safe: owned and used by one thread (the UI thread).
class ProfileFile {
public:
    // Reads the file. A missing file gives an empty profile and true; a file
    // that exists but cannot be read gives an empty profile and false.
    bool Load(const std::filesystem::path& path);
    // Parses text already in memory (tests, migration).
    void LoadFromText(std::string_view text);

    // Writes the whole profile as UTF-8 to `path` through a temporary file in
    // the same folder; the old file stays intact when writing fails.
    bool Save(const std::filesystem::path& path) const;
    [[nodiscard]] std::string ToText() const;

    // GetPrivateProfileInt: a missing key gives `defaultValue`; otherwise the
    // value's leading signed decimal number (0 when there is none).
    [[nodiscard]] int GetInt(std::string_view section, std::string_view key, int defaultValue) const;
    // GetPrivateProfileString: the value (surrounding blanks and one pair of
    // quotes removed) or `defaultValue`, cut to at most `maxChars` characters
    // (Unicode code points, never a broken UTF-8 sequence).
    [[nodiscard]] std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                        std::size_t maxChars) const;
    // A real read as text: missing key gives `defaultValue`; otherwise the
    // leading number of the text, 0.0 when there is none.
    [[nodiscard]] double GetReal(std::string_view section, std::string_view key, double defaultValue) const;

    [[nodiscard]] bool HasKey(std::string_view section, std::string_view key) const;
    [[nodiscard]] bool HasSection(std::string_view section) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInt(std::string_view section, std::string_view key, long long value); // "%d"
    void WriteReal(std::string_view section, std::string_view key, double value);   // "%f"

private:
    struct Line {
        std::string text; // the raw line as read (kept for comments and unknown content)
        std::string key;  // empty for section headers, comments and blank lines
        std::string value;
    };
    struct Section {
        std::string name;
        std::string header; // the "[name]" line as read
        std::vector<Line> lines;
    };
    static constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);

    [[nodiscard]] const std::string* FindValue(std::string_view section, std::string_view key) const;
    // Index of the first section with that name, kNoSection when there is none.
    [[nodiscard]] std::size_t FindSection(std::string_view section) const;

    std::vector<Line> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
};

} // namespace orvane
