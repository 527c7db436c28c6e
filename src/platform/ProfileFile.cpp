#include "platform/ProfileFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include <system_error>

#include "platform/FileIo.h"
#include "platform/Log.h"

namespace orvane {
namespace {

inline constexpr log::Logger kLog{"orvane.platform"};

// Settings files are a few kilobytes; anything near this is not one.
constexpr std::size_t kMaxProfileBytes = 16u << 20;

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare as they are written: a line break counts as the blank that
// SingleLine stores in its place, so a name read with a carriage return finds
// the section written for it.
char NameChar(char c)
{
    if (c == '\n' || c == '\r') {
        return ' ';
    }
    return AsciiLower(c);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (NameChar(a[i]) != NameChar(b[i])) {
            return false;
        }
    }
    return true;
}

// A line break inside a name or value would split it into two lines of the
// file (and could forge keys), so it is stored as a blank.
std::string SingleLine(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return result;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// UTF-16 (after its byte-order mark) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto b0 = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto b1 = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        return bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0;
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

// The first `maxChars` characters; continuation bytes stay with their lead byte.
std::string_view CutToChars(std::string_view text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(text[i]);
        if ((byte & 0xC0) != 0x80) {
            if (chars == maxChars) {
                return text.substr(0, i);
            }
            ++chars;
        }
    }
    return text;
}

// One pair of matching surrounding quotes is removed, as the profile functions do.
std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// GetPrivateProfileInt's conversion: optional sign, "0x" for hexadecimal,
// digits up to the first non-digit, 0 when there are none. Values beyond the
// int range saturate instead of wrapping around.
int ParseProfileInt(std::string_view text)
{
    std::size_t i = text.find_first_not_of(kBlanks);
    if (i == std::string_view::npos) {
        return 0;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::uint64_t magnitude = 0;
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 32;
    for (; i < text.size(); ++i) {
        const char c = AsciiLower(text[i]);
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        }
        if (digit < 0) {
            break;
        }
        magnitude =
            std::min<std::uint64_t>(magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit), kLimit);
    }
    if (negative) {
        const auto limit = static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + 1;
        return magnitude >= limit ? std::numeric_limits<int>::min() : -static_cast<int>(magnitude);
    }
    return static_cast<int>(std::min<std::uint64_t>(magnitude, std::numeric_limits<int>::max()));
}

// The leading decimal number of the text, always with '.' as the decimal
// point whatever the locale; 0.0 when there is none or it is not finite.
double ParseLeadingReal(std::string_view text)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

} // namespace

bool ProfileFile::Load(const std::filesystem::path& path)
{
    m_preamble.clear();
    m_sections.clear();
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        return true;
    }
    const auto bytes = ReadWholeFile(path, kMaxProfileBytes);
    if (!bytes) {
        kLog.Warning("cannot read the profile " + path.string());
        return false;
    }
    LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    return true;
}

void ProfileFile::LoadFromText(std::string_view text)
{
    m_preamble.clear();
    m_sections.clear();

    std::string converted;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    } else if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        converted = Utf16ToUtf8(text.substr(2), text[0] == '\xFE');
        text = converted;
    }

    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (raw.ends_with('\r')) {
            raw.remove_suffix(1);
        }

        const std::string_view content = Trim(raw);
        if (content.starts_with('[')) {
            const auto close = content.rfind(']');
            if (close != std::string_view::npos) {
                m_sections.push_back(Section{std::string(Trim(content.substr(1, close - 1))), std::string(raw), {}});
                continue;
            }
        }
        Line line{std::string(raw), {}, {}};
        const auto equals = content.find('=');
        if (!content.starts_with(';') && equals != std::string_view::npos && equals > 0) {
            line.key = std::string(Trim(content.substr(0, equals)));
            line.value = std::string(Trim(content.substr(equals + 1)));
        }
        (m_sections.empty() ? m_preamble : m_sections.back().lines).push_back(std::move(line));
    }
}

bool ProfileFile::Save(const std::filesystem::path& path) const
{
    return WriteFileAtomically(path, std::string_view(ToText()));
}

std::string ProfileFile::ToText() const
{
    std::string text;
    for (const Line& line : m_preamble) {
        text += line.text;
        text += '\n';
    }
    for (const Section& section : m_sections) {
        text += section.header;
        text += '\n';
        for (const Line& line : section.lines) {
            text += line.text;
            text += '\n';
        }
    }
    return text;
}

const std::string* ProfileFile::FindValue(std::string_view section, std::string_view key) const
{
    const std::size_t index = FindSection(section);
    if (index == kNoSection) {
        return nullptr;
    }
    for (const Line& line : m_sections[index].lines) {
        if (!line.key.empty() && EqualsIgnoreCase(line.key, Trim(key))) {
            return &line.value;
        }
    }
    return nullptr;
}

std::size_t ProfileFile::FindSection(std::string_view section) const
{
    section = Trim(section);
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (EqualsIgnoreCase(m_sections[i].name, section)) {
            return i;
        }
    }
    return kNoSection;
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int defaultValue) const
{
    const std::string* value = FindValue(section, key);
    if (value == nullptr) {
        return defaultValue;
    }
    const std::string_view text = Unquote(*value);
    // An empty value reads as the default too: the profile functions report
    // no characters read for it.
    return text.empty() ? defaultValue : ParseProfileInt(text);
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                   std::size_t maxChars) const
{
    const std::string* value = FindValue(section, key);
    if (value == nullptr) {
        const auto last = defaultValue.find_last_not_of(' ');
        return std::string(CutToChars(defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1), maxChars));
    }
    return std::string(CutToChars(Unquote(*value), maxChars));
}

double ProfileFile::GetReal(std::string_view section, std::string_view key, double defaultValue) const
{
    const std::string* value = FindValue(section, key);
    return value == nullptr ? defaultValue : ParseLeadingReal(Unquote(*value));
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const
{
    return FindValue(section, key) != nullptr;
}

bool ProfileFile::HasSection(std::string_view section) const
{
    return FindSection(section) != kNoSection;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string sectionName = SingleLine(Trim(section));
    const std::string keyName = SingleLine(Trim(key));
    if (keyName.empty() || keyName.find('=') != std::string::npos || keyName.starts_with(';') ||
        keyName.starts_with('[')) {
        kLog.Warning("not a valid profile key: " + keyName);
        return;
    }
    const std::string valueText = SingleLine(value);

    std::size_t index = FindSection(sectionName);
    if (index == kNoSection) {
        // A blank line keeps a new section apart from what comes before it.
        std::vector<Line>& lastLines = m_sections.empty() ? m_preamble : m_sections.back().lines;
        const bool needsBlank = lastLines.empty() ? !m_sections.empty() : !Trim(lastLines.back().text).empty();
        if (needsBlank) {
            lastLines.push_back(Line{});
        }
        m_sections.push_back(Section{sectionName, "[" + sectionName + "]", {}});
        index = m_sections.size() - 1;
    }
    Section* target = &m_sections[index];

    for (Line& line : target->lines) {
        if (!line.key.empty() && EqualsIgnoreCase(line.key, keyName)) {
            line.value = std::string(Trim(valueText));
            line.text = line.key + "=" + valueText;
            return;
        }
    }
    // New keys go after the section's last non-blank line, before the blank
    // lines that separate it from the next section.
    auto insertAt = target->lines.end();
    while (insertAt != target->lines.begin() && Trim(std::prev(insertAt)->text).empty()) {
        --insertAt;
    }
    target->lines.insert(insertAt, Line{keyName + "=" + valueText, keyName, std::string(Trim(valueText))});
}

void ProfileFile::WriteInt(std::string_view section, std::string_view key, long long value)
{
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteReal(std::string_view section, std::string_view key, double value)
{
    // "%f" in the C locale: six decimals and '.', whatever LC_NUMERIC says.
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed, 6);
    WriteString(section, key,
                error == std::errc{} ? std::string_view(buffer, end - buffer) : std::string_view("0.000000"));
}

} // namespace orvane
