#include "platform/StringTable.h"

#include <array>

namespace orvane {
namespace {

struct Entry {
    StringId id;
    std::string_view english;
    std::string_view japanese;
};

constexpr std::array kTable{
    Entry{StringId::Length, "Length", "二点間距離"},
    Entry{StringId::PolygonArea, "Polygon area", "多角形面積"},
    Entry{StringId::CircleDiameter, "Circle diameter", "円直径"},
    Entry{StringId::CircleDistance, "Circle distance", "二円間距離"},
    Entry{StringId::Angle, "Angle", "角度"},
    Entry{StringId::Degree, "degree", "°"},
    Entry{StringId::Data, "Data", "校正値"},
    Entry{StringId::Type, "Type", "計測内容"},
    Entry{StringId::Result, "Result", "測定値"},
    Entry{StringId::Unit, "Unit", "単位"},
    Entry{StringId::AlreadyStarted, "It has already startup", "既に起動しています"},
};

Language g_language = Language::English;

}  // namespace

std::string_view StringText(StringId id, Language language)
{
    for (const Entry& entry : kTable) {
        if (entry.id == id) {
            return language == Language::Japanese ? entry.japanese : entry.english;
        }
    }
    return {};
}

Language CurrentLanguage() { return g_language; }

void SetCurrentLanguage(Language language) { g_language = language; }

std::string_view StringText(StringId id) { return StringText(id, g_language); }

}  // namespace orvane
