#include "capture/V4L2Device.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "capture/CaptureLog.h"

namespace orvane {

namespace {

// Enumerations stop here even when a driver would go on.
constexpr std::uint32_t kMaxEntries = 256;

std::string TextOf(const __u8* text, std::size_t capacity)
{
    const auto* begin = reinterpret_cast<const char*>(text);
    return std::string(begin, strnlen(begin, capacity));
}

// Steps across a stepwise or continuous range: its ends and at most a few sizes between.
void AddStepwiseSizes(const v4l2_frmsize_stepwise& range, std::vector<VideoFrameSize>& sizes)
{
    constexpr int kSteps = 4;
    for (int i = 0; i <= kSteps; ++i) {
        const auto pick = [&](__u32 low, __u32 high, __u32 step) {
            const __u32 span = high - low;
            __u32 value = low + span * static_cast<__u32>(i) / kSteps;
            if (step > 1) {
                value = low + (value - low) / step * step;
            }
            return static_cast<int>(value);
        };
        VideoFrameSize size{pick(range.min_width, range.max_width, range.step_width),
                            pick(range.min_height, range.max_height, range.step_height),
                            {}};
        if (sizes.empty() || sizes.back().width != size.width || sizes.back().height != size.height) {
            sizes.push_back(std::move(size));
        }
    }
}

} // namespace

V4L2Device::V4L2Device(std::string path, std::string name) : m_path(std::move(path)), m_name(std::move(name))
{
    m_fd = ::open(m_path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        kCaptureLog.Warning(m_path + " cannot be opened for its settings: " + std::strerror(errno));
    }
}

V4L2Device::~V4L2Device()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool V4L2Device::Control(unsigned long request, void* argument) const
{
    if (m_fd < 0) {
        return false;
    }
    int result = 0;
    do {
        result = ::ioctl(m_fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result >= 0;
}

bool V4L2Device::ReadValue(std::uint32_t id, int& value) const
{
    v4l2_ext_control control{};
    control.id = id;
    v4l2_ext_controls controls{};
    controls.which = V4L2_CTRL_WHICH_CUR_VAL;
    controls.count = 1;
    controls.controls = &control;
    if (Control(VIDIOC_G_EXT_CTRLS, &controls)) {
        value = control.value;
        return true;
    }
    v4l2_control single{};
    single.id = id;
    if (Control(VIDIOC_G_CTRL, &single)) {
        value = single.value;
        return true;
    }
    return false;
}

std::vector<VideoControl> V4L2Device::QueryControls()
{
    std::vector<VideoControl> controls;
    v4l2_queryctrl query{};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    for (std::uint32_t n = 0; n < kMaxEntries && Control(VIDIOC_QUERYCTRL, &query); ++n) {
        const std::uint32_t id = query.id;
        query.id = id | V4L2_CTRL_FLAG_NEXT_CTRL;
        if ((query.flags & V4L2_CTRL_FLAG_DISABLED) != 0) {
            continue;
        }
        VideoControl control;
        switch (query.type) {
        case V4L2_CTRL_TYPE_INTEGER: control.type = VideoControl::Type::Integer; break;
        case V4L2_CTRL_TYPE_BOOLEAN: control.type = VideoControl::Type::Boolean; break;
        case V4L2_CTRL_TYPE_MENU:
        case V4L2_CTRL_TYPE_INTEGER_MENU: control.type = VideoControl::Type::Menu; break;
        case V4L2_CTRL_TYPE_BUTTON: control.type = VideoControl::Type::Button; break;
        default: continue; // classes, strings, 64-bit and compound controls have no page entry
        }
        control.id = id;
        control.name = TextOf(query.name, sizeof query.name);
        control.minimum = query.minimum;
        control.maximum = query.maximum;
        control.step = query.step > 0 ? query.step : 1;
        control.defaultValue = query.default_value;
        control.inactive = (query.flags & (V4L2_CTRL_FLAG_INACTIVE | V4L2_CTRL_FLAG_GRABBED)) != 0;
        control.readOnly = (query.flags & V4L2_CTRL_FLAG_READ_ONLY) != 0;
        if (control.type == VideoControl::Type::Menu) {
            for (int index = query.minimum; index <= query.maximum && control.menu.size() < kMaxEntries; ++index) {
                v4l2_querymenu entry{};
                entry.id = id;
                entry.index = static_cast<__u32>(index);
                if (!Control(VIDIOC_QUERYMENU, &entry)) {
                    continue; // a value the device skips
                }
                const std::string text = query.type == V4L2_CTRL_TYPE_INTEGER_MENU
                                             ? std::to_string(static_cast<long long>(entry.value))
                                             : TextOf(entry.name, sizeof entry.name);
                control.menu.emplace_back(index, text);
            }
        }
        if (control.type != VideoControl::Type::Button && !ReadValue(id, control.value)) {
            control.value = control.defaultValue;
        }
        controls.push_back(std::move(control));
    }
    return controls;
}

bool V4L2Device::SetControl(std::uint32_t id, int value)
{
    v4l2_ext_control control{};
    control.id = id;
    control.value = value;
    v4l2_ext_controls controls{};
    controls.which = V4L2_CTRL_WHICH_CUR_VAL;
    controls.count = 1;
    controls.controls = &control;
    if (Control(VIDIOC_S_EXT_CTRLS, &controls)) {
        return true;
    }
    v4l2_control single{};
    single.id = id;
    single.value = value;
    return Control(VIDIOC_S_CTRL, &single);
}

std::vector<FrameRate> V4L2Device::EnumRates(std::uint32_t fourcc, int width, int height) const
{
    std::vector<FrameRate> rates;
    v4l2_frmivalenum interval{};
    interval.pixel_format = fourcc;
    interval.width = static_cast<__u32>(width);
    interval.height = static_cast<__u32>(height);
    for (interval.index = 0; interval.index < kMaxEntries && Control(VIDIOC_ENUM_FRAMEINTERVALS, &interval);
         ++interval.index) {
        // An interval of n/d seconds is a rate of d/n frames per second.
        const auto add = [&rates](const v4l2_fract& time) {
            if (time.numerator > 0 && time.denominator > 0) {
                rates.push_back({static_cast<int>(time.denominator), static_cast<int>(time.numerator)});
            }
        };
        if (interval.type == V4L2_FRMIVAL_TYPE_DISCRETE) {
            add(interval.discrete);
        } else {
            add(interval.stepwise.min); // the fastest and the slowest
            add(interval.stepwise.max);
            break;
        }
    }
    return rates;
}

std::vector<VideoPixelFormat> V4L2Device::EnumFormats()
{
    std::vector<VideoPixelFormat> formats;
    v4l2_fmtdesc description{};
    description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (description.index = 0; description.index < kMaxEntries && Control(VIDIOC_ENUM_FMT, &description);
         ++description.index) {
        VideoPixelFormat format;
        format.fourcc = description.pixelformat;
        format.description = TextOf(description.description, sizeof description.description);
        v4l2_frmsizeenum size{};
        size.pixel_format = description.pixelformat;
        for (size.index = 0; size.index < kMaxEntries && Control(VIDIOC_ENUM_FRAMESIZES, &size); ++size.index) {
            if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
                format.sizes.push_back({static_cast<int>(size.discrete.width), static_cast<int>(size.discrete.height),
                                        {}});
            } else {
                AddStepwiseSizes(size.stepwise, format.sizes);
                break;
            }
        }
        for (VideoFrameSize& frameSize : format.sizes) {
            frameSize.rates = EnumRates(format.fourcc, frameSize.width, frameSize.height);
        }
        formats.push_back(std::move(format));
    }
    return formats;
}

std::vector<VideoInput> V4L2Device::EnumInputs()
{
    std::vector<VideoInput> inputs;
    v4l2_input input{};
    for (input.index = 0; input.index < kMaxEntries && Control(VIDIOC_ENUMINPUT, &input); ++input.index) {
        inputs.push_back({static_cast<int>(input.index), TextOf(input.name, sizeof input.name)});
    }
    return inputs;
}

int V4L2Device::CurrentInput()
{
    int index = -1;
    return Control(VIDIOC_G_INPUT, &index) ? index : -1;
}

bool V4L2Device::SetInput(int index)
{
    return Control(VIDIOC_S_INPUT, &index);
}

} // namespace orvane
