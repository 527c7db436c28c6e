#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "measure/Calibration.h"

// What the calibration dialog does to its record, free of any window system:
// the texts of its edits and information line, "Reset" and OK. The dialog
// reads its controls, calls these and shows the results.
namespace orvane {

// The unit combo box's entries, in unit-code order 0 cm, 1 mm, 2 um.
inline constexpr std::array<std::string_view, 3> kCalibrationUnitTexts{"cm", "mm", "um"};

// The edits hold at most this many characters of a number.
inline constexpr std::size_t kLengthEditMaxChars = 32;

// A length for the X or Y edit: "%f" without its trailing zeros and without a
// trailing point (10.0 -> "10", 0.5 -> "0.5"), '.' whatever the locale.
[[nodiscard]] std::string FormatLengthForEdit(double length);

// Text of the X or Y edit -> its number: the leading decimal number of the
// first 32 characters after leading blanks, '.' as the point; 0 when there is
// none or it is not a finite number.
[[nodiscard]] double ParseLengthEdit(std::string_view text);

// The information line: "X = %f, Y = %f [%s/pix]" with lengthX / (right -
// left) and lengthY / (bottom - top) of the record's rectangle, C-locale
// digits. A side of zero length shows what printf shows for the quotient:
// "inf" or "-inf" for a non-zero length, "nan" or "-nan" for 0 / 0.
[[nodiscard]] std::string CalibrationInfoText(double lengthX, double lengthY, const CALIBRATION& rectangle,
                                              std::string_view unitText);

// "Reset": 10 x 10 mm over the rectangle (0, 0)-(200, 200). mpp stays as it
// is until the next OK.
void ResetCalibration(CALIBRATION& record);

// OK: the name (cut to 255 characters), the two lengths and the unit code are
// stored, and mpp = length / side on each axis whose side is not zero (a zero
// side keeps that axis's mpp).
void StoreCalibration(CALIBRATION& record, std::string_view name, double lengthX, double lengthY, std::int32_t unit);

} // namespace orvane
