#include "settings/CameraSection.h"

#include <algorithm>
#include <string>

#include "platform/ProfileFile.h"
#include "settings/SettingsLog.h"
#include "settings/ValueForms.h"

namespace orvane {
namespace {

constexpr std::int64_t kDefaultFrame = 150;
constexpr std::size_t kSubTypeMaxChars = 63;

// "Width", "Height", "Frame", "SubType" with the defaults of a fresh section.
void ReadFormatKeys(const ProfileFile& profile, std::string_view section, CameraSection& values)
{
    const CameraSection defaults;
    values.Width = profile.GetInt(section, "Width", defaults.Width);
    values.Height = profile.GetInt(section, "Height", defaults.Height);
    values.frameTime = defaults.frameTime;
    ReadFrameKey(profile, section, "Frame", values.frameTime);
    values.SubType = ParseSubTypeText(profile.GetString(section, "SubType", "", kSubTypeMaxChars), defaults.SubType);
}

void WriteSubType(ProfileFile& profile, std::string_view section, const Guid& subType)
{
    profile.WriteString(section, "SubType", FormatSubTypeText(subType));
}

std::string NameKey(int number)
{
    return "Name" + std::to_string(number);
}

} // namespace

CameraSection LoadCameraSection(const ProfileFile& profile, std::string_view section)
{
    CameraSection values;
    ReadFormatKeys(profile, section, values);
    values.Priority = profile.GetInt(section, "Priority", values.Priority);
    values.Resize_Width = profile.GetInt(section, "Resize_Width", values.Resize_Width);
    values.Resize_Height = profile.GetInt(section, "Resize_Height", values.Resize_Height);
    values.Resize_Left = profile.GetInt(section, "Resize_Left", values.Resize_Left);
    values.Resize_Top = profile.GetInt(section, "Resize_Top", values.Resize_Top);
    values.Resize_Right = profile.GetInt(section, "Resize_Right", values.Resize_Right);
    values.Resize_Bottom = profile.GetInt(section, "Resize_Bottom", values.Resize_Bottom);
    return values;
}

void SaveCameraSection(ProfileFile& profile, std::string_view section, const CameraSection& values)
{
    profile.WriteInt(section, "Width", values.Width);
    profile.WriteInt(section, "Height", values.Height);
    WriteFrameKey(profile, section, "Frame", values.frameTime, kDefaultFrame);
    profile.WriteInt(section, "Priority", values.Priority);
    WriteSubType(profile, section, values.SubType);
}

void LoadDeviceDialogSection(const ProfileFile& profile, std::string_view section, CameraSection& values)
{
    ReadFormatKeys(profile, section, values);
}

void SaveDeviceDialogSection(ProfileFile& profile, std::string_view deviceName, std::string_view profileName,
                             const CameraSection& values)
{
    const std::string_view section = profileName.empty() ? deviceName : profileName;
    profile.WriteInt(section, "Width", values.Width);
    profile.WriteInt(section, "Height", values.Height);
    WriteFrameKey(profile, section, "Frame", values.frameTime, kDefaultFrame);
    WriteSubType(profile, section, values.SubType);
}

CameraProfileChoice ResolveCameraProfile(int count, std::string_view firstName, std::string_view deviceName,
                                         std::string_view profileName, ProfilePrompt prompt)
{
    if (count < 1) {
        return {std::string(deviceName), {}, false};
    }
    if (count == 1) {
        // An empty Name1 would name a section that cannot exist; the device's
        // own section is what the user meant.
        if (firstName.empty()) {
            return {std::string(deviceName), {}, false};
        }
        return {std::string(firstName), std::string(firstName), false};
    }
    if (prompt == ProfilePrompt::WhenNoProfileRemembered && !profileName.empty()) {
        return {std::string(profileName), std::string(profileName), false};
    }
    return {std::string(deviceName), std::string(profileName), true};
}

CameraProfileChoice ResolveCameraProfile(const ProfileFile& profile, std::string_view deviceName,
                                         std::string_view profileName, ProfilePrompt prompt)
{
    const int count = profile.GetInt(deviceName, "Count", 0);
    const std::string firstName = profile.GetString(deviceName, NameKey(1), "", kCameraNameMaxChars);
    return ResolveCameraProfile(count, firstName, deviceName, profileName, prompt);
}

std::vector<std::string> CameraProfileNames(const ProfileFile& profile, std::string_view deviceName)
{
    const int count = profile.GetInt(deviceName, "Count", 0);
    if (count > kMaxCameraProfiles) {
        kSettingsLog.Warning("[" + std::string(deviceName) + "] Count=" + std::to_string(count) +
                             " is more profiles than can be listed; listing " + std::to_string(kMaxCameraProfiles));
    }
    std::vector<std::string> names;
    for (int number = 1; number <= std::min(count, kMaxCameraProfiles); ++number) {
        names.push_back(profile.GetString(deviceName, NameKey(number), "", kCameraNameMaxChars));
    }
    return names;
}

} // namespace orvane
