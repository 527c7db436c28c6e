#pragma once

#include <cstdint>

#include "measure/CMeasureChain.h"
#include "measure/Calibration.h"
#include "measure/Measure.h"

namespace orvane {

// The picture a measurement is taken on: polygon areas are counted on a
// canvas of its size.
struct FrameSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// Computes a record's values from its points with the calibration's mpp and
// unit (the kind may still be the positive tool mode):
//   length: ScaledDistance and DirectionAngle from the first to the second point
//   polygon: PolygonPixelCount x mpp.x x mpp.y into value[0] and value[1]
//            (left as they were when the polygon is not counted)
//   circle(s): centre and radius from three rim points each, diameter
//            radius x (mpp.x + mpp.y); two circles add the centre distance and
//            the direction from the first centre to the second
//   perpendicular: the foot of the measured point (point 2) on the base line
//            (points 0, 1) is stored as point 3; value[0] the distance
//   angle: VertexAngle with point 1 as the vertex
// The record's unit becomes the calibration's. A record of an unknown kind or
// with fewer points than its kind needs is left unchanged (false).
[[nodiscard]] bool ComputeResults(MEASURE& record, const CALIBRATION& calibration, std::int32_t baseLine,
                                  FrameSize frame);

// After the selected calibration changed: rescales the lengths, diameters and
// distances of every record from its stored points, centres and radii,
// counts polygon areas again on the frame, leaves angles alone, and sets each
// record's unit. The cursor stays. Returns the number of records updated.
std::int32_t RecomputeForCalibration(CMeasureChain& chain, const CALIBRATION& calibration, FrameSize frame);

} // namespace orvane
