#pragma once

#include <string_view>

namespace orvane {

class ProfileFile;

// Section "Camera": the maker camera's image settings kept between runs.
inline constexpr std::string_view kCameraImageSection = "Camera";

// Member names mirror the keys. Registers and controls that cannot be read
// are stored as 0 by the caller.
struct CameraImageSettings {
    int WB_RED = 0;   // register 0x002D
    int WB_GREEN = 0; // register 0x002B
    int WB_BLUE = 0;  // register 0x002C
    int EXPOSURE = 0; // register 0x0009
    int VP_BRIGHTNESS = 0;
    int VP_SATURATION = 0;
    int VP_SHARPNESS = 0;
    int VP_GAMMA = 0;

    friend bool operator==(const CameraImageSettings&, const CameraImageSettings&) = default;
};

// Reads the eight values; a missing key keeps the value in `values`, which the
// caller fills with the camera controls' defaults first. "WB_AUTO" is not read.
void LoadCameraImageSection(const ProfileFile& profile, CameraImageSettings& values);

// The key of one of the eight values ("WB_RED" for &CameraImageSettings::WB_RED).
[[nodiscard]] std::string_view CameraImageKey(int CameraImageSettings::*member);

// Writes "WB_AUTO" (always 0) and the eight values, in that order.
void SaveCameraImageSection(ProfileFile& profile, const CameraImageSettings& values);

} // namespace orvane
