#include "settings/Guid.h"

#include <cstdio>

namespace orvane {
namespace {

constexpr std::size_t kSubTypeDigits = 32;

// A hexadecimal digit's value; anything else counts as 0, as the settings
// file has always been read.
std::uint32_t LenientHexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint32_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint32_t>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint32_t>(c - 'a' + 10);
    }
    return 0;
}

std::uint32_t LenientHexGroup(std::string_view digits)
{
    std::uint32_t value = 0;
    for (char c : digits) {
        value = (value << 4) | LenientHexValue(c);
    }
    return value;
}

std::optional<std::uint32_t> StrictHexGroup(std::string_view digits)
{
    std::uint32_t value = 0;
    for (char c : digits) {
        const bool isDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!isDigit) {
            return std::nullopt;
        }
        value = (value << 4) | LenientHexValue(c);
    }
    return value;
}

} // namespace

std::optional<std::uint32_t> FourccOf(const Guid& guid)
{
    if (FourccGuid(guid.Data1) == guid) {
        return guid.Data1;
    }
    return std::nullopt;
}

std::string FourccText(std::uint32_t fourcc)
{
    std::string text(4, '?');
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>((fourcc >> (8 * i)) & 0xFF);
        if (c >= 0x20 && c < 0x7F) {
            text[i] = static_cast<char>(c);
        }
    }
    return text;
}

std::string FormatSubTypeText(const Guid& guid)
{
    char buffer[kSubTypeDigits + 1];
    std::snprintf(buffer, sizeof buffer, "%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                  static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                  guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return std::string(buffer, kSubTypeDigits);
}

Guid ParseSubTypeText(std::string_view text, const Guid& fallback)
{
    // A short text would leave groups without digits; keeping the current
    // subtype is safer than asking the device for a made-up one.
    if (text.size() < kSubTypeDigits) {
        return fallback;
    }
    Guid guid;
    guid.Data1 = LenientHexGroup(text.substr(0, 8));
    guid.Data2 = static_cast<std::uint16_t>(LenientHexGroup(text.substr(8, 4)));
    guid.Data3 = static_cast<std::uint16_t>(LenientHexGroup(text.substr(12, 4)));
    for (std::size_t i = 0; i < guid.Data4.size(); ++i) {
        guid.Data4[i] = static_cast<std::uint8_t>(LenientHexGroup(text.substr(16 + 2 * i, 2)));
    }
    return guid;
}

std::string FormatGuid(const Guid& guid)
{
    char buffer[39];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                  static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                  guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return std::string(buffer, 38);
}

std::optional<Guid> ParseGuid(std::string_view text)
{
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, 36);
    }
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') {
        return std::nullopt;
    }
    const auto data1 = StrictHexGroup(text.substr(0, 8));
    const auto data2 = StrictHexGroup(text.substr(9, 4));
    const auto data3 = StrictHexGroup(text.substr(14, 4));
    if (!data1 || !data2 || !data3) {
        return std::nullopt;
    }
    Guid guid{*data1, static_cast<std::uint16_t>(*data2), static_cast<std::uint16_t>(*data3), {}};
    for (std::size_t i = 0; i < guid.Data4.size(); ++i) {
        // Bytes 0-1 stand before the last dash, bytes 2-7 after it.
        const std::size_t offset = i < 2 ? 19 + 2 * i : 24 + 2 * (i - 2);
        const auto byte = StrictHexGroup(text.substr(offset, 2));
        if (!byte) {
            return std::nullopt;
        }
        guid.Data4[i] = static_cast<std::uint8_t>(*byte);
    }
    return guid;
}

} // namespace orvane
