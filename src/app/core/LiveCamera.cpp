#include "app/core/LiveCamera.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "app/core/AppLog.h"
#include "app/core/MeasureDlgState.h"
#include "image/PixelOps.h"

namespace orvane {

namespace {

// Models that need the tee in front of the grabber.
bool NeedsSmartTee(const std::string& name)
{
    return name == "VTC-07U4" || name == "DORVEX-210QX4" || name == "DORVEX-210QX4-QM";
}

} // namespace

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
}

int LiveCamera::ChooseDevice()
{
    const OrvaneSettings& settings = m_state->settings();
    if (settings.Device >= 0) {
        return settings.Device;
    }
    std::vector<std::string> names;
    int best = -1;
    int bestPriority = -1;
    const int count = m_capture.EnumDeviceNames(names);
    for (int i = 0; i < count; ++i) {
        const int priority = LoadCameraSection(m_state->profile(), names[static_cast<std::size_t>(i)]).Priority;
        if (priority > bestPriority) {
            bestPriority = priority;
            best = i;
        }
    }
    return best;
}

bool LiveCamera::BeginLive()
{
    if (m_state == nullptr) {
        return false;
    }
    // A graph left from a failed start goes first.
    m_capture.TearDownGraph();
    m_live = false;
    const int index = ChooseDevice();
    std::string name;
    if (index < 0 || m_capture.GetDeviceName(index, name) == 0 || name.empty()) {
        return false;
    }
    ProfileFile& profile = m_state->profile();
    const CameraProfileChoice choice =
        ResolveCameraProfile(profile, name, std::string_view(), ProfilePrompt::WhenNoProfileRemembered);
    const std::string section = choice.sectionName.empty() ? name : choice.sectionName;
    m_section = LoadCameraSection(profile, section);

    m_capture.deviceIndex = index;
    m_capture.width = m_section.Width;
    m_capture.height = m_section.Height;
    m_capture.frameTime = m_section.frameTime;
    m_capture.subType = m_section.SubType;
    m_capture.priority = m_section.Priority;
    if (m_capture.width == -1 || m_capture.height == -1) {
        m_capture.ReadCurrentFormat();
    }
    if (m_capture.width <= 0 || m_capture.height <= 0) {
        kAppLog.Info("the format of \"" + name + "\" cannot be read");
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
    const bool smartTee = settings.SmartTee != 0 || NeedsSmartTee(name);

    FrameImage& target = m_state->frames().capture;
    if (m_capture.StartPreview(m_frameReady, FrameTarget{target.bits(), width, height, target.stride()}, smartTee) ==
        0) {
        // Not live, so that the retry tries again rather than waiting on a graph that never ran.
        kAppLog.Warning("\"" + name + "\" cannot be started");
        m_capture.TearDownGraph();
        return false;
    }
    m_section.Width = width;
    m_section.Height = height;
    m_section.frameTime = m_capture.frameTime;
    m_section.SubType = m_capture.subType;
    SaveCameraSection(profile, section, m_section);
    m_live = true;
    m_caption = section;
    m_fpsStarted = false;
    kAppLog.Info("live: " + name + " (" + m_capture.pipelineText() + ")");
    return true;
}

void LiveCamera::EndLive()
{
    m_capture.TearDownGraph();
    m_live = false;
}

bool LiveCamera::OnFrameReady(std::uint32_t now)
{
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
    return true;
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
