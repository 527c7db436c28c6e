#pragma once

namespace orvane {

class ICameraControl;
class ProfileFile;

// The maker camera's image settings outside the dialog: the sensor's
// start-up registers when the camera goes live, the saved settings of
// section "Camera" applied once its picture runs, and saved again when it
// stops.
//
// UI thread only (as the camera control it talks to).
class CameraImageSetup {
public:
    explicit CameraImageSetup(ICameraControl& control) : m_control(control) {}

    // The start-up register sequence; false when a step gave up.
    bool InitialiseRegisters();
    // The start-up sequence again, the apply pulse, then the eight values of
    // section "Camera"; a missing key gives the control's default, and a
    // value that is neither saved nor has a readable default is left alone.
    void ApplySavedSettings(const ProfileFile& profile);
    // Writes section "Camera" from the camera. A value the camera does not
    // answer keeps what the section held (or the control's default), so a
    // camera that went away never leaves zeros to be applied next time;
    // when nothing answers the section is left as it was. True when written.
    bool SaveSettings(ProfileFile& profile);

private:
    ICameraControl& m_control;
};

} // namespace orvane
