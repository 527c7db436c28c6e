#include "capture/CameraImageSetup.h"

#include <array>
#include <optional>

#include "camctl/ICameraControl.h"
#include "capture/ImageValues.h"
#include "capture/MakerSensor.h"
#include "capture/SensorRegisters.h"
#include "platform/ProfileFile.h"
#include "settings/CameraImageSettings.h"

namespace orvane {
namespace {

// The eight controls' defaults; nothing where the camera gives none.
using Defaults = std::array<std::optional<int>, kImageValueCount>;

[[nodiscard]] Defaults ReadDefaults(ICameraControl& control)
{
    Defaults defaults;
    for (const ImageValue value : kAllImageValues) {
        CameraPropertyInfo info;
        if (control.GetPropertyInfo(InfoOf(value).propertyId, info)) {
            defaults[static_cast<std::size_t>(IndexOf(value))] = info.defaultValue;
        }
    }
    return defaults;
}

// The order the saved values go to the camera: the greens first, the
// processing controls last.
constexpr std::array kApplyOrder{ImageValue::Green,      ImageValue::Blue,       ImageValue::Red,
                                 ImageValue::Exposure,   ImageValue::Brightness, ImageValue::Saturation,
                                 ImageValue::Sharpness,  ImageValue::Gamma};

} // namespace

bool CameraImageSetup::InitialiseRegisters()
{
    SensorRegisters registers(m_control);
    bool modeSet = false;
    for (int attempt = 0; attempt < SensorRegisters::kAttempts && !modeSet; ++attempt) {
        std::uint16_t mode = 0;
        if (!registers.Read(sensor::kMode, mode)) {
            continue;
        }
        if ((mode & sensor::kModeStartClear) != 0) {
            registers.Write(sensor::kMode, static_cast<std::uint16_t>(mode & ~sensor::kModeStartClear));
        } else if ((mode & sensor::kModeStartSet) == 0) {
            registers.Write(sensor::kMode, static_cast<std::uint16_t>(mode | sensor::kModeStartSet));
        } else {
            modeSet = true;
        }
    }
    bool done = modeSet;
    done = registers.ClearBits(sensor::kStartClear, sensor::kStartClearBit) && done;
    done = registers.SetValue(sensor::kStartZero, 0) && done;
    done = registers.SetValue(sensor::kAfterMode1, sensor::kAfterMode1Value) && done;
    return done;
}

void CameraImageSetup::ApplySavedSettings(const ProfileFile& profile)
{
    InitialiseRegisters();
    SensorRegisters registers(m_control);
    registers.SetBits(sensor::kMode, sensor::kModeApplyPulse);
    registers.ClearBits(sensor::kMode, sensor::kModeApplyPulse);
    registers.SetValue(sensor::kApplyLevel1, sensor::kApplyLevelValue);
    registers.SetValue(sensor::kApplyLevel2, sensor::kApplyLevelValue);

    const Defaults defaults = ReadDefaults(m_control);
    CameraImageSettings saved;
    LoadCameraImageSection(profile, saved);
    for (const ImageValue value : kApplyOrder) {
        const ImageValueInfo& info = InfoOf(value);
        const std::optional<int>& fallback = defaults[static_cast<std::size_t>(IndexOf(value))];
        const std::string_view key = CameraImageKey(info.saved);
        if (profile.HasKey(kCameraImageSection, key)) {
            WriteImageValue(m_control, value, saved.*info.saved);
        } else if (fallback) {
            WriteImageValue(m_control, value, *fallback);
        }
    }
}

bool CameraImageSetup::SaveSettings(ProfileFile& profile)
{
    const Defaults defaults = ReadDefaults(m_control);
    CameraImageSettings values;
    for (const ImageValue value : kAllImageValues) {
        values.*InfoOf(value).saved = defaults[static_cast<std::size_t>(IndexOf(value))].value_or(0);
    }
    LoadCameraImageSection(profile, values);
    bool anyRead = false;
    for (const ImageValue value : kAllImageValues) {
        int current = 0;
        if (ReadImageValue(m_control, value, current)) {
            values.*InfoOf(value).saved = current;
            anyRead = true;
        }
    }
    if (!anyRead) {
        return false;
    }
    SaveCameraImageSection(profile, values);
    return true;
}

} // namespace orvane
