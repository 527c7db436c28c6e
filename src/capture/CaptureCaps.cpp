#include "capture/CaptureCaps.h"

#include <cmath>
#include <numeric>

#include <gst/gst.h>
#include <gst/video/video.h>

namespace orvane {

namespace {

constexpr std::uint32_t kMjpg = MakeFourcc('M', 'J', 'P', 'G');

// The raw GStreamer format name of a FOURCC, empty when GStreamer has none.
std::string RawFormatOf(std::uint32_t fourcc)
{
    const GstVideoFormat format = gst_video_format_from_fourcc(fourcc);
    if (format == GST_VIDEO_FORMAT_UNKNOWN) {
        return {};
    }
    const char* name = gst_video_format_to_string(format);
    return name != nullptr ? std::string(name) : std::string();
}

std::string SizeAndRate(int width, int height, std::int64_t frameTime)
{
    std::string text;
    if (width > 0 && height > 0) {
        text += ",width=" + std::to_string(width) + ",height=" + std::to_string(height);
    }
    const FrameRate rate = FrameRateOf(frameTime);
    if (rate.numerator > 0) {
        text += ",framerate=" + std::to_string(rate.numerator) + "/" + std::to_string(rate.denominator);
    }
    return text;
}

} // namespace

FrameRate FrameRateOf(std::int64_t frameTime)
{
    if (frameTime <= 0) {
        return {};
    }
    const double rate = 10000000.0 / static_cast<double>(frameTime);
    // Frame times are whole 100-ns units, so 30 fps is 333333: a rate within
    // 1e-4 of a whole number (or of an NTSC n * 1000 / 1001) is that rate.
    constexpr double kTolerance = 1e-4;
    const double whole = std::round(rate);
    if (whole >= 1.0 && std::abs(rate - whole) / rate < kTolerance) {
        return {static_cast<int>(whole), 1};
    }
    const double ntsc = std::round(rate * 1.001);
    if (ntsc >= 1.0 && std::abs(rate * 1.001 - ntsc) / rate < kTolerance) {
        return {static_cast<int>(ntsc) * 1000, 1001};
    }
    const auto thousandths = static_cast<int>(std::lround(rate * 1000.0));
    if (thousandths <= 0) {
        return {};
    }
    const int divisor = std::gcd(thousandths, 1000);
    return {thousandths / divisor, 1000 / divisor};
}

std::int64_t FrameTimeOf(const FrameRate& rate)
{
    if (rate.numerator <= 0 || rate.denominator <= 0) {
        return 0;
    }
    return 10000000LL * rate.denominator / rate.numerator;
}

std::string CaptureCapsText(int width, int height, std::int64_t frameTime, const Guid& subType)
{
    const std::string tail = SizeAndRate(width, height, frameTime);
    if (subType == kMediaSubtypeRgb24) {
        return "video/x-raw,format=BGR" + tail;
    }
    if (const auto fourcc = FourccOf(subType)) {
        if (*fourcc == kMjpg) {
            return "image/jpeg" + tail;
        }
        const std::string format = RawFormatOf(*fourcc);
        if (!format.empty()) {
            return "video/x-raw,format=" + format + tail;
        }
    }
    return "video/x-raw" + tail + ";image/jpeg" + tail;
}

std::string DecodeStage(const Guid& subType)
{
    if (subType == kMediaSubtypeRgb24) {
        return {};
    }
    if (const auto fourcc = FourccOf(subType)) {
        if (*fourcc == kMjpg) {
            return "jpegdec";
        }
        if (!RawFormatOf(*fourcc).empty()) {
            return {};
        }
    }
    return "decodebin";
}

Guid SubTypeOfCaps(const std::string& mediaType, const std::string& format)
{
    if (mediaType == "image/jpeg") {
        return FourccGuid(kMjpg);
    }
    if (mediaType != "video/x-raw" || format.empty()) {
        return kKeepSubtype;
    }
    if (format == "BGR") {
        return kMediaSubtypeRgb24;
    }
    const std::uint32_t fourcc = gst_video_format_to_fourcc(gst_video_format_from_string(format.c_str()));
    return fourcc != 0 ? FourccGuid(fourcc) : kKeepSubtype;
}

Guid SubTypeOfFourcc(std::uint32_t fourcc)
{
    if (fourcc == MakeFourcc('B', 'G', 'R', '3')) {
        return kMediaSubtypeRgb24;
    }
    return FourccGuid(fourcc);
}

} // namespace orvane
