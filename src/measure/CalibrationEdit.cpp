#include "measure/CalibrationEdit.h"

#include <charconv>
#include <cmath>

#include <system_error>

#include "measure/Measure.h"
#include "measure/TextLimit.h"

namespace orvane {
namespace {

// "%f" in the C locale: the toolkit sets the program's locale, which must not
// turn the point into a comma.
std::string FormatF(double value)
{
    std::array<char, 400> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 6);
    return error == std::errc{} ? std::string(buffer.data(), end) : std::string();
}

} // namespace

std::string FormatLengthForEdit(double length)
{
    std::string text = FormatF(length);
    // "inf" and "nan" have no fraction to strip.
    if (text.find('.') == std::string::npos) {
        return text;
    }
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

double ParseLengthEdit(std::string_view text)
{
    const std::string limited = TruncateUtf8(text, kLengthEditMaxChars);
    std::string_view rest = limited;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) {
        rest.remove_prefix(1);
    }
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // A sign of its own must not let from_chars read a second one.
    if (rest.empty() || rest.front() == '+' || rest.front() == '-') {
        return 0.0;
    }
    double value = 0.0;
    const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (result.ec != std::errc{} || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::string CalibrationInfoText(double lengthX, double lengthY, const CALIBRATION& rectangle, std::string_view unitText)
{
    const double perPixelX = lengthX / (rectangle.right - rectangle.left);
    const double perPixelY = lengthY / (rectangle.bottom - rectangle.top);
    std::string text = "X = " + FormatF(perPixelX) + ", Y = " + FormatF(perPixelY) + " [";
    text += unitText;
    text += "/pix]";
    return text;
}

void ResetCalibration(CALIBRATION& record)
{
    record.length = PointD{10.0, 10.0};
    record.unit = kUnitMm;
    record.left = 0.0;
    record.top = 0.0;
    record.right = 200.0;
    record.bottom = 200.0;
}

void StoreCalibration(CALIBRATION& record, std::string_view name, double lengthX, double lengthY, std::int32_t unit)
{
    record.name = TruncateUtf8(name, kCalibrationNameMaxChars);
    record.length = PointD{lengthX, lengthY};
    record.unit = unit;
    if (record.right != record.left) {
        record.mpp.x = lengthX / (record.right - record.left);
    }
    if (record.bottom != record.top) {
        record.mpp.y = lengthY / (record.bottom - record.top);
    }
}

} // namespace orvane
