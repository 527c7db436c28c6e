#include "settings/CameraImageSettings.h"

#include <array>

#include "platform/ProfileFile.h"

namespace orvane {
namespace {

struct Key {
    std::string_view name;
    int CameraImageSettings::*member;
};

constexpr std::array kKeys{
    Key{"WB_RED", &CameraImageSettings::WB_RED},
    Key{"WB_GREEN", &CameraImageSettings::WB_GREEN},
    Key{"WB_BLUE", &CameraImageSettings::WB_BLUE},
    Key{"EXPOSURE", &CameraImageSettings::EXPOSURE},
    Key{"VP_BRIGHTNESS", &CameraImageSettings::VP_BRIGHTNESS},
    Key{"VP_SATURATION", &CameraImageSettings::VP_SATURATION},
    Key{"VP_SHARPNESS", &CameraImageSettings::VP_SHARPNESS},
    Key{"VP_GAMMA", &CameraImageSettings::VP_GAMMA},
};

} // namespace

void LoadCameraImageSection(const ProfileFile& profile, CameraImageSettings& values)
{
    for (const Key& key : kKeys) {
        values.*key.member = profile.GetInt(kCameraImageSection, key.name, values.*key.member);
    }
}

std::string_view CameraImageKey(int CameraImageSettings::*member)
{
    for (const Key& key : kKeys) {
        if (key.member == member) {
            return key.name;
        }
    }
    return {};
}

void SaveCameraImageSection(ProfileFile& profile, const CameraImageSettings& values)
{
    profile.WriteInt(kCameraImageSection, "WB_AUTO", 0);
    for (const Key& key : kKeys) {
        profile.WriteInt(kCameraImageSection, key.name, values.*key.member);
    }
}

} // namespace orvane
