#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "measure/PointArray.h"
#include "image/PointD.h"

namespace orvane {

// Tool modes while points are placed; a finished record carries the negative
// of its mode as its kind.
enum MeasureMode : std::int32_t {
    kModeNone = 0,
    kModeLength = 1,
    kModeArea = 2,
    kModeCircle = 3,
    kModeTwoCircles = 4,
    kModePerpendicular = 5,
    kModeAngle = 6,
};

[[nodiscard]] constexpr std::int32_t FinishedKind(MeasureMode mode)
{
    return -static_cast<std::int32_t>(mode);
}

// Unit codes of calibrations and results.
enum UnitCode : std::int32_t {
    kUnitCm = 0,
    kUnitMm = 1,
    kUnitUm = 2,
};

// Offset of a label from its anchor point, image pixels.
struct LabelOffset {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
    friend constexpr bool operator==(const LabelOffset&, const LabelOffset&) = default;
};

// One measurement. Per kind (value[] / centre[] / radius[]):
//   -1 length: points start, end; value[0] length, value[1] direction angle
//   -2 polygon area: n vertices; value[0] = value[1] = area
//   -3 circle: 3 rim points; value[0] diameter; centre[0], radius[0]
//   -4 two circles: 3 + 3 rim points; value[0], value[1] diameters,
//      value[2] centre distance, value[3] direction angle; both circles
//   -5 perpendicular: pointCount 3, the array holds 4: two base-line points,
//      the measured point, the foot; value[0] distance
//   -6 angle: arm end, vertex, arm end; value[0] angle in degrees
// Copies are deep (the point array is copied with all its slots); the chain
// links of a copy mean nothing until the copy is linked.
struct MEASURE {
    std::int32_t id = 0;
    std::int32_t no = 0;
    MEASURE* prev = nullptr;
    MEASURE* next = nullptr;
    std::int32_t selected = 0;
    std::int32_t kind = 0;
    std::int32_t pointCount = 0;
    PointArray points;
    std::int32_t unit = kUnitCm;
    std::array<double, 5> value{};
    std::array<PointD, 2> centre{};
    std::array<double, 2> radius{};
    std::array<LabelOffset, 5> labelOffset{};
    // Formatted anew whenever the record is drawn; at most 63 characters.
    std::array<std::string, 5> labelText;
};

} // namespace orvane
