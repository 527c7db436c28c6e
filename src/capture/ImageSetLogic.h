#pragma once

#include <array>

#include "capture/ImageValues.h"

namespace orvane {

class ICameraControl;
struct WhiteBalanceRequest;

// The "Image setting" dialog's steps without the dialog: the eight values
// with their ranges, the values at opening (Cancel), the defaults (the two
// "Default" buttons) and the last value written (an equal value is not
// written again); "Auto" with its read-back twice a second; "Awb" with the
// held-button repetition; Cancel and Escape. The dialog shows what this
// reports and runs the two timers while it asks for them.
//
// UI thread only (as the camera control it talks to).
class ImageSetLogic {
public:
    static constexpr int kWhiteBalanceTimerId = 1010;
    static constexpr int kAutoTimerId = 1011;
    static constexpr int kTimerMilliseconds = 500;

    enum class WhiteBalanceState { Idle, Measuring, Applied };

    struct Value {
        bool readable = false; // range and value could be read at opening
        int minimum = 0;
        int maximum = 0;
        int defaultValue = 0;
        int shown = 0; // what the slider and the edit show
    };

    ImageSetLogic(ICameraControl& control, WhiteBalanceRequest& request);

    // Opening: the presence check (register 0x0000 non-zero within 10
    // reads), then each value's range, default and current value. A camera
    // already in automatic mode opens with "Auto" checked.
    void Open();

    [[nodiscard]] bool cameraPresent() const { return m_present; }
    [[nodiscard]] const Value& value(ImageValue which) const { return m_values[Slot(which)]; }
    // Whether the slider and edit of a value take input now.
    [[nodiscard]] bool valueEnabled(ImageValue which) const;
    [[nodiscard]] bool autoChecked() const { return m_auto; }
    [[nodiscard]] bool autoEnabled() const { return m_present; }
    [[nodiscard]] bool awbEnabled() const { return m_present && !m_auto; }
    [[nodiscard]] bool whiteBalanceDefaultEnabled() const { return m_present && !m_auto; }
    [[nodiscard]] bool processingDefaultEnabled() const { return m_present; }
    [[nodiscard]] bool autoTimerRunning() const { return m_autoTimer; }
    [[nodiscard]] bool whiteBalanceTimerRunning() const { return m_whiteBalanceTimer; }
    [[nodiscard]] WhiteBalanceState whiteBalanceState() const { return m_state; }

    // A slider moved or an edit changed to `wanted`: written unless "Auto"
    // holds the value or it equals the last value written.
    void ValueEdited(ImageValue which, int wanted);
    // "Default" 1090: red, green, blue and exposure; "Default" 1084: the four processing controls.
    void WhiteBalanceDefaults();
    void ProcessingDefaults();

    void SetAuto(bool on);
    // Timer 1011: the camera's own exposure and gains are shown.
    void OnAutoTimer();

    // "Awb": a press starts the repetition, a release ends it after the
    // round under way; a click measures at once.
    void AwbPressed();
    void AwbReleased();
    void AwbClicked();
    // Timer 1010: measure, or apply the ratios the frame handler left.
    void OnWhiteBalanceTimer();

    // "Cancel": "Auto" off, the eight values at opening written back (and
    // "Auto" on again when the camera was in automatic mode at opening).
    void Cancel();
    // Escape or the close box: "Auto" off; the values stay.
    void Escape();

private:
    [[nodiscard]] static std::size_t Slot(ImageValue which) { return static_cast<std::size_t>(IndexOf(which)); }
    // Writes unless equal to the last value written (or `force`).
    void Write(ImageValue which, int wanted, bool force);
    void AfterModeChange();
    void StartMeasurement();
    void ApplyMeasurement();
    void StopWhiteBalance();

    ICameraControl& m_control;
    WhiteBalanceRequest& m_request;
    bool m_present = false;
    std::array<Value, kImageValueCount> m_values{};
    std::array<int, kImageValueCount> m_atOpening{};
    std::array<int, kImageValueCount> m_lastWritten{};
    bool m_auto = false;
    bool m_autoAtOpening = false;
    bool m_autoTimer = false;
    WhiteBalanceState m_state = WhiteBalanceState::Idle;
    bool m_held = false;
    bool m_whiteBalanceTimer = false;
};

} // namespace orvane
