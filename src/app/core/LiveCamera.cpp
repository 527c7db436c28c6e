#include "app/core/LiveCamera.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "app/core/AppLog.h"
#include "app/core/MeasureDlgState.h"
#include "capture/CameraChoice.h"
#include "image/PixelOps.h"

namespace orvane {

LiveCamera::LiveCamera(bool demo)
{
    m_capture.SetDemoCamera(demo);
}

LiveCamera::~LiveCamera()
{
    // The streaming thread stops before the state it writes into goes.
    m_capture.ReleaseCapture();
}

void LiveCamera::Connect(MeasureDlgState& state, std::function<void()> frameReady)
{
    m_state = &state;
    m_frameReady = std::move(frameReady);
    if (m_live) {
        m_capture.SetNotifier(Notifier());
    }
}

void LiveCamera::Disconnect()
{
    EndLive();
    m_frameReady = nullptr;
    m_state = nullptr;
}

FrameNotifier LiveCamera::Notifier()
{
    if (!m_frameReady) {
        return nullptr;
    }
    return [this, frameReady = m_frameReady] {
        if (!m_framePending.exchange(true)) {
            frameReady();
        }
    };
}

int LiveCamera::ChooseDevice()
{
    const OrvaneSettings& settings = m_state->settings();
    if (settings.Device >= 0) {
        return settings.Device;
    }
    std::vector<std::string> names;
    if (m_capture.EnumDeviceNames(names) <= 0) {
        return -1;
    }
    return ChooseDeviceByPriority(m_state->profile(), names, m_profileName);
}

void LiveCamera::DeclareSources()
{
    m_capture.ClearSourceDevices();
    for (DeclaredSource& source : LoadDeclaredSources(m_state->profile())) {
        m_capture.AddSourceDevice(std::move(source.name), std::move(source.pipeline));
    }
}

bool LiveCamera::BeginLive()
{
    if (m_state == nullptr || m_asking) {
        return false;
    }
    // A graph left from a failed start goes first.
    m_capture.TearDownGraph();
    m_live = false;
    m_framePending = false;
    DeclareSources();
    const int index = ChooseDevice();
    std::string name;
    if (index < 0 || m_capture.GetDeviceName(index, name) == 0 || name.empty()) {
        return false;
    }
    ProfileFile& profile = m_state->profile();
    std::string section;
    {
        // The profile choice may run a dialog; a retry meanwhile must not start a second one.
        m_asking = true;
        section = ResolveCameraSection(profile, name, m_profileName, false, m_askProfile);
        m_asking = false;
    }
    m_section = LoadCameraSection(profile, section);

    m_capture.deviceIndex = index;
    m_capture.width = m_section.Width;
    m_capture.height = m_section.Height;
    m_capture.frameTime = m_section.frameTime;
    m_capture.subType = m_section.SubType;
    m_capture.priority = m_section.Priority;
    if (m_capture.width > 0 && m_capture.height > 0 && !m_capture.FormatIsOffered()) {
        // A camera that no longer offers its saved format still starts, in its own format;
        // the section then keeps that one, so this is said once.
        kAppLog.Warning("\"" + name + "\" does not offer the saved " + std::to_string(m_capture.width) + " x " +
                        std::to_string(m_capture.height) + " (subtype " + FormatSubTypeText(m_capture.subType) +
                        ", frame time " + std::to_string(m_capture.frameTime) + "); its current format is used");
        m_capture.width = -1;
        m_capture.height = -1;
        m_capture.subType = kKeepSubtype;
    }
    if (m_capture.width == -1 || m_capture.height == -1) {
        m_caption.clear();
        m_profileName.clear();
        m_capture.ReadCurrentFormat();
    }
    if (m_capture.width <= 0 || m_capture.height <= 0) {
        kAppLog.Info("the format of \"" + name + "\" cannot be read");
        m_caption.clear();
        m_profileName.clear();
        return false;
    }

    const int width = m_capture.width;
    const int height = m_capture.height;
    const bool resize = m_section.HasResizeSize();
    if (!m_state->PrepareLiveFrames(width, height, resize ? m_section.Resize_Width : width,
                                    resize ? m_section.Resize_Height : height)) {
        return false;
    }
    OrvaneSettings& settings = m_state->settings();
    settings.width = width;
    settings.height = height;
    // The model rules: the tee is forced on for the three models (kept as it is
    // for others), the maker's dialog belongs to the maker's cameras only.
    if (ForcesSmartTee(name)) {
        settings.SmartTee = 1;
    }
    // Opening the device attaches the camera control library to a maker
    // camera; StartPreview goes on with the device opened here.
    m_capture.OpenDevice();
    const bool maker = IsMakerCamera(name) || m_capture.cameraControl() != nullptr;
    settings.ShowQX4Dlg = maker ? 1 : 0;
    if (maker) {
        m_maker.Begin(m_capture.cameraControl());
    }

    FrameImage& target = m_state->frames().capture;
    if (m_capture.StartPreview(Notifier(), FrameTarget{target.bits(), width, height, target.stride()},
                               settings.SmartTee != 0) == 0) {
        // Not live, so that the retry tries again rather than waiting on a graph that never ran.
        kAppLog.Warning("\"" + name + "\" cannot be started");
        m_maker.End(nullptr, profile);
        m_capture.TearDownGraph();
        return false;
    }
    m_section.Width = width;
    m_section.Height = height;
    m_section.frameTime = m_capture.frameTime;
    m_section.SubType = m_capture.subType;
    SaveCameraSection(profile, section, m_section);
    m_live = true;
    m_lost = false;
    m_caption = section;
    m_fpsStarted = false;
    kAppLog.Info("live: " + name + " (" + m_capture.pipelineText() + ")");
    return true;
}

bool LiveCamera::StreamFailed()
{
    if (!m_live) {
        return false;
    }
    const std::string reason = m_capture.TakeStreamFailure();
    if (reason.empty()) {
        return false;
    }
    kAppLog.Warning("\"" + m_caption + "\" stopped (" + reason + "); trying to start it again");
    EndLive();
    m_lost = true;
    return true;
}

std::string LiveCamera::deviceCaption() const
{
    if (!m_live && m_lost && !m_caption.empty()) {
        return m_caption + " - no camera";
    }
    return m_caption;
}

void LiveCamera::EndLive()
{
    if (m_maker.active() && m_state != nullptr) {
        m_maker.End(m_capture.cameraControl(), m_state->profile());
    }
    m_capture.TearDownGraph();
    m_live = false;
    m_framePending = false;
}

bool LiveCamera::OnFrameReady(std::uint32_t now)
{
    m_framePending = false;
    if (!m_live || m_state == nullptr || m_state->TickIsStale(now)) {
        return false;
    }
    FrameBuffers& frames = m_state->frames();
    FrameImage& capture = frames.capture;
    FrameImage& display = frames.display;
    {
        const auto lock = m_capture.LockFrame();
        if (m_section.HasResizeSize()) {
            if (display.width() != m_section.Resize_Width || display.height() != m_section.Resize_Height) {
                return false;
            }
            // The crop rectangle of the camera section counts rows from the picture's top; the
            // frame image checks it against both images before the resampler reads a byte.
            const RECT whole{0, 0, capture.width(), capture.height()};
            const RECT source = m_section.HasResizeSource()
                                    ? FlipRectRows(RECT{m_section.Resize_Left, m_section.Resize_Top,
                                                        m_section.Resize_Right, m_section.Resize_Bottom},
                                                   capture.height())
                                    : whole;
            display.ApplyScaledOp(Resample24To24, capture, &source, nullptr);
        } else {
            // The display frame may have been replaced (an opened picture) while frames were queued.
            if (display.width() != capture.width() || display.height() != capture.height() ||
                display.bitsPerPixel() != 24 || display.byteCount() != capture.byteCount()) {
                return false;
            }
            std::memcpy(display.bits(), capture.bits(), capture.byteCount());
        }
    }
    const OrvaneSettings& settings = m_state->settings();
    if (settings.m_WB_Flg != 0) {
        ApplyColourOffsets(display, settings.m_WB_B, settings.m_WB_R);
    }
    // A frame measured for the white balance goes no further.
    if (m_maker.ServeWhiteBalance(display)) {
        return false;
    }
    m_state->FeedFrameConsumers(now);

    if (!m_fpsStarted) {
        m_fpsStarted = true;
        m_fpsStart = now;
        m_fpsFrames = 0;
    }
    ++m_fpsFrames;
    const std::uint32_t elapsed = now - m_fpsStart;
    if (elapsed > kFpsWindowMilliseconds) {
        m_state->SetFps(static_cast<double>(m_fpsFrames) * 1000.0 / static_cast<double>(elapsed));
        m_fpsFrames = 0;
        m_fpsStart = now;
    }
    m_maker.CountFrame();
    return true;
}

void LiveCamera::OnTick()
{
    if (m_live && m_state != nullptr) {
        m_maker.OnTick(m_capture.cameraControl(), m_state->profile());
    }
}

void ApplyColourOffsets(FrameImage& image, int blue, int red)
{
    const int step = image.bitsPerPixel() / 8;
    if (step < 3 || image.bits() == nullptr) {
        return;
    }
    for (int row = 0; row < image.height(); ++row) {
        std::uint8_t* pixel = image.Row(row);
        for (int x = 0; x < image.width(); ++x, pixel += step) {
            pixel[0] = static_cast<std::uint8_t>(std::clamp(pixel[0] + blue, 0, 255));
            pixel[2] = static_cast<std::uint8_t>(std::clamp(pixel[2] + red, 0, 255));
        }
    }
}

} // namespace orvane
