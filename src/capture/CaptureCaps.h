#pragma once

#include <cstdint>
#include <string>

#include "settings/Guid.h"

namespace orvane {

// A frame rate as GStreamer writes it: numerator / denominator frames per second.
struct FrameRate {
    int numerator = 0;
    int denominator = 1;

    friend bool operator==(const FrameRate&, const FrameRate&) = default;
};

// 10000000 / frameTime (100-ns units) as the nearest simple fraction
// (333333 -> 30/1, 666666 -> 15/1); nothing (0/1) when frameTime <= 0.
[[nodiscard]] FrameRate FrameRateOf(std::int64_t frameTime);

// The frame time in 100-ns units of a frame rate: 10000000 * den / num;
// 0 when the rate is not positive.
[[nodiscard]] std::int64_t FrameTimeOf(const FrameRate& rate);

// The caps the device is asked for. The subtype maps to the format: a FOURCC
// GUID to the raw format of that FOURCC ("MJPG" to image/jpeg), RGB24 to BGR,
// the keep-subtype GUID (or any unknown one) to raw or JPEG frames of any
// format. A width or height <= 0 and a frame time <= 0 leave that field open.
[[nodiscard]] std::string CaptureCapsText(int width, int height, std::int64_t frameTime, const Guid& subType);

// The element that turns the device's frames into raw video for the
// converter: "jpegdec" for MJPG, "decodebin" when any format may come, else
// nothing (raw frames go straight to the converter).
[[nodiscard]] std::string DecodeStage(const Guid& subType);

// The subtype GUID of negotiated caps: BGR gives RGB24, image/jpeg MJPG, another
// raw format the FOURCC GUID of that format; keep-subtype when there is none.
[[nodiscard]] Guid SubTypeOfCaps(const std::string& mediaType, const std::string& format);

// The subtype that asks for frames of a V4L2 device's `fourcc`: BGR3 gives
// RGB24, any other its FOURCC GUID (MJPG included).
[[nodiscard]] Guid SubTypeOfFourcc(std::uint32_t fourcc);

} // namespace orvane
