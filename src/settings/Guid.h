#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// A 128-bit globally unique identifier with the field layout of the reference
// platform (Data1..Data4), as the settings file's "SubType" key stores it. The
// capture code maps the media subtypes below to GStreamer formats.
struct Guid {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
};

// Leaves the device's subtype unchanged: "no format constraint".
inline constexpr Guid kKeepSubtype{0xE436EB8E, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// Bottom-up 24-bit blue-green-red frames (GStreamer format BGR).
inline constexpr Guid kMediaSubtypeRgb24{0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// Four character code, first character in the lowest byte ("MJPG" = 'M' | 'J' << 8 | ...).
[[nodiscard]] constexpr std::uint32_t MakeFourcc(char a, char b, char c, char d)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24);
}

// The subtype GUID of a FOURCC format: {fourcc-0000-0010-8000-00AA00389B71}.
[[nodiscard]] constexpr Guid FourccGuid(std::uint32_t fourcc)
{
    return Guid{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

// The FOURCC of a GUID of that form; nothing for any other GUID.
[[nodiscard]] std::optional<std::uint32_t> FourccOf(const Guid& guid);

// The four characters of a FOURCC, lowest byte first ("MJPG", "YUY2"); bytes
// that are not printable ASCII show as '?'.
[[nodiscard]] std::string FourccText(std::uint32_t fourcc);

// The "SubType" text form: 32 uppercase hexadecimal digits, Data1, Data2,
// Data3 and the eight bytes of Data4 without separators.
[[nodiscard]] std::string FormatSubTypeText(const Guid& guid);

// Reads the "SubType" text form. Digits count in either case and any other
// character within the 32 positions counts as 0; characters after the 32nd are
// ignored. An empty text, or one shorter than 32 characters, gives `fallback`.
[[nodiscard]] Guid ParseSubTypeText(std::string_view text, const Guid& fallback);

// The registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (uppercase), for logs.
[[nodiscard]] std::string FormatGuid(const Guid& guid);

// Reads the registry form, braces optional, digits in either case; nothing for
// any other text.
[[nodiscard]] std::optional<Guid> ParseGuid(std::string_view text);

} // namespace orvane
