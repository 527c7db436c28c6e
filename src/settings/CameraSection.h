#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Guid.h"

namespace orvane {

class ProfileFile;

// The capture settings of one camera or setting profile, kept in a section
// named after the device's friendly name or the profile. "Count", "Name%d"
// and the six "Resize_*" keys are edited by hand and only read.
struct CameraSection {
    int Width = -1;  // -1: read the device's current format
    int Height = -1; // -1: read the device's current format
    int Priority = 0;
    std::int64_t frameTime = 666666; // "Frame" 150 (15.0 frames per second), in 100-ns units
    Guid SubType = kKeepSubtype;
    int Resize_Width = -1;
    int Resize_Height = -1;
    int Resize_Left = -1;
    int Resize_Top = -1;
    int Resize_Right = -1;
    int Resize_Bottom = -1;

    // The display frame gets the size Resize_Width x Resize_Height.
    [[nodiscard]] bool HasResizeSize() const { return Resize_Width > 0 && Resize_Height > 0; }
    // The resize takes its source from the rectangle Resize_Left..Resize_Bottom.
    [[nodiscard]] bool HasResizeSource() const
    {
        return Resize_Left >= 0 && Resize_Top >= 0 && Resize_Right > 0 && Resize_Bottom > 0;
    }

    friend bool operator==(const CameraSection&, const CameraSection&) = default;
};

inline constexpr std::size_t kCameraNameMaxChars = 255;

// The main window's load: "Width", "Height", "Priority", "Frame", "SubType"
// and the resize keys of `section`; missing keys (or a "Frame" of 0 or less)
// give the defaults of a default-constructed CameraSection.
[[nodiscard]] CameraSection LoadCameraSection(const ProfileFile& profile, std::string_view section);

// The main window's save, each time a camera goes live: "Width", "Height",
// "Frame", "Priority", "SubType".
void SaveCameraSection(ProfileFile& profile, std::string_view section, const CameraSection& values);

// The device dialog's load: only "Width", "Height", "Frame" and "SubType" (with
// the same defaults); the other members of `values` stay.
void LoadDeviceDialogSection(const ProfileFile& profile, std::string_view section, CameraSection& values);

// The device dialog's save: "Width", "Height", "Frame", "SubType" (never
// "Priority") to the profile's section, or to the device's section when no
// profile is chosen.
void SaveDeviceDialogSection(ProfileFile& profile, std::string_view deviceName, std::string_view profileName,
                             const CameraSection& values);

// Who resolves several profiles: the main window asks only while no profile is
// remembered, the device dialog always asks.
enum class ProfilePrompt { WhenNoProfileRemembered, Always };

// Where a camera's settings are read from.
struct CameraProfileChoice {
    std::string sectionName; // the section to read
    std::string profileName; // the remembered profile name afterwards
    // Several profiles and none settled: show the profile choice (pre-selecting
    // profileName); the chosen name then becomes both section and profile name.
    bool mustAsk = false;

    friend bool operator==(const CameraProfileChoice&, const CameraProfileChoice&) = default;
};

// Profile resolution from the device section's "Count" and "Name1":
//   Count < 1: the device's own section, no profile;
//   Count = 1: the profile Name1 (the device's section when Name1 is empty);
//   Count >= 2: the remembered profile without asking, or ask (always with
//   ProfilePrompt::Always, or when no profile is remembered).
[[nodiscard]] CameraProfileChoice ResolveCameraProfile(int count, std::string_view firstName,
                                                       std::string_view deviceName, std::string_view profileName,
                                                       ProfilePrompt prompt);

// The same, reading "Count" and "Name1" from the device's section.
[[nodiscard]] CameraProfileChoice ResolveCameraProfile(const ProfileFile& profile, std::string_view deviceName,
                                                       std::string_view profileName, ProfilePrompt prompt);

// The entries of the profile choice: "Name1" .. "Name<Count>" of the device's
// section, in that order (empty values included). At most kMaxCameraProfiles.
inline constexpr int kMaxCameraProfiles = 256;
[[nodiscard]] std::vector<std::string> CameraProfileNames(const ProfileFile& profile, std::string_view deviceName);

} // namespace orvane
