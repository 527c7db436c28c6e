#pragma once

#include <string>

#include <QDialog>

#include "capture/DeviceSetLogic.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace orvane {

class CCapture;
class ProfileFile;

// "Device setting" (dialog 156), opened by SET while the picture is frozen:
// the video inputs (list 1118, the position is the device index), "Camera
// Setting" (1132, the selection's format page), "Port Setting" (1133, its
// inputs), "Use Smart Tee" (1135), the hidden "Use dialog for 210QX4" (1245),
// OK and CANCEL. The steps are DeviceSetLogic's; the camera is restarted by
// LIVE, not here.
class CDeviceSetDlg : public QDialog {
    Q_OBJECT

public:
    CDeviceSetDlg(CCapture& capture, ProfileFile& profile, std::string& profileName, int& smartTee,
                  int& makerDialog, int& deviceIndex, ProfileAsker ask, QWidget* parent);

    // The pages "Camera Setting" and "Port Setting" open (tests answer them).
    void SetPages(FormatPage formatPage, PortPage portPage);

    [[nodiscard]] QListWidget* deviceList() const { return m_list; }
    [[nodiscard]] QCheckBox* smartTeeBox() const { return m_smartTee; }
    [[nodiscard]] QCheckBox* makerBox() const { return m_maker; }
    [[nodiscard]] QPushButton* cameraSettingButton() const { return m_cameraSetting; }
    [[nodiscard]] QPushButton* portSettingButton() const { return m_portSetting; }
    [[nodiscard]] const DeviceSetLogic& logic() const { return m_logic; }

    void accept() override;
    void reject() override;

private:
    void ShowCheckBoxes();

    DeviceSetLogic m_logic;
    FormatPage m_formatPage;
    PortPage m_portPage;
    QListWidget* m_list = nullptr;
    QPushButton* m_cameraSetting = nullptr;
    QPushButton* m_portSetting = nullptr;
    QCheckBox* m_smartTee = nullptr;
    QCheckBox* m_maker = nullptr;
};

} // namespace orvane
