#include "capture/DeviceSetLogic.h"

#include <utility>

#include "capture/CCapture.h"
#include "capture/VideoDevices.h"
#include "platform/ProfileFile.h"
#include "settings/CameraSection.h"

namespace orvane {

DeviceSetLogic::DeviceSetLogic(CCapture& capture, ProfileFile& profile, std::string& profileName, int& smartTee,
                               int& makerDialog, int& deviceIndex, ProfileAsker ask)
    : m_capture(capture), m_profile(profile), m_profileName(profileName), m_smartTee(smartTee),
      m_makerDialog(makerDialog), m_deviceIndex(deviceIndex), m_ask(std::move(ask))
{
}

void DeviceSetLogic::Open()
{
    m_capture.EnumDeviceNames(m_names);
    m_openedIndex = m_deviceIndex;
    const bool listed = m_openedIndex >= 0 && static_cast<std::size_t>(m_openedIndex) < m_names.size();
    m_selection = listed ? m_openedIndex : -1;
    UpdateCheckBoxes();
}

void DeviceSetLogic::UpdateCheckBoxes()
{
    const std::string name = m_selection >= 0 ? m_names[static_cast<std::size_t>(m_selection)] : std::string();
    if (m_selection >= 0 && ForcesSmartTee(name)) {
        m_smartTee = 1;
        m_smartTeeBox = {true, false};
    } else {
        m_smartTeeBox = {m_smartTee != 0, true};
    }
    if (m_selection >= 0 && IsMakerCamera(name)) {
        m_makerDialog = 1;
        m_makerBox = {true, false};
    } else {
        m_makerBox = {m_makerDialog != 0, true};
    }
}

void DeviceSetLogic::Select(int index)
{
    m_capture.TearDownGraph();
    if (index < 0 || static_cast<std::size_t>(index) >= m_names.size() || index >= CCapture::kMaxDevices) {
        return;
    }
    m_selection = index;
    m_capture.deviceIndex = index;
    const std::string& name = m_names[static_cast<std::size_t>(index)];
    const std::string section = ResolveCameraSection(m_profile, name, m_profileName, true, m_ask);
    CameraSection values;
    LoadDeviceDialogSection(m_profile, section, values);
    m_capture.width = values.Width;
    m_capture.height = values.Height;
    m_capture.frameTime = values.frameTime;
    m_capture.subType = values.SubType;
    if (m_capture.width == -1 || m_capture.height == -1) {
        m_capture.ReadCurrentFormat();
    }
    UpdateCheckBoxes();
    // Opening the device is what recognises (and attaches) the maker's camera.
    m_capture.OpenDevice();
    m_capture.TearDownGraph();
}

std::unique_ptr<IVideoDevice> DeviceSetLogic::OpenSelected()
{
    m_capture.TearDownGraph();
    if (m_selection < 0) {
        return nullptr;
    }
    m_capture.deviceIndex = m_selection;
    const std::vector<CaptureDevice> devices = m_capture.EnumDevices();
    if (static_cast<std::size_t>(m_selection) >= devices.size()) {
        return nullptr;
    }
    return OpenVideoDevice(devices[static_cast<std::size_t>(m_selection)], m_capture.demoCamera());
}

bool DeviceSetLogic::CameraSetting(const FormatPage& page)
{
    const std::unique_ptr<IVideoDevice> device = OpenSelected();
    if (device == nullptr) {
        return false;
    }
    FormatChoice current;
    current.fourcc = FourccOf(m_capture.subType).value_or(0);
    if (m_capture.subType == kMediaSubtypeRgb24) {
        current.fourcc = MakeFourcc('B', 'G', 'R', '3');
    }
    current.width = m_capture.width;
    current.height = m_capture.height;
    current.rate = FrameRateOf(m_capture.frameTime);
    const std::optional<FormatChoice> chosen = page(*device, current);
    if (!chosen) {
        return true;
    }
    m_capture.width = chosen->width;
    m_capture.height = chosen->height;
    if (const std::int64_t frameTime = FrameTimeOf(chosen->rate); frameTime > 0) {
        m_capture.frameTime = frameTime;
    }
    m_capture.subType = SubTypeOfFourcc(chosen->fourcc);
    CameraSection values;
    values.Width = m_capture.width;
    values.Height = m_capture.height;
    values.frameTime = m_capture.frameTime;
    values.SubType = m_capture.subType;
    SaveDeviceDialogSection(m_profile, m_names[static_cast<std::size_t>(m_selection)], m_profileName, values);
    return true;
}

bool DeviceSetLogic::PortSetting(const PortPage& page)
{
    const std::unique_ptr<IVideoDevice> device = OpenSelected();
    if (device == nullptr) {
        return false;
    }
    page(*device);
    return true;
}

void DeviceSetLogic::Ok(bool smartTeeChecked, bool makerChecked)
{
    m_capture.deviceIndex = m_selection;
    m_deviceIndex = m_selection;
    m_capture.TearDownGraph();
    m_smartTee = smartTeeChecked ? 1 : 0;
    m_makerDialog = makerChecked ? 1 : 0;
}

void DeviceSetLogic::Cancel()
{
    m_capture.deviceIndex = m_openedIndex;
    m_deviceIndex = m_openedIndex;
    m_capture.TearDownGraph();
}

} // namespace orvane
