#include "settings/CrossLineSettings.h"

#include <algorithm>
#include <string>

#include "platform/ProfileFile.h"
#include "settings/SettingsLog.h"

namespace orvane {
namespace {

std::string IndexedKey(std::string_view name, std::size_t index)
{
    return std::string(name) + std::to_string(index);
}

int ReadCount(const ProfileFile& profile, std::string_view section)
{
    const int count = profile.GetInt(section, "Count", 0);
    if (count > kMaxCrossLines) {
        kSettingsLog.Warning("[" + std::string(section) + "] Count=" + std::to_string(count) + " reads only " +
                             std::to_string(kMaxCrossLines) + " entries");
        return kMaxCrossLines;
    }
    return std::max(count, 0);
}

CrossLine ReadEntry(const ProfileFile& profile, std::string_view section, std::size_t i, bool isCircle)
{
    CrossLine entry;
    entry.Show = profile.GetInt(section, IndexedKey("Show_", i), 0);
    entry.Pos_x = profile.GetInt(section, IndexedKey("Pos_x_", i), 0);
    entry.Pos_y = profile.GetInt(section, IndexedKey("Pos_y_", i), 0);
    entry.Type = profile.GetInt(section, IndexedKey("Type_", i), 0);
    entry.Color = static_cast<COLORREF>(profile.GetInt(section, IndexedKey("Color_", i), 0));
    entry.Size = profile.GetInt(section, IndexedKey("Size_", i), 0);
    entry.Draw = profile.GetInt(section, IndexedKey("Draw_", i), 0);
    if (isCircle) {
        entry.Radius = static_cast<float>(profile.GetReal(section, IndexedKey("Radius_", i), 0.0));
        entry.Mode = profile.GetInt(section, IndexedKey("Mode_", i), 0);
    }
    return entry;
}

void WriteSection(ProfileFile& profile, std::string_view section, const std::vector<CrossLine>& entries, bool isCircle)
{
    profile.WriteInt(section, "Count", static_cast<long long>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CrossLine& entry = entries[i];
        profile.WriteInt(section, IndexedKey("Show_", i), entry.Show);
        profile.WriteInt(section, IndexedKey("Pos_x_", i), entry.Pos_x);
        profile.WriteInt(section, IndexedKey("Pos_y_", i), entry.Pos_y);
        profile.WriteInt(section, IndexedKey("Type_", i), entry.Type);
        profile.WriteInt(section, IndexedKey("Color_", i), static_cast<std::int32_t>(entry.Color));
        profile.WriteInt(section, IndexedKey("Size_", i), entry.Size);
        profile.WriteInt(section, IndexedKey("Draw_", i), entry.Draw);
        if (isCircle) {
            profile.WriteReal(section, IndexedKey("Radius_", i), entry.Radius);
            profile.WriteInt(section, IndexedKey("Mode_", i), entry.Mode);
        }
    }
}

} // namespace

void LoadCrossLineSections(const ProfileFile& profile, CrossLineSettings& settings)
{
    settings.lines.clear();
    settings.circles.clear();

    const int lineCount = ReadCount(profile, kCrossLineSection);
    for (int i = 0; i < lineCount; ++i) {
        settings.lines.push_back(ReadEntry(profile, kCrossLineSection, static_cast<std::size_t>(i), false));
    }
    if (settings.lines.empty()) {
        settings.lines.push_back(DefaultMasterLine());
    }

    const int circleCount = ReadCount(profile, kCrossCircleSection);
    for (int i = 0; i < circleCount; ++i) {
        settings.circles.push_back(ReadEntry(profile, kCrossCircleSection, static_cast<std::size_t>(i), true));
    }
}

void SaveCrossLineSections(ProfileFile& profile, const CrossLineSettings& settings)
{
    WriteSection(profile, kCrossLineSection, settings.lines, false);
    WriteSection(profile, kCrossCircleSection, settings.circles, true);
}

} // namespace orvane
