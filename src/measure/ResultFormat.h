#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// The rows a finished record owns in the results list, in order: the type
// text (strings 1000-1004) and the formatted value.
//   -1 Length, Angle; -2 Polygon area; -3 Circle diameter;
//   -4 Circle diameter x2, Circle distance, Angle; -5 Length; -6 Angle
struct ResultRow {
    std::string type;
    ListColumns columns;
};
[[nodiscard]] std::vector<ResultRow> ResultRows(const MEASURE& record, std::int32_t listUnit);

} // namespace orvane
