#include "settings/CalibrationSettings.h"

#include <string>

#include "measure/CCalibChain.h"
#include "measure/Measure.h"
#include "measure/TextLimit.h"
#include "platform/ProfileFile.h"
#include "platform/StringTable.h"
#include "settings/SettingsLog.h"

namespace orvane {
namespace {

constexpr int kCalibrationCount = 20;

std::string Key(std::string_view name, int n)
{
    return std::string(name) + "_" + std::to_string(n);
}

void ReadCalibration(const ProfileFile& profile, int n, CALIBRATION& record)
{
    const std::string_view section = kCalibrationSection;
    const std::string defaultName = std::string(StringText(StringId::Data)) + std::to_string(n + 1);
    record.name = profile.GetString(section, Key("name", n), defaultName, kCalibrationNameMaxChars);
    record.length.x = profile.GetReal(section, Key("length.x", n), 10.0);
    record.length.y = profile.GetReal(section, Key("length.y", n), 10.0);
    record.unit = profile.GetInt(section, Key("unit", n), kUnitMm);
    record.mpp.x = profile.GetReal(section, Key("mpp.x", n), 0.0);
    record.mpp.y = profile.GetReal(section, Key("mpp.y", n), 0.0);
    record.left = profile.GetReal(section, Key("left", n), 0.0);
    record.top = profile.GetReal(section, Key("top", n), 0.0);
    record.right = profile.GetReal(section, Key("right", n), 200.0);
    record.bottom = profile.GetReal(section, Key("bottom", n), 200.0);
}

void WriteCalibration(ProfileFile& profile, int n, const CALIBRATION& record)
{
    const std::string_view section = kCalibrationSection;
    profile.WriteString(section, Key("name", n), record.name);
    profile.WriteReal(section, Key("length.x", n), record.length.x);
    profile.WriteReal(section, Key("length.y", n), record.length.y);
    profile.WriteInt(section, Key("unit", n), record.unit);
    profile.WriteReal(section, Key("mpp.x", n), record.mpp.x);
    profile.WriteReal(section, Key("mpp.y", n), record.mpp.y);
    profile.WriteReal(section, Key("left", n), record.left);
    profile.WriteReal(section, Key("top", n), record.top);
    profile.WriteReal(section, Key("right", n), record.right);
    profile.WriteReal(section, Key("bottom", n), record.bottom);
}

} // namespace

void LoadCalibrationSection(const ProfileFile& profile, CCalibChain& chain)
{
    if (chain.Count() != kCalibrationCount) {
        kSettingsLog.Warning("calibration list of " + std::to_string(chain.Count()) +
                             " entries reset to the 20 defaults before reading");
        AddDefaultCalibrations(chain);
    }
    int n = 0;
    for (CALIBRATION* record = chain.First(); record != nullptr; record = record->next, ++n) {
        ReadCalibration(profile, n, *record);
    }
    chain.RecomputeScales();
}

void SaveCalibrationSection(ProfileFile& profile, const CCalibChain& chain)
{
    int n = 0;
    for (const CALIBRATION* record = chain.First(); record != nullptr; record = record->next, ++n) {
        WriteCalibration(profile, n, *record);
    }
}

int ReadScaleDec(const ProfileFile& profile)
{
    return profile.GetInt(kCalibrationSection, "ScaleDec", 1);
}

void WriteScaleDec(ProfileFile& profile, int scaleDec)
{
    profile.WriteInt(kCalibrationSection, "ScaleDec", scaleDec);
}

} // namespace orvane
