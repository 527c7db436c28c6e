#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "measure/CCalibChain.h"
#include "platform/ProfileFile.h"
#include "settings/CalibrationSettings.h"
#include "settings/CameraImageSettings.h"
#include "settings/CameraSection.h"
#include "settings/CrossLineSettings.h"
#include "settings/OrvaneSettings.h"

// A settings file: every section is read, saved into a new file, and read
// again; what was saved must read back the same, so a second save gives the
// same text as the first.
namespace {

using orvane::ProfileFile;

// Reads `profile` and writes what it read into a new profile's text.
std::string SaveWhatWasRead(const ProfileFile& profile, std::string_view cameraSection)
{
    ProfileFile out;

    orvane::OrvaneSettings settings;
    orvane::LoadOrvaneSection(profile, settings);
    orvane::SaveOrvaneSection(out, settings);

    orvane::CCalibChain calibrations;
    orvane::LoadCalibrationSection(profile, calibrations);
    orvane::SaveCalibrationSection(out, calibrations);
    orvane::WriteScaleDec(out, orvane::ReadScaleDec(profile));

    orvane::CameraImageSettings image;
    orvane::LoadCameraImageSection(profile, image);
    orvane::SaveCameraImageSection(out, image);

    orvane::CrossLineSettings crossLines;
    orvane::LoadCrossLineSections(profile, crossLines);
    orvane::SaveCrossLineSections(out, crossLines);

    const orvane::CameraSection camera = orvane::LoadCameraSection(profile, cameraSection);
    orvane::SaveCameraSection(out, cameraSection, camera);
    return out.ToText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ProfileFile profile;
    profile.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    // The camera section named the way the program resolves a device's profile.
    const orvane::CameraProfileChoice choice =
        orvane::ResolveCameraProfile(profile, "USB Camera", "", orvane::ProfilePrompt::WhenNoProfileRemembered);

    const std::string first = SaveWhatWasRead(profile, choice.sectionName);
    ProfileFile reread;
    reread.LoadFromText(first);
    const std::string second = SaveWhatWasRead(reread, choice.sectionName);
    if (second != first) {
        std::fprintf(stderr, "first save:\n%s\nsecond save:\n%s\n", first.c_str(), second.c_str());
        orvane::fuzz::Fail("settings saved from a read do not read back the same");
    }
    return 0;
}
