#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/core/ICaptureSource.h"
#include "app/core/MakerCameraSession.h"
#include "capture/CCapture.h"
#include "capture/CameraChoice.h"
#include "settings/CameraSection.h"

namespace orvane {

class FrameImage;

// The camera through the capture graph: chooses the device ("Device", or by
// the camera sections' "Priority"), reads its camera section, sizes the
// frames, starts the graph and turns each arriving frame into the display
// frame. A maker camera's image settings follow its live run
// (MakerCameraSession): set up when it starts, applied on the tick once its
// frames run, measured for white balance on request, saved when it stops.
//
// Thread affinity: UI thread, except the frame-ready call handed to Connect,
// which CCapture calls on its streaming thread (under its frame lock), with
// the atomic that keeps one frame-ready call in flight. OnFrameReady reads the
// capture frame under CCapture::LockFrame().
class LiveCamera final : public ICaptureSource {
public:
    // Frames per second are measured over windows longer than this.
    static constexpr std::uint32_t kFpsWindowMilliseconds = 1000;

    explicit LiveCamera(bool demo);
    ~LiveCamera() override;
    LiveCamera(const LiveCamera&) = delete;
    LiveCamera& operator=(const LiveCamera&) = delete;

    void Connect(MeasureDlgState& state, std::function<void()> frameReady) override;
    void Disconnect() override;
    bool BeginLive() override;
    void EndLive() override;
    [[nodiscard]] bool isLive() const override { return m_live; }
    // The camera's section name while live; after its stream failed, that
    // name followed by " - no camera" until it is live again.
    [[nodiscard]] std::string deviceCaption() const override;
    bool OnFrameReady(std::uint32_t now) override;
    bool StreamFailed() override;
    void OnTick() override;
    [[nodiscard]] bool setAvailable() const override { return m_maker.setEnabled(); }

    [[nodiscard]] CCapture& capture() { return m_capture; }
    // The maker camera's image settings over the live run.
    [[nodiscard]] MakerCameraSession& makerSession() { return m_maker; }
    // The profile chosen for a camera with several profiles, remembered
    // between starts until the device's format must be read again.
    [[nodiscard]] std::string& profileName() { return m_profileName; }
    // Who answers the profile choice (the "Select camera" dialog); without
    // one the first profile is taken.
    void SetProfileAsker(ProfileAsker ask) { m_askProfile = std::move(ask); }

private:
    // The device index: "Device", or the first of the greatest "Priority"; -1 when there is none.
    [[nodiscard]] int ChooseDevice();
    // The sources of the settings' section "Sources", listed after the devices.
    void DeclareSources();
    // The streaming thread's call: frameReady, unless an earlier call has not
    // been answered by OnFrameReady yet (a busy UI thread never works through
    // a queue of stale frames).
    [[nodiscard]] FrameNotifier Notifier();

    CCapture m_capture;
    MeasureDlgState* m_state = nullptr;
    std::function<void()> m_frameReady;
    std::atomic<bool> m_framePending{false};
    bool m_live = false;
    bool m_lost = false;   // the stream failed; the retry brings it back
    bool m_asking = false; // the profile choice is open
    std::string m_caption;
    std::string m_profileName;
    ProfileAsker m_askProfile;
    CameraSection m_section;
    MakerCameraSession m_maker;
    std::uint32_t m_fpsStart = 0;
    int m_fpsFrames = 0;
    bool m_fpsStarted = false;
};

// Adds `blue` to every blue byte and `red` to every red byte of a 24- or
// 32-bit picture, each clamped to 0..255; green is left as it is.
void ApplyColourOffsets(FrameImage& image, int blue, int red);

} // namespace orvane
