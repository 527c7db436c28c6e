#include "measure/ResultFormat.h"

#include <array>
#include <charconv>

#include <system_error>

#include "measure/TextLimit.h"
#include "platform/StringTable.h"

namespace orvane {
namespace {

struct UnitTexts {
    int decimals;
    const char* length;
    const char* area;
};

// Per unit code 0 cm, 1 mm, 2 um.
constexpr std::array<UnitTexts, 3> kUnits{{
    {2, "cm", "cm2"},
    {3, "mm", "mm2"},
    {2, "um", "um2"},
}};

const UnitTexts* UnitFor(std::int32_t unit)
{
    return unit >= 0 && unit < static_cast<std::int32_t>(kUnits.size()) ? &kUnits[static_cast<std::size_t>(unit)]
                                                                        : nullptr;
}

// Fixed-point text of `value` with `decimals` digits, as printf's "%.*f" in
// the C locale: the application's locale (which the UI toolkit sets) must not
// turn the decimal point into a comma.
std::string FormatFixed(double value, int decimals)
{
    // Enough for the widest double with three decimals.
    std::array<char, 400> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    if (error != std::errc{}) {
        return {};
    }
    return std::string(buffer.data(), end);
}

std::string Label(std::string text)
{
    return TruncateUtf8(text, kLabelTextMaxChars);
}

} // namespace

ListColumns FormatLength(double value, std::int32_t unit)
{
    const UnitTexts* texts = UnitFor(unit);
    if (texts == nullptr) {
        return {};
    }
    return {FormatFixed(value, texts->decimals), texts->length};
}

ListColumns FormatArea(double value, std::int32_t unit)
{
    const UnitTexts* texts = UnitFor(unit);
    if (texts == nullptr) {
        return {};
    }
    return {FormatFixed(value, texts->decimals), texts->area};
}

ListColumns FormatAngle(double value)
{
    return {FormatFixed(value, 1), std::string(StringText(StringId::Degree))};
}

std::optional<std::string> FormatLengthLabel(double value, std::int32_t unit)
{
    const UnitTexts* texts = UnitFor(unit);
    if (texts == nullptr) {
        return std::nullopt;
    }
    return Label(FormatFixed(value, texts->decimals) + texts->length);
}

std::optional<std::string> FormatAreaLabel(double value, std::int32_t unit)
{
    const UnitTexts* texts = UnitFor(unit);
    if (texts == nullptr) {
        return std::nullopt;
    }
    return Label(FormatFixed(value, texts->decimals) + texts->area);
}

std::string FormatAngleLabel(double value)
{
    return Label(FormatFixed(value, 1) + std::string(StringText(StringId::Degree)));
}

} // namespace orvane
