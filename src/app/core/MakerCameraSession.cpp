#include "app/core/MakerCameraSession.h"

#include "app/core/AppLog.h"
#include "capture/CameraImageSetup.h"

namespace orvane {

void MakerCameraSession::Begin(ICameraControl* control)
{
    m_active = true;
    m_waiting = control != nullptr;
    m_applied = false;
    m_frames = 0;
    m_request = {};
    if (control != nullptr && !CameraImageSetup(*control).InitialiseRegisters()) {
        kAppLog.Warning("the camera's start-up registers could not all be set");
    }
}

void MakerCameraSession::CountFrame()
{
    if (m_active && !m_applied) {
        ++m_frames;
    }
}

bool MakerCameraSession::OnTick(ICameraControl* control, const ProfileFile& profile)
{
    if (!m_active || m_applied || control == nullptr || m_frames <= kFramesBeforeApply) {
        return false;
    }
    CameraImageSetup(*control).ApplySavedSettings(profile);
    m_applied = true;
    return true;
}

void MakerCameraSession::End(ICameraControl* control, ProfileFile& profile)
{
    if (m_active && m_applied && control != nullptr && !CameraImageSetup(*control).SaveSettings(profile)) {
        kAppLog.Info("the camera did not answer; its saved image settings are kept");
    }
    m_active = false;
    m_waiting = false;
    m_applied = false;
    m_request = {};
}

bool MakerCameraSession::ServeWhiteBalance(const FrameImage& display)
{
    return MeasureWhiteBalance(display, m_request);
}

} // namespace orvane
