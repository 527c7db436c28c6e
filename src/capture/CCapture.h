#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "camctl/C5U87xCtl.h"
#include "camctl/ICameraControl.h"
#include "camctl/SimulatedCamera.h"
#include "settings/Guid.h"

using GstElement = struct _GstElement;

namespace orvane {

// One video input: its display name and how its frames are produced.
struct CaptureDevice {
    std::string name;              // friendly name, the key of its camera section
    std::string path;              // device node (/dev/video0); empty for built-in sources
    std::string sourceDescription; // gst-launch text of the source element(s)
    int vendorId = -1;             // USB ids when known
    int productId = -1;
    bool demo = false; // the built-in demo camera (fed by appsrc)
};

// Where frames are written: a 24-bit picture with bottom-up rows of `stride`
// bytes, as a FrameImage holds it.
struct FrameTarget {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Called on the streaming thread after each frame has been written. It must
// only hand the news to the UI thread (the app posts an event).
using FrameNotifier = std::function<void()>;

// The capture graph: a GStreamer pipeline from one video input through a caps
// filter (size, frame rate, format), an optional tee whose second branch ends
// in a fakesink, decoding and conversion to BGR, into an appsink.
//
// Thread affinity: every operation runs on the UI thread. The appsink's
// new-sample callback runs on a GStreamer streaming thread; it copies the
// frame into the target and calls the notifier, both under the frame lock, so
// that once SetNotifier or TearDownGraph has returned the old notifier is
// never called again and the target is never written again. The UI thread
// holds LockFrame() while it reads the target. The target is never changed
// while a pipeline exists: its owner tears the graph down before freeing it.
class CCapture {
public:
    static constexpr int kMaxDevices = 10;

    // Last-error codes (diagnostic only).
    static constexpr int kErrorGraph = 1;    // pipeline could not be built
    static constexpr int kErrorDevice = 2;   // no device at the index
    static constexpr int kErrorControl = 3;  // state change failed
    static constexpr int kErrorArgument = 5; // index above 9

    // The maker's camera, by its USB ids.
    static constexpr int kMakerVendorId = 0x12C1;
    static constexpr int kMakerProductId = 0x5020;

    CCapture();
    virtual ~CCapture();
    CCapture(const CCapture&) = delete;
    CCapture& operator=(const CCapture&) = delete;

    // The requested format; width or height -1 = read from the device.
    int deviceIndex = 0;
    int width = 640;
    int height = 480;
    int priority = 0;
    std::int64_t frameTime = 333333; // 100-ns units
    Guid subType = kKeepSubtype;

    // Lists the built-in demo camera "Orvane demo camera" first. It presents
    // itself as the maker's camera, simulated in software.
    void SetDemoCamera(bool enabled) { m_demo = enabled; }
    // The demo camera's controls and registers, which its picture follows.
    [[nodiscard]] SimulatedCamera& demoCamera() { return *m_demoCamera; }
    // The demo camera's focus control: 0 sharp, 1 .. kDemoMaxBlur ever more
    // blurred (BlurDemoPicture). Takes effect with the next frame; any thread.
    void SetDemoFocus(int blur) { m_demoFocus.store(blur); }
    [[nodiscard]] int demoFocus() const { return m_demoFocus.load(); }
    // Declares a further source, listed after the devices found: `description`
    // is the gst-launch text of its source element(s).
    void AddSourceDevice(std::string name, std::string description);
    // Forgets the declared sources (before they are declared again).
    void ClearSourceDevices() { m_declared.clear(); }

    // The inputs in their order: demo camera, devices found, declared sources;
    // at most kMaxDevices.
    [[nodiscard]] std::vector<CaptureDevice> EnumDevices() const;

    // Chooses the device at deviceIndex: 0, or -1 (last error 2) when there is
    // none. Any attachment of the camera control wrapper is closed; the
    // maker's camera gets it attached again (address width 1, data width 2,
    // register 0xF0 set to 0, register 0x00 read).
    int OpenDevice();
    // Builds the pipeline and runs it; opens the device first when needed. 1 or 0.
    int StartPreview(FrameNotifier notifier, FrameTarget target, bool useSmartTee);
    // Replaces the frame notifier of the running graph (nullptr: none).
    void SetNotifier(FrameNotifier notifier);
    // Sets the pipeline playing; always 1 (a failure only sets last error 3).
    int RunGraph();
    // Pauses the pipeline: 1 on success, 0 on failure.
    int StopGraph();
    // Stops and drops the pipeline; the object can be opened again.
    void TearDownGraph();
    void ReleaseCapture();

    // The reason the running graph stopped (an error or the end of the stream
    // on its bus) since the last call; empty while it streams.
    [[nodiscard]] std::string TakeStreamFailure();
    // True when the opened device (opened here when needed) offers the
    // requested width, height, frame rate and subtype, or cannot tell; false
    // when it does not. A device with settings (V4L2, the demo camera) answers
    // from its list of formats, a declared source from its caps.
    [[nodiscard]] bool FormatIsOffered();

    // Friendly names of the inputs: count, or -1 when nothing can enumerate.
    int EnumDeviceNames(std::vector<std::string>& names) const;
    // The friendly name at `index`: 1, or 0 with an empty name (last error 2
    // when there are fewer devices, 5 when the index is outside 0..9).
    int GetDeviceName(int index, std::string& name);
    // Reads width, height, frame time and subtype from what the device delivers
    // unconstrained (or what the running pipeline negotiated): 1 or 0.
    int ReadCurrentFormat();

    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] bool isRunning() const { return m_running; }
    [[nodiscard]] const CaptureDevice& device() const { return m_device; }
    // The maker camera's controls: set while the opened device is the maker's
    // camera and the camera control library is attached to it, else null.
    [[nodiscard]] ICameraControl* cameraControl() { return m_cameraControl; }
    [[nodiscard]] int lastError() const { return m_lastError; }
    // The pipeline text of the last StartPreview (logs and tests).
    [[nodiscard]] const std::string& pipelineText() const { return m_pipelineText; }

    // Streaming thread only: the appsink's new-sample callback. Copies the frame
    // into the target with rows flipped to bottom-up and calls the notifier.
    void OnSampleFromSink(GstElement* sink);

    [[nodiscard]] std::unique_lock<std::mutex> LockFrame() { return std::unique_lock(m_frameMutex); }
    [[nodiscard]] std::uint64_t framesDelivered() const { return m_delivered.load(); }
    // Frames whose negotiated size differed from the target's: not written.
    [[nodiscard]] std::uint64_t framesRefused() const { return m_refused.load(); }

private:
    [[nodiscard]] std::string BuildPipelineText(bool useSmartTee) const;
    void StartDemoFeed(GstElement* pipeline);
    void AttachCameraControl();

    bool m_demo = false;
    // Shared with the wrapper's library while attached to the demo camera.
    std::shared_ptr<SimulatedCamera> m_demoCamera = std::make_shared<SimulatedCamera>("orvane-demo-camera");
    C5U87xCtl m_cameraWrapper;
    // Read by the demo feed on its streaming thread.
    std::atomic<int> m_demoFocus{0};
    std::vector<CaptureDevice> m_declared;
    CaptureDevice m_device;
    ICameraControl* m_cameraControl = nullptr; // the wrapper while attached to the maker's camera
    bool m_open = false;
    bool m_running = false;
    int m_lastError = 0;
    std::string m_pipelineText;
    GstElement* m_pipeline = nullptr;

    std::mutex m_frameMutex;
    FrameTarget m_target;     // fixed while m_pipeline exists
    FrameNotifier m_notifier; // fixed while m_pipeline exists
    std::atomic<std::uint64_t> m_delivered{0};
    std::atomic<std::uint64_t> m_refused{0};
    std::atomic<bool> m_refusalLogged{false};
};

} // namespace orvane
