#include "capture/ImageSetLogic.h"

#include <algorithm>

#include "camctl/ICameraControl.h"
#include "capture/MakerSensor.h"
#include "capture/SensorRegisters.h"
#include "capture/WhiteBalance.h"

namespace orvane {
namespace {

[[nodiscard]] bool IsWhiteBalance(ImageValue which)
{
    return which == ImageValue::Red || which == ImageValue::Green || which == ImageValue::Blue;
}

constexpr std::array kAutomaticValues{ImageValue::Exposure, ImageValue::Green, ImageValue::Blue, ImageValue::Red};
constexpr std::array kProcessingValues{ImageValue::Brightness, ImageValue::Saturation, ImageValue::Sharpness,
                                       ImageValue::Gamma};

} // namespace

ImageSetLogic::ImageSetLogic(ICameraControl& control, WhiteBalanceRequest& request)
    : m_control(control), m_request(request)
{
}

void ImageSetLogic::Open()
{
    SensorRegisters registers(m_control);
    for (int attempt = 0; attempt < SensorRegisters::kAttempts && !m_present; ++attempt) {
        std::uint16_t presence = 0;
        m_present = registers.Read(sensor::kPresence, presence) && presence != 0;
    }
    if (!m_present) {
        return;
    }
    for (const ImageValue which : kAllImageValues) {
        Value& value = m_values[Slot(which)];
        CameraPropertyInfo info;
        int current = 0;
        // A value that cannot be read could only be restored or shown wrongly: it stays disabled.
        if (!m_control.GetPropertyInfo(InfoOf(which).propertyId, info) || !ReadImageValue(m_control, which, current)) {
            continue;
        }
        value = Value{true, info.minimum, info.maximum, info.defaultValue, current};
        m_atOpening[Slot(which)] = current;
        m_lastWritten[Slot(which)] = current;
    }
    std::uint16_t mode = 0;
    if (registers.Read(sensor::kMode, mode) && (mode & sensor::kModeAuto) != 0) {
        m_auto = true;
        m_autoAtOpening = true;
        m_autoTimer = true;
    }
}

bool ImageSetLogic::valueEnabled(ImageValue which) const
{
    if (!m_present || !value(which).readable) {
        return false;
    }
    if (m_auto && IsAutomatic(which)) {
        return false;
    }
    return !(IsWhiteBalance(which) && m_state != WhiteBalanceState::Idle);
}

void ImageSetLogic::Write(ImageValue which, int wanted, bool force)
{
    const std::size_t slot = Slot(which);
    if (!m_values[slot].readable || (!force && wanted == m_lastWritten[slot])) {
        return;
    }
    // A failed write is not remembered, so the next edit tries again.
    if (WriteImageValue(m_control, which, wanted)) {
        m_lastWritten[slot] = wanted;
    }
}

void ImageSetLogic::ValueEdited(ImageValue which, int wanted)
{
    if (!m_present || !m_values[Slot(which)].readable || (m_auto && IsAutomatic(which))) {
        return;
    }
    // The edit is typed a key at a time: a value past the control's range
    // (9999 on the way to 99999) never reaches the camera; the edit shows the bound.
    const Value& value = m_values[Slot(which)];
    if (value.minimum <= value.maximum) {
        wanted = std::clamp(wanted, value.minimum, value.maximum);
    }
    m_values[Slot(which)].shown = wanted;
    Write(which, wanted, false);
}

void ImageSetLogic::WhiteBalanceDefaults()
{
    if (!whiteBalanceDefaultEnabled()) {
        return;
    }
    for (const ImageValue which : {ImageValue::Red, ImageValue::Green, ImageValue::Blue, ImageValue::Exposure}) {
        ValueEdited(which, value(which).defaultValue);
    }
}

void ImageSetLogic::ProcessingDefaults()
{
    if (!processingDefaultEnabled()) {
        return;
    }
    for (const ImageValue which : kProcessingValues) {
        ValueEdited(which, value(which).defaultValue);
    }
}

void ImageSetLogic::AfterModeChange()
{
    SensorRegisters registers(m_control);
    registers.SetValue(sensor::kAfterMode1, sensor::kAfterMode1Value);
    registers.SetValue(sensor::kAfterMode2, sensor::kAfterMode2Value);
}

void ImageSetLogic::SetAuto(bool on)
{
    if (!m_present || on == m_auto) {
        return;
    }
    SensorRegisters registers(m_control);
    if (on) {
        // A white-balance round under way would write into the camera's own control.
        StopWhiteBalance();
        registers.SetValue(sensor::kAutoPrepare, 0);
        registers.SetBits(sensor::kMode, sensor::kModeAuto);
        AfterModeChange();
        m_auto = true;
        m_autoTimer = true;
        return;
    }
    registers.ClearBits(sensor::kMode, sensor::kModeAuto);
    AfterModeChange();
    m_auto = false;
    m_autoTimer = false;
    // The values the camera chose become manual settings.
    for (const ImageValue which : kAutomaticValues) {
        Write(which, value(which).shown, true);
    }
}

void ImageSetLogic::OnAutoTimer()
{
    if (!m_present || !m_auto) {
        return;
    }
    for (const ImageValue which : kAutomaticValues) {
        int current = 0;
        if (m_values[Slot(which)].readable && ReadImageValue(m_control, which, current)) {
            m_values[Slot(which)].shown = current;
        }
    }
}

void ImageSetLogic::AwbPressed()
{
    if (!awbEnabled()) {
        return;
    }
    m_held = true;
    m_whiteBalanceTimer = true;
}

void ImageSetLogic::AwbReleased()
{
    m_held = false;
}

void ImageSetLogic::AwbClicked()
{
    if (!awbEnabled()) {
        return;
    }
    StartMeasurement();
    // The round is finished by the timer, also for a click that came without a press.
    m_whiteBalanceTimer = true;
}

void ImageSetLogic::StartMeasurement()
{
    SensorRegisters registers(m_control);
    registers.SetBits(sensor::kMode, sensor::kModeStartSet);
    m_request.requested = true;
    m_state = WhiteBalanceState::Measuring;
    AfterModeChange();
}

void ImageSetLogic::ApplyMeasurement()
{
    SensorRegisters registers(m_control);
    registers.SetBits(sensor::kMode, sensor::kModeStartSet);
    const std::array channels{std::pair{ImageValue::Red, m_request.redRatio},
                              std::pair{ImageValue::Blue, m_request.blueRatio}};
    for (const auto& [which, ratio] : channels) {
        std::uint16_t gain = 0;
        if (value(which).readable && registers.Read(InfoOf(which).reg, gain)) {
            const int balanced = BalancedGain(gain, ratio);
            m_values[Slot(which)].shown = balanced;
            Write(which, balanced, false);
        }
    }
    m_state = WhiteBalanceState::Applied;
    AfterModeChange();
}

void ImageSetLogic::OnWhiteBalanceTimer()
{
    if (!m_present || !m_whiteBalanceTimer) {
        return;
    }
    if (m_state == WhiteBalanceState::Measuring) {
        if (!m_request.requested) {
            ApplyMeasurement();
        }
    } else {
        StartMeasurement();
    }
    if (!m_held && m_state == WhiteBalanceState::Applied) {
        StopWhiteBalance();
    }
}

void ImageSetLogic::StopWhiteBalance()
{
    m_whiteBalanceTimer = false;
    m_held = false;
    m_state = WhiteBalanceState::Idle;
}

void ImageSetLogic::Cancel()
{
    if (!m_present) {
        return;
    }
    SetAuto(false);
    StopWhiteBalance();
    for (const ImageValue which : kAllImageValues) {
        m_values[Slot(which)].shown = m_atOpening[Slot(which)];
        Write(which, m_atOpening[Slot(which)], false);
    }
    if (m_autoAtOpening) {
        SetAuto(true);
    }
}

void ImageSetLogic::Escape()
{
    if (!m_present) {
        return;
    }
    SetAuto(false);
    StopWhiteBalance();
}

} // namespace orvane
