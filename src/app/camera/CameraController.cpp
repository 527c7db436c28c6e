#include "app/camera/CameraController.h"

#include <memory>

#include <QAbstractButton>
#include <QWidget>

#include "app/camera/CCameraSelectDlg.h"
#include "app/camera/CDeviceSetDlg.h"
#include "app/camera/CImageSetQX4Dlg.h"
#include "app/camera/CSourcePropertyPage.h"
#include "app/core/LiveCamera.h"
#include "app/core/MeasureDlgState.h"
#include "app/qt/AppLog.h"
#include "capture/VideoDevices.h"

namespace orvane {

CameraController::CameraController(QWidget& window, MeasureDlgState& state, ICaptureSource& capture,
                                   QAbstractButton& setButton)
    : QObject(&window), m_window(window), m_state(state), m_setButton(setButton),
      m_camera(dynamic_cast<LiveCamera*>(&capture))
{
    if (m_camera != nullptr) {
        m_camera->SetProfileAsker([this](const std::string& /*cameraName*/,
                                         const std::vector<std::string>& profileNames, const std::string& current) {
            return CCameraSelectDlg::Ask(profileNames, current, &m_window);
        });
    }
    connect(&setButton, &QAbstractButton::clicked, this, &CameraController::OnSet);
}

CameraController::~CameraController()
{
    if (m_camera != nullptr) {
        m_camera->SetProfileAsker(nullptr);
    }
}

void CameraController::OnSet()
{
    if (m_camera == nullptr) {
        return;
    }
    if (m_state.isFrozen()) {
        OpenDeviceDialog();
    } else if (m_state.isLive()) {
        ICameraControl* control = m_camera->capture().cameraControl();
        if (m_state.settings().ShowQX4Dlg != 0 && control != nullptr) {
            // The saved settings go to the camera first; until then SET waits.
            if (m_state.setButtonEnabled()) {
                OpenImageSettings(*control);
            }
        } else {
            OpenSourcePage();
        }
    }
}

void CameraController::RefreshSetButton()
{
    m_setButton.setEnabled(m_state.setButtonEnabled());
}

void CameraController::OpenImageSettings(ICameraControl& control)
{
    CImageSetQX4Dlg dialog(control, m_camera->makerSession().whiteBalance(), &m_window);
    dialog.exec();
}

void CameraController::OpenDeviceDialog()
{
    OrvaneSettings& settings = m_state.settings();
    CDeviceSetDlg dialog(
        m_camera->capture(), m_state.profile(), m_camera->profileName(), settings.SmartTee, settings.ShowQX4Dlg,
        settings.Device,
        [this](const std::string& /*cameraName*/, const std::vector<std::string>& profileNames,
               const std::string& current) { return CCameraSelectDlg::Ask(profileNames, current, &m_window); },
        &m_window);
    dialog.exec();
}

void CameraController::OpenSourcePage()
{
    CCapture& capture = m_camera->capture();
    const std::unique_ptr<IVideoDevice> device = OpenVideoDevice(capture.device(), capture.demoCamera());
    if (device == nullptr) {
        qCInfo(lcApp) << "the source" << QString::fromStdString(capture.device().name) << "has no settings page";
        return;
    }
    CSourcePropertyPage page(*device, &m_window);
    page.exec();
}

} // namespace orvane
