#pragma once

#include <string_view>

namespace orvane {

// User-visible texts exist in English and Japanese; Japanese is used when the
// system's language is Japanese (decided once at start-up).
enum class Language { English, Japanese };

// Ids of the string table. New texts are added here and in StringTable.cpp.
enum class StringId {
    Length = 1000,
    PolygonArea = 1001,
    CircleDiameter = 1002,
    CircleDistance = 1003,
    Angle = 1004,
    Degree = 1005,
    Data = 1006,
    Type = 1007,
    Result = 1008,
    Unit = 1009,
    AlreadyStarted = 1011,
};

// The text of `id` in `language`; an empty view for an unknown id.
[[nodiscard]] std::string_view StringText(StringId id, Language language);

// The program-wide language, English until SetCurrentLanguage is called at
// start-up (UI thread only).
[[nodiscard]] Language CurrentLanguage();
void SetCurrentLanguage(Language language);

// StringText in the program-wide language.
[[nodiscard]] std::string_view StringText(StringId id);

}  // namespace orvane
