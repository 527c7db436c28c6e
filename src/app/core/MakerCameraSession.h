#pragma once

#include "capture/WhiteBalance.h"

namespace orvane {

class FrameImage;
class ICameraControl;
class ProfileFile;

// The maker camera's image settings over one live run: the start-up
// registers when it goes live, the saved settings of section "Camera"
// applied on the first tick after more than 10 frames (SET waits for that),
// the white-balance request the frame handler serves, and the settings saved
// when it stops.
//
// UI thread only.
class MakerCameraSession {
public:
    static constexpr int kFramesBeforeApply = 10;

    // BeginLive of a maker camera; `control` is null when the camera control
    // library could not be attached, and then nothing waits for it.
    void Begin(ICameraControl* control);
    // A frame went through the frame handler: counted until the settings are applied.
    void CountFrame();
    // The 100 ms tick: true when the saved settings were applied now.
    bool OnTick(ICameraControl* control, const ProfileFile& profile);
    // EndLive: section "Camera" is written when this run applied the saved
    // settings (before that the camera holds only its start-up values, and
    // the section what the operator set last).
    void End(ICameraControl* control, ProfileFile& profile);

    // Frame handler step 4: a raised white-balance request is measured on
    // the display frame; true when this frame was used for it.
    bool ServeWhiteBalance(const FrameImage& display);

    [[nodiscard]] bool active() const { return m_active; }
    [[nodiscard]] bool settingsApplied() const { return m_applied; }
    // SET is disabled while the saved settings wait to be applied.
    [[nodiscard]] bool setEnabled() const { return !m_active || !m_waiting || m_applied; }
    [[nodiscard]] int frames() const { return m_frames; }
    [[nodiscard]] WhiteBalanceRequest& whiteBalance() { return m_request; }

private:
    bool m_active = false;
    bool m_waiting = false; // a control was attached: its settings are to be applied
    bool m_applied = false;
    int m_frames = 0;
    WhiteBalanceRequest m_request;
};

} // namespace orvane
