#include "capture/ImageValues.h"

#include "camctl/ICameraControl.h"
#include "capture/MakerSensor.h"
#include "capture/SensorRegisters.h"

namespace orvane {
namespace {

using S = CameraImageSettings;

constexpr std::array<ImageValueInfo, kImageValueCount> kInfo{{
    {400, sensor::kRedGain, true, &S::WB_RED},
    {401, sensor::kGreenGain, true, &S::WB_GREEN},
    {402, sensor::kBlueGain, true, &S::WB_BLUE},
    {404, sensor::kExposure, true, &S::EXPOSURE},
    {200, 0, false, &S::VP_BRIGHTNESS},
    {204, 0, false, &S::VP_SATURATION},
    {205, 0, false, &S::VP_SHARPNESS},
    {206, 0, false, &S::VP_GAMMA},
}};

} // namespace

const ImageValueInfo& InfoOf(ImageValue value)
{
    return kInfo[static_cast<std::size_t>(IndexOf(value))];
}

bool ReadImageValue(ICameraControl& control, ImageValue value, int& current)
{
    const ImageValueInfo& info = InfoOf(value);
    if (!info.isRegister) {
        std::int32_t read = 0;
        if (!control.GetProperty(info.propertyId, read)) {
            return false;
        }
        current = read;
        return true;
    }
    std::uint16_t read = 0;
    if (!SensorRegisters(control).Read(info.reg, read)) {
        return false;
    }
    current = read;
    return true;
}

bool WriteImageValue(ICameraControl& control, ImageValue value, int wanted)
{
    const ImageValueInfo& info = InfoOf(value);
    if (!info.isRegister) {
        return control.WriteControl(info.propertyId, wanted);
    }
    if (wanted < 0 || wanted > 0xFFFF) {
        return false;
    }
    SensorRegisters registers(control);
    const auto word = static_cast<std::uint16_t>(wanted);
    if (value == ImageValue::Green) {
        // Both greens of the Bayer pattern carry one gain.
        const bool second = registers.SetValue(sensor::kGreenGain2, word);
        return registers.SetValue(sensor::kGreenGain, word) && second;
    }
    return registers.SetValue(info.reg, word);
}

} // namespace orvane
