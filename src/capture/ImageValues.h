#pragma once

#include <array>
#include <cstdint>

#include "settings/CameraImageSettings.h"

namespace orvane {

class ICameraControl;

// The eight values the image settings adjust, in the dialog's order. The
// white balance and the exposure live in sensor registers; the other four
// are the camera's processing-unit controls.
enum class ImageValue { Red, Green, Blue, Exposure, Brightness, Saturation, Sharpness, Gamma };
inline constexpr int kImageValueCount = 8;
inline constexpr std::array kAllImageValues{ImageValue::Red,        ImageValue::Green,      ImageValue::Blue,
                                            ImageValue::Exposure,   ImageValue::Brightness, ImageValue::Saturation,
                                            ImageValue::Sharpness,  ImageValue::Gamma};

struct ImageValueInfo {
    int propertyId = 0;          // the numbered property with the range and the default
    std::uint16_t reg = 0;       // the sensor register, when isRegister
    bool isRegister = false;     // otherwise the property itself is read and written
    int CameraImageSettings::*saved = nullptr; // its key in the "Camera" section
};

[[nodiscard]] const ImageValueInfo& InfoOf(ImageValue value);
[[nodiscard]] constexpr int IndexOf(ImageValue value)
{
    return static_cast<int>(value);
}
// Red, green, blue and exposure: the values "Auto" hands to the camera.
[[nodiscard]] constexpr bool IsAutomatic(ImageValue value)
{
    return IndexOf(value) <= IndexOf(ImageValue::Exposure);
}

// The value the camera holds now.
bool ReadImageValue(ICameraControl& control, ImageValue value, int& current);
// Writes through the register setting loop (green to both green registers)
// or the control write. A register value outside 16 bits is refused.
bool WriteImageValue(ICameraControl& control, ImageValue value, int wanted);

} // namespace orvane
