#include "capture/CCapture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include "camctl/V4L2UvcTransport.h"
#include "capture/CaptureCaps.h"
#include "capture/CaptureLog.h"
#include "capture/DemoCameraPicture.h"
#include "capture/DemoPicture.h"
#include "capture/DemoVideoDevice.h"
#include "capture/VideoDevices.h"

namespace orvane {

namespace {

constexpr const char* kDemoName = "Orvane demo camera";

// GStreamer hands a pipeline to its pool threads, and takes it back, through
// locks that ThreadSanitizer cannot see. A release where one side is done and
// an acquire where the other begins make those hand-overs visible to it (one
// atomic operation per frame); the program's correctness does not rest on it.
std::atomic<std::uint64_t> g_handOvers{0};

void HandOver()
{
    g_handOvers.fetch_add(1, std::memory_order_release);
}

void TakeOver()
{
    static_cast<void>(g_handOvers.load(std::memory_order_acquire));
}
constexpr GstClockTime kProbeTimeout = 3 * GST_SECOND;

bool InitialiseGStreamer()
{
    static const bool initialised = [] {
        GError* error = nullptr;
        if (gst_init_check(nullptr, nullptr, &error) == FALSE) {
            kCaptureLog.Error(std::string("GStreamer cannot start: ") + (error != nullptr ? error->message : "?"));
            g_clear_error(&error);
            return false;
        }
        return true;
    }();
    return initialised;
}

std::string DemoSourceText()
{
    return "appsrc name=demo is-live=true format=time do-timestamp=true caps=\"video/x-raw,format=BGR,width=" +
           std::to_string(kDemoWidth) + ",height=" + std::to_string(kDemoHeight) +
           ",framerate=" + std::to_string(kDemoFramesPerSecond) + "/1\" ! videoconvert ! videoscale";
}

// A USB id from a device property: hex text ("046d") or a number.
int UsbIdOf(const GstStructure* properties, const char* key)
{
    if (properties == nullptr || !gst_structure_has_field(properties, key)) {
        return -1;
    }
    int number = 0;
    if (gst_structure_get_int(properties, key, &number) != FALSE) {
        return number;
    }
    const char* text = gst_structure_get_string(properties, key);
    if (text == nullptr) {
        return -1;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 16);
    return (end != text && value >= 0 && value <= 0xFFFF) ? static_cast<int>(value) : -1;
}

// A USB id of the device behind a video node, from sysfs (four hex digits).
int SysfsUsbId(const std::string& devicePath, const char* file)
{
    const std::filesystem::path node(devicePath);
    const std::filesystem::path idPath =
        std::filesystem::path("/sys/class/video4linux") / node.filename() / "device" / ".." / file;
    std::ifstream in(idPath);
    char text[8] = {};
    if (!in.read(text, 4) && in.gcount() != 4) {
        return -1;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 16);
    return end == text + 4 ? static_cast<int>(value) : -1;
}

std::string DevicePathOf(const GstStructure* properties)
{
    for (const char* key : {"device.path", "api.v4l2.path"}) {
        const char* path = properties != nullptr ? gst_structure_get_string(properties, key) : nullptr;
        if (path != nullptr && *path != '\0') {
            return path;
        }
    }
    return {};
}

void AppendMonitoredDevices(std::vector<CaptureDevice>& devices)
{
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    GList* found = gst_device_monitor_get_devices(monitor);
    for (GList* item = found; item != nullptr && devices.size() < CCapture::kMaxDevices; item = item->next) {
        GstDevice* gstDevice = GST_DEVICE(item->data);
        GstStructure* properties = gst_device_get_properties(gstDevice);
        CaptureDevice device;
        device.path = DevicePathOf(properties);
        gchar* name = gst_device_get_display_name(gstDevice);
        device.name = name != nullptr ? name : device.path;
        g_free(name);
        device.vendorId = UsbIdOf(properties, "device.vendor.id");
        device.productId = UsbIdOf(properties, "device.product.id");
        if (properties != nullptr) {
            gst_structure_free(properties);
        }
        // Only device nodes can be opened; a quote would break the pipeline text.
        if (device.path.empty() || device.path.find('"') != std::string::npos) {
            continue;
        }
        if (device.vendorId < 0 || device.productId < 0) {
            device.vendorId = SysfsUsbId(device.path, "idVendor");
            device.productId = SysfsUsbId(device.path, "idProduct");
        }
        device.sourceDescription = "v4l2src device=\"" + device.path + "\"";
        devices.push_back(std::move(device));
    }
    g_list_free_full(found, gst_object_unref);
    gst_object_unref(monitor);
}

// The demo feed: one frame per 1/15 s, drawn and paced on appsrc's own
// thread, which alone touches it once the graph runs (appsrc stamps the
// buffers). `focus` is the capture's focus control; the picture follows the
// simulated camera `camera`, whose state it reads once per frame.
struct DemoFeed {
    DemoFeed(const std::atomic<int>& focusControl, std::shared_ptr<const SimulatedCamera> simulated)
        : focus(focusControl), camera(std::move(simulated))
    {
    }
    const std::atomic<int>& focus;
    const std::shared_ptr<const SimulatedCamera> camera;
    std::uint64_t frame = 0;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    DemoScene scene;
};

void PushDemoFrame(GstAppSrc* source, guint /*length*/, gpointer data)
{
    TakeOver();
    auto* feed = static_cast<DemoFeed*>(data);
    const auto period = std::chrono::microseconds(1000000 / kDemoFramesPerSecond);
    std::this_thread::sleep_until(feed->start + period * feed->frame);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, DemoScene::FrameBytes(), nullptr);
    GstMapInfo map;
    if (buffer == nullptr || !gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        if (buffer != nullptr) {
            gst_buffer_unref(buffer);
        }
        return;
    }
    feed->scene.DrawFrame(feed->frame, map.data, std::clamp(feed->focus.load(), 0, kDemoMaxBlur));
    ApplyDemoCamera(map.data, kDemoWidth, kDemoHeight, feed->camera->Picture());
    gst_buffer_unmap(buffer, &map);
    ++feed->frame;
    HandOver();
    gst_app_src_push_buffer(source, buffer);
}

void DeleteDemoFeed(gpointer data)
{
    delete static_cast<DemoFeed*>(data);
}

GstFlowReturn OnNewSample(GstAppSink* sink, gpointer self)
{
    static_cast<CCapture*>(self)->OnSampleFromSink(GST_ELEMENT(sink));
    return GST_FLOW_OK;
}

void LogBusErrors(GstElement* pipeline)
{
    GstBus* bus = gst_element_get_bus(pipeline);
    while (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        kCaptureLog.Warning(std::string("pipeline error: ") + (error != nullptr ? error->message : "?"));
        g_clear_error(&error);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
}

} // namespace

CCapture::CCapture()
{
    InitialiseGStreamer();
}

CCapture::~CCapture()
{
    ReleaseCapture();
}

void CCapture::AddSourceDevice(std::string name, std::string description)
{
    CaptureDevice device;
    device.name = std::move(name);
    device.sourceDescription = std::move(description);
    m_declared.push_back(std::move(device));
}

std::vector<CaptureDevice> CCapture::EnumDevices() const
{
    std::vector<CaptureDevice> devices;
    if (!InitialiseGStreamer()) {
        return devices;
    }
    if (m_demo) {
        CaptureDevice demo;
        demo.name = kDemoName;
        demo.sourceDescription = DemoSourceText();
        demo.demo = true;
        demo.vendorId = kMakerVendorId;
        demo.productId = kMakerProductId;
        devices.push_back(std::move(demo));
    }
    AppendMonitoredDevices(devices);
    for (const CaptureDevice& declared : m_declared) {
        if (devices.size() >= kMaxDevices) {
            break;
        }
        devices.push_back(declared);
    }
    return devices;
}

int CCapture::OpenDevice()
{
    m_cameraControl = nullptr;
    const std::vector<CaptureDevice> devices = EnumDevices();
    if (deviceIndex < 0 || deviceIndex >= kMaxDevices || static_cast<std::size_t>(deviceIndex) >= devices.size()) {
        m_lastError = kErrorDevice;
        return -1;
    }
    m_device = devices[static_cast<std::size_t>(deviceIndex)];
    AttachCameraControl();
    m_open = true;
    return 0;
}

void CCapture::AttachCameraControl()
{
    // A wrapper left attached to another device would keep its node open.
    m_cameraWrapper.Close();
    if (m_device.vendorId != kMakerVendorId || m_device.productId != kMakerProductId) {
        return;
    }
    std::shared_ptr<ICameraTransport> transport;
    if (m_device.demo) {
        transport = m_demoCamera;
    } else {
        transport = V4L2UvcTransport::Open(m_device.path, m_device.productId);
    }
    // The demo camera lives in this process: a lock file shared by every
    // demo (and every test process) would only make them wait on each other.
    if (!transport || !m_cameraWrapper.Attach(std::move(transport), !m_device.demo)) {
        kCaptureLog.Warning("the camera control library cannot reach " + m_device.name);
        return;
    }
    m_cameraWrapper.SetAddressWidth(1);
    m_cameraWrapper.SetDataWidth(2);
    // Page 0 of the sensor, then its chip version: the sensor answers.
    std::uint16_t chipVersion = 0;
    m_cameraWrapper.WriteRegister(0xF0, 0);
    m_cameraWrapper.ReadRegister(0x00, chipVersion);
    m_cameraControl = &m_cameraWrapper;
}

std::string CCapture::BuildPipelineText(bool useSmartTee) const
{
    std::string text = m_device.sourceDescription;
    text += " ! capsfilter name=format caps=\"" + CaptureCapsText(width, height, frameTime, subType) + "\"";
    if (useSmartTee) {
        text += " ! tee name=smart smart. ! queue ! fakesink sync=false async=false smart. ! queue";
    }
    const std::string decode = DecodeStage(subType);
    if (!decode.empty()) {
        text += " ! " + decode;
    }
    text += " ! videoconvert ! video/x-raw,format=BGR ! appsink name=grabber sync=false max-buffers=1 drop=true";
    return text;
}

int CCapture::StartPreview(FrameNotifier notifier, FrameTarget target, bool useSmartTee)
{
    if (!m_open && OpenDevice() < 0) {
        return 0;
    }
    if (m_pipeline != nullptr) {
        TearDownGraph();
        m_open = true;
    }
    m_pipelineText = BuildPipelineText(useSmartTee);
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(m_pipelineText.c_str(), &error);
    if (pipeline == nullptr || error != nullptr) {
        kCaptureLog.Warning("pipeline cannot be built (" + std::string(error != nullptr ? error->message : "?") +
                            "): " + m_pipelineText);
        g_clear_error(&error);
        if (pipeline != nullptr) {
            gst_object_unref(pipeline);
        }
        m_lastError = kErrorGraph;
        return 0;
    }
    {
        const std::scoped_lock lock(m_frameMutex);
        m_target = target;
        m_notifier = std::move(notifier);
    }
    m_refusalLogged = false;

    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "grabber");
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = OnNewSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
    gst_object_unref(sink);
    if (m_device.demo) {
        StartDemoFeed(pipeline);
    }
    m_pipeline = pipeline;
    HandOver();
    return RunGraph();
}

void CCapture::StartDemoFeed(GstElement* pipeline)
{
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "demo");
    if (source == nullptr) {
        return;
    }
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = PushDemoFrame;
    gst_app_src_set_callbacks(GST_APP_SRC(source), &callbacks, new DemoFeed(m_demoFocus, m_demoCamera),
                              DeleteDemoFeed);
    gst_object_unref(source);
}

int CCapture::RunGraph()
{
    if (m_pipeline == nullptr || gst_element_set_state(m_pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        m_lastError = kErrorControl;
    }
    m_running = true;
    return 1;
}

int CCapture::StopGraph()
{
    if (m_pipeline == nullptr || gst_element_set_state(m_pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        m_lastError = kErrorControl;
        return 0;
    }
    m_running = false;
    return 1;
}

void CCapture::SetNotifier(FrameNotifier notifier)
{
    const std::scoped_lock lock(m_frameMutex);
    m_notifier = std::move(notifier);
}

void CCapture::TearDownGraph()
{
    if (m_pipeline != nullptr) {
        // No new callback starts once they are cleared; the change to NULL joins
        // the streaming threads, so the one that may be running ends too.
        GstElement* sink = gst_bin_get_by_name(GST_BIN(m_pipeline), "grabber");
        if (sink != nullptr) {
            GstAppSinkCallbacks none{};
            gst_app_sink_set_callbacks(GST_APP_SINK(sink), &none, nullptr, nullptr);
            gst_object_unref(sink);
        }
        const GstStateChangeReturn stopped = gst_element_set_state(m_pipeline, GST_STATE_NULL);
        TakeOver();
        if (stopped == GST_STATE_CHANGE_FAILURE) {
            // The target is emptied below under the frame lock, so a thread that
            // did not stop still writes nothing.
            kCaptureLog.Error("the pipeline did not stop: " + m_pipelineText);
            m_lastError = kErrorControl;
        }
        LogBusErrors(m_pipeline);
        gst_object_unref(m_pipeline);
        m_pipeline = nullptr;
    }
    m_running = false;
    m_open = false;
    const std::scoped_lock lock(m_frameMutex);
    m_target = {};
    m_notifier = nullptr;
}

void CCapture::ReleaseCapture()
{
    TearDownGraph();
}

std::string CCapture::TakeStreamFailure()
{
    if (m_pipeline == nullptr) {
        return {};
    }
    std::string reason;
    GstBus* bus = gst_element_get_bus(m_pipeline);
    while (GstMessage* message =
               gst_bus_pop_filtered(bus, static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS))) {
        if (reason.empty()) {
            if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
                reason = "end of stream";
            } else {
                GError* error = nullptr;
                gst_message_parse_error(message, &error, nullptr);
                reason = error != nullptr && error->message != nullptr ? error->message : "stream error";
                g_clear_error(&error);
            }
        }
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return reason;
}

bool CCapture::FormatIsOffered()
{
    if (!m_open && OpenDevice() < 0) {
        return true;
    }
    // A device with settings lists what it offers; a declared source is asked through its caps.
    if (const std::unique_ptr<IVideoDevice> device = OpenVideoDevice(m_device, *m_demoCamera)) {
        const std::vector<VideoPixelFormat> formats = device->EnumFormats();
        if (!formats.empty()) {
            return OffersFormat(formats, width, height, frameTime, subType);
        }
    }
    GError* error = nullptr;
    GstElement* source = gst_parse_bin_from_description(m_device.sourceDescription.c_str(), TRUE, &error);
    if (source == nullptr || error != nullptr) {
        g_clear_error(&error);
        if (source != nullptr) {
            gst_object_unref(source);
        }
        return true; // the graph itself will say what is wrong
    }
    gst_object_ref_sink(source);
    bool offered = true;
    // READY opens the device, so that its source pad answers with what it really offers.
    if (gst_element_set_state(source, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        GstPad* pad = gst_element_get_static_pad(source, "src");
        GstCaps* wanted = gst_caps_from_string(CaptureCapsText(width, height, frameTime, subType).c_str());
        GstCaps* available = pad != nullptr ? gst_pad_query_caps(pad, nullptr) : nullptr;
        if (wanted != nullptr && available != nullptr && !gst_caps_is_empty(available)) {
            offered = gst_caps_can_intersect(wanted, available) != FALSE;
        }
        if (available != nullptr) {
            gst_caps_unref(available);
        }
        if (wanted != nullptr) {
            gst_caps_unref(wanted);
        }
        if (pad != nullptr) {
            gst_object_unref(pad);
        }
    }
    gst_element_set_state(source, GST_STATE_NULL);
    gst_object_unref(source);
    return offered;
}

int CCapture::EnumDeviceNames(std::vector<std::string>& names) const
{
    names.clear();
    if (!InitialiseGStreamer()) {
        return -1;
    }
    for (const CaptureDevice& device : EnumDevices()) {
        names.push_back(device.name);
    }
    return static_cast<int>(names.size());
}

int CCapture::GetDeviceName(int index, std::string& name)
{
    name.clear();
    if (index < 0 || index >= kMaxDevices) {
        m_lastError = kErrorArgument;
        return 0;
    }
    const std::vector<CaptureDevice> devices = EnumDevices();
    if (static_cast<std::size_t>(index) >= devices.size()) {
        m_lastError = kErrorDevice;
        return 0;
    }
    name = devices[static_cast<std::size_t>(index)].name;
    return 1;
}

namespace {

// Width, height, frame time and subtype of fixed caps; false when they are not video.
bool ReadFormatOf(const GstCaps* caps, int& width, int& height, std::int64_t& frameTime, Guid& subType)
{
    if (caps == nullptr || gst_caps_get_size(caps) == 0) {
        return false;
    }
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    int w = 0;
    int h = 0;
    if (gst_structure_get_int(structure, "width", &w) == FALSE ||
        gst_structure_get_int(structure, "height", &h) == FALSE) {
        return false;
    }
    width = w;
    height = h;
    FrameRate rate;
    if (gst_structure_get_fraction(structure, "framerate", &rate.numerator, &rate.denominator) != FALSE &&
        FrameTimeOf(rate) > 0) {
        frameTime = FrameTimeOf(rate);
    }
    const char* format = gst_structure_get_string(structure, "format");
    subType = SubTypeOfCaps(gst_structure_get_name(structure), format != nullptr ? format : "");
    return true;
}

} // namespace

int CCapture::ReadCurrentFormat()
{
    if (m_pipeline != nullptr) {
        GstElement* filter = gst_bin_get_by_name(GST_BIN(m_pipeline), "format");
        GstPad* pad = filter != nullptr ? gst_element_get_static_pad(filter, "src") : nullptr;
        GstCaps* caps = pad != nullptr ? gst_pad_get_current_caps(pad) : nullptr;
        const bool read = ReadFormatOf(caps, width, height, frameTime, subType);
        if (caps != nullptr) {
            gst_caps_unref(caps);
        }
        if (pad != nullptr) {
            gst_object_unref(pad);
        }
        if (filter != nullptr) {
            gst_object_unref(filter);
        }
        return read ? 1 : 0;
    }
    if (!m_open && OpenDevice() < 0) {
        return 0;
    }
    // What the device delivers when nothing is asked of it.
    const std::string text = m_device.sourceDescription + " ! appsink name=probe sync=false max-buffers=1 drop=true";
    GError* error = nullptr;
    GstElement* probe = gst_parse_launch(text.c_str(), &error);
    if (probe == nullptr || error != nullptr) {
        g_clear_error(&error);
        if (probe != nullptr) {
            gst_object_unref(probe);
        }
        m_lastError = kErrorGraph;
        m_open = false;
        return 0;
    }
    if (m_device.demo) {
        StartDemoFeed(probe);
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(probe), "probe");
    HandOver();
    gst_element_set_state(probe, GST_STATE_PLAYING);
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), kProbeTimeout);
    const bool read = sample != nullptr && ReadFormatOf(gst_sample_get_caps(sample), width, height, frameTime, subType);
    if (sample != nullptr) {
        gst_sample_unref(sample);
    }
    gst_element_set_state(probe, GST_STATE_NULL);
    TakeOver();
    LogBusErrors(probe);
    gst_object_unref(sink);
    gst_object_unref(probe);
    m_open = false;
    if (!read) {
        m_lastError = kErrorGraph;
    }
    return read ? 1 : 0;
}

void CCapture::OnSampleFromSink(GstElement* sink)
{
    TakeOver();
    GstSample* sample = gst_app_sink_pull_sample(GST_APP_SINK(sink));
    if (sample == nullptr) {
        return;
    }
    GstVideoInfo info;
    GstVideoFrame frame;
    bool written = false;
    if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) != FALSE &&
        gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ) != FALSE) {
        const int frameWidth = GST_VIDEO_FRAME_WIDTH(&frame);
        const int frameHeight = GST_VIDEO_FRAME_HEIGHT(&frame);
        const std::scoped_lock lock(m_frameMutex);
        if (m_target.bits != nullptr && frameWidth == m_target.width && frameHeight == m_target.height &&
            m_target.stride >= frameWidth * 3) {
            const auto* source = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
            const int sourceStride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
            const auto rowBytes = static_cast<std::size_t>(frameWidth) * 3;
            for (int row = 0; row < frameHeight; ++row) {
                std::memcpy(m_target.bits + static_cast<std::ptrdiff_t>(frameHeight - 1 - row) * m_target.stride,
                            source + static_cast<std::ptrdiff_t>(row) * sourceStride, rowBytes);
            }
            written = true;
        } else if (m_target.bits != nullptr) {
            ++m_refused;
            if (!m_refusalLogged.exchange(true)) {
                kCaptureLog.Warning("frames of " + std::to_string(frameWidth) + " x " + std::to_string(frameHeight) +
                                    " do not fit the capture buffer of " + std::to_string(m_target.width) + " x " +
                                    std::to_string(m_target.height) + "; refused");
            }
        }
        if (written) {
            ++m_delivered;
            // Under the lock: SetNotifier and TearDownGraph wait for this call.
            if (m_notifier) {
                m_notifier();
            }
        }
        gst_video_frame_unmap(&frame);
    }
    gst_sample_unref(sample);
}

} // namespace orvane
