#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/CameraChoice.h"
#include "capture/CaptureCaps.h"

namespace orvane {

class CCapture;
class IVideoDevice;
class ProfileFile;

// A format chosen on a device's format page.
struct FormatChoice {
    std::uint32_t fourcc = 0;
    int width = 0;
    int height = 0;
    FrameRate rate;

    friend bool operator==(const FormatChoice&, const FormatChoice&) = default;
};

// The format page: shows the device's formats with `current` selected; the
// choice, or nothing when cancelled.
using FormatPage = std::function<std::optional<FormatChoice>(IVideoDevice& device, const FormatChoice& current)>;
// The port page: shows the device's inputs and sets the one chosen.
using PortPage = std::function<void(IVideoDevice& device)>;

// The steps of the "Device setting" dialog without the dialog: the device
// list, the selection's camera section and check boxes, "Camera Setting",
// "Port Setting", OK and CANCEL. It works on the capture object while the
// picture is frozen and never restarts the camera (LIVE does).
//
// UI thread only.
class DeviceSetLogic {
public:
    struct CheckBox {
        bool checked = false;
        bool enabled = true;

        friend bool operator==(const CheckBox&, const CheckBox&) = default;
    };

    // `profileName`, `smartTee`, `makerDialog` and `deviceIndex` are the
    // window's: the remembered profile, "SmartTee", "ShowQX4Dlg", "Device".
    DeviceSetLogic(CCapture& capture, ProfileFile& profile, std::string& profileName, int& smartTee,
                   int& makerDialog, int& deviceIndex, ProfileAsker ask);

    // Opening: the device names in their order, the stored device index
    // selected (none when it is outside the list) and the check boxes for it.
    void Open();
    // A new selection: its camera section is resolved (asking with several
    // profiles) and read into the capture object (the device's current format
    // when it has none), and the check boxes follow the model rules.
    void Select(int index);
    // "Camera Setting": the format page of the selection; a format chosen
    // there goes into the capture object and the camera section. False when
    // the device has no format page.
    bool CameraSetting(const FormatPage& page);
    // "Port Setting": the port page of the selection. False when it has none.
    bool PortSetting(const PortPage& page);
    // OK with the check boxes' states: the selection becomes the device index
    // (-1 without one: the camera is chosen by priority).
    void Ok(bool smartTeeChecked, bool makerChecked);
    // CANCEL: the device index of the opening comes back.
    void Cancel();

    [[nodiscard]] const std::vector<std::string>& names() const { return m_names; }
    [[nodiscard]] int selection() const { return m_selection; }
    [[nodiscard]] const CheckBox& smartTeeBox() const { return m_smartTeeBox; }
    [[nodiscard]] const CheckBox& makerBox() const { return m_makerBox; }

private:
    void UpdateCheckBoxes();
    [[nodiscard]] std::unique_ptr<IVideoDevice> OpenSelected();

    CCapture& m_capture;
    ProfileFile& m_profile;
    std::string& m_profileName;
    int& m_smartTee;
    int& m_makerDialog;
    int& m_deviceIndex;
    ProfileAsker m_ask;
    std::vector<std::string> m_names;
    int m_selection = -1;
    int m_openedIndex = -1;
    CheckBox m_smartTeeBox;
    CheckBox m_makerBox;
};

} // namespace orvane
