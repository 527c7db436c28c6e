#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class ProfileFile;

// The model rules: camera names compared exactly (case-sensitive, whole name).
// "VTC-07U4" and the two maker models need the tee in front of the grabber.
[[nodiscard]] bool ForcesSmartTee(std::string_view cameraName);
// "DORVEX-210QX4" and "DORVEX-210QX4-QM": the maker's own cameras.
[[nodiscard]] bool IsMakerCamera(std::string_view cameraName);

// The profile choice (the "Select camera" dialog): given the camera's name,
// its profile names and the name to pre-select, the chosen profile name.
using ProfileAsker = std::function<std::string(const std::string& cameraName,
                                               const std::vector<std::string>& profileNames,
                                               const std::string& current)>;

// Resolves a camera's section as the main window does (asking only while no
// profile is remembered) or as the device dialog does (always asking with
// several profiles). `profileName` is the remembered profile, updated. An
// absent `ask` takes the entry the dialog pre-selects. The section to read.
[[nodiscard]] std::string ResolveCameraSection(const ProfileFile& profile, const std::string& cameraName,
                                               std::string& profileName, bool alwaysAsk, const ProfileAsker& ask);

// The entry the "Select camera" dialog selects on opening: the current name
// when it is listed, else the first entry; -1 when there is none.
[[nodiscard]] int PreselectedProfile(const std::vector<std::string>& profileNames, std::string_view current);

// The device chosen by priority: the first of the greatest "Priority" (above
// -1) among `names`, each ranked from the section its profile resolves to
// without asking (the device's own section while a choice is still open).
// -1 when there is none.
[[nodiscard]] int ChooseDeviceByPriority(const ProfileFile& profile, const std::vector<std::string>& names,
                                         std::string_view profileName);

// A source declared in the settings file (section "Sources").
struct DeclaredSource {
    std::string name;     // listed under this name; the key of its camera section
    std::string pipeline; // gst-launch text of the source element(s)

    friend bool operator==(const DeclaredSource&, const DeclaredSource&) = default;
};

inline constexpr std::string_view kSourcesSection = "Sources";
inline constexpr int kMaxDeclaredSources = 10;

// Section "Sources": "Count", then "Name%d" and "Pipeline%d" for 1..Count.
// Entries with an empty name or pipeline, or a name listed before, are
// skipped (with a log line); at most kMaxDeclaredSources.
[[nodiscard]] std::vector<DeclaredSource> LoadDeclaredSources(const ProfileFile& profile);

} // namespace orvane
