#include "capture/CameraChoice.h"

#include <algorithm>

#include "capture/CaptureLog.h"
#include "platform/ProfileFile.h"
#include "settings/CameraSection.h"

namespace orvane {

namespace {

constexpr std::size_t kPipelineMaxChars = 1023;

} // namespace

bool ForcesSmartTee(std::string_view cameraName)
{
    return cameraName == "VTC-07U4" || IsMakerCamera(cameraName);
}

bool IsMakerCamera(std::string_view cameraName)
{
    return cameraName == "DORVEX-210QX4" || cameraName == "DORVEX-210QX4-QM";
}

std::string ResolveCameraSection(const ProfileFile& profile, const std::string& cameraName, std::string& profileName,
                                 bool alwaysAsk, const ProfileAsker& ask)
{
    const CameraProfileChoice choice = ResolveCameraProfile(
        profile, cameraName, profileName, alwaysAsk ? ProfilePrompt::Always : ProfilePrompt::WhenNoProfileRemembered);
    if (!choice.mustAsk) {
        profileName = choice.profileName;
        return choice.sectionName;
    }
    const std::vector<std::string> names = CameraProfileNames(profile, cameraName);
    std::string chosen;
    if (ask) {
        chosen = ask(cameraName, names, choice.profileName);
    } else if (const int first = PreselectedProfile(names, choice.profileName); first >= 0) {
        chosen = names[static_cast<std::size_t>(first)];
    }
    // An empty answer would name a section that cannot exist: the camera's own.
    profileName = chosen;
    return chosen.empty() ? cameraName : chosen;
}

int PreselectedProfile(const std::vector<std::string>& profileNames, std::string_view current)
{
    if (profileNames.empty()) {
        return -1;
    }
    if (!current.empty()) {
        const auto found = std::find(profileNames.begin(), profileNames.end(), current);
        if (found != profileNames.end()) {
            return static_cast<int>(found - profileNames.begin());
        }
    }
    return 0;
}

int ChooseDeviceByPriority(const ProfileFile& profile, const std::vector<std::string>& names,
                           std::string_view profileName)
{
    int best = -1;
    int bestPriority = -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const CameraProfileChoice choice =
            ResolveCameraProfile(profile, names[i], profileName, ProfilePrompt::WhenNoProfileRemembered);
        const int priority = LoadCameraSection(profile, choice.sectionName).Priority;
        if (priority > bestPriority) {
            bestPriority = priority;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::vector<DeclaredSource> LoadDeclaredSources(const ProfileFile& profile)
{
    std::vector<DeclaredSource> sources;
    const int count = std::min(profile.GetInt(kSourcesSection, "Count", 0), kMaxDeclaredSources);
    for (int number = 1; number <= count; ++number) {
        DeclaredSource source;
        source.name = profile.GetString(kSourcesSection, "Name" + std::to_string(number), "", kCameraNameMaxChars);
        source.pipeline = profile.GetString(kSourcesSection, "Pipeline" + std::to_string(number), "", kPipelineMaxChars);
        const bool listed = std::any_of(sources.begin(), sources.end(),
                                        [&](const DeclaredSource& other) { return other.name == source.name; });
        if (source.name.empty() || source.pipeline.empty() || listed) {
            kCaptureLog.Warning("[Sources] entry " + std::to_string(number) + " skipped: " +
                                (listed ? "its name is listed before" : "it needs a name and a pipeline"));
            continue;
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

} // namespace orvane
