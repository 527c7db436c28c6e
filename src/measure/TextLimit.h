#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// Texts of records are kept to the lengths their fixed buffers had:
// calibration names 255 characters, label texts 63.
inline constexpr std::size_t kCalibrationNameMaxChars = 255;
inline constexpr std::size_t kLabelTextMaxChars = 63;

// `text` cut to at most `maxChars` Unicode code points, never inside a UTF-8
// sequence.
[[nodiscard]] std::string TruncateUtf8(std::string_view text, std::size_t maxChars);

} // namespace orvane
