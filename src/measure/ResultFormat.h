#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "measure/Measure.h"

namespace orvane {

// Texts of results, printf-formatted as they always were.
//
// Results list, columns "Result" and "Unit", with the unit of the calibration
// selected when the row is written:
//   lengths  cm "%.2f" "cm", mm "%.3f" "mm", um "%.2f" "um"
//   areas    the same numbers with "cm2", "mm2", "um2"
//   angles   "%.1f" and string 1005 ("degree" / the degree sign)
// A unit code outside 0-2 leaves both columns empty.
struct ListColumns {
    std::string result;
    std::string unit;
    friend bool operator==(const ListColumns&, const ListColumns&) = default;
};
[[nodiscard]] ListColumns FormatLength(double value, std::int32_t unit);
[[nodiscard]] ListColumns FormatArea(double value, std::int32_t unit);
[[nodiscard]] ListColumns FormatAngle(double value);

// Label texts on the picture, from the record's own unit: "%.3fmm", "%.2fcm2",
// "%.1f" + string 1005 ... cut to 63 characters. Empty for a unit code outside
// 0-2: the label then keeps its previous text.
[[nodiscard]] std::optional<std::string> FormatLengthLabel(double value, std::int32_t unit);
[[nodiscard]] std::optional<std::string> FormatAreaLabel(double value, std::int32_t unit);
[[nodiscard]] std::string FormatAngleLabel(double value);

} // namespace orvane
