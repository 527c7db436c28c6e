#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/core/ICaptureSource.h"
#include "capture/CCapture.h"
#include "settings/CameraSection.h"

namespace orvane {

class FrameImage;

// The camera through the capture graph: chooses the device ("Device", or by
// the camera sections' "Priority"), reads its camera section, sizes the
// frames, starts the graph and turns each arriving frame into the display
// frame.
//
// Thread affinity: UI thread, except the frame-ready call handed to Connect,
// which CCapture calls on its streaming thread. OnFrameReady reads the capture
// frame under CCapture::LockFrame().
class LiveCamera final : public ICaptureSource {
public:
    // Frames per second are measured over windows longer than this.
    static constexpr std::uint32_t kFpsWindowMilliseconds = 1000;

    explicit LiveCamera(bool demo);
    ~LiveCamera() override;
    LiveCamera(const LiveCamera&) = delete;
    LiveCamera& operator=(const LiveCamera&) = delete;

    void Connect(MeasureDlgState& state, std::function<void()> frameReady) override;
    bool BeginLive() override;
    void EndLive() override;
    [[nodiscard]] bool isLive() const override { return m_live; }
    [[nodiscard]] std::string deviceCaption() const override { return m_caption; }
    bool OnFrameReady(std::uint32_t now) override;

    [[nodiscard]] CCapture& capture() { return m_capture; }

private:
    // The device index: "Device", or the first of the greatest "Priority"; -1 when there is none.
    [[nodiscard]] int ChooseDevice();

    CCapture m_capture;
    MeasureDlgState* m_state = nullptr;
    std::function<void()> m_frameReady;
    bool m_live = false;
    std::string m_caption;
    CameraSection m_section;
    std::uint32_t m_fpsStart = 0;
    int m_fpsFrames = 0;
    bool m_fpsStarted = false;
};

// Adds `blue` to every blue byte and `red` to every red byte of a 24- or
// 32-bit picture, each clamped to 0..255; green is left as it is.
void ApplyColourOffsets(FrameImage& image, int blue, int red);

} // namespace orvane
