#pragma once

#include <cstdint>
#include <string_view>

// TruncateToInt (a real stored for an integer member: truncated toward zero,
// limited to the int range, 0 for a value that is not a number) is the view's.
#include "image/ViewMath.h"

namespace orvane {

class ProfileFile;

// "Frame" keys hold the frame rate in tenths of a frame per second; the
// capture code works with the frame time in 100-ns units. Both directions
// divide this constant by the other value (64-bit integer division).
inline constexpr std::int64_t kFrameTimeDividend = 100000000;

// frame time = 100000000 / frame (300 -> 333333); `fallback` when frame <= 0,
// which has no frame time.
[[nodiscard]] std::int64_t FrameTimeFromFrame(std::int64_t frame, std::int64_t fallback);

// frame = 100000000 / frameTime (333333 -> 300); `fallback` when frameTime <= 0.
[[nodiscard]] std::int64_t FrameFromFrameTime(std::int64_t frameTime, std::int64_t fallback);

// Reads an integer "Frame" key as a frame time. A missing key, or a value of
// 0 or less, leaves `frameTime` as it is.
void ReadFrameKey(const ProfileFile& profile, std::string_view section, std::string_view key, std::int64_t& frameTime);

// Writes a frame time as its "Frame" value; a frame time of 0 or less writes
// `fallbackFrame` instead.
void WriteFrameKey(ProfileFile& profile, std::string_view section, std::string_view key, std::int64_t frameTime,
                   std::int64_t fallbackFrame);

} // namespace orvane
