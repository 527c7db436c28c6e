#include "measure/MeasureResults.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>

#include "measure/Geometry.h"
#include "measure/MeasureLog.h"
#include "measure/PolygonPixelCount.h"

namespace orvane {
namespace {

// Points each kind needs (a perpendicular also gets its foot stored).
std::int32_t RequiredPoints(std::int32_t mode)
{
    switch (mode) {
    case kModeLength: return 2;
    case kModeArea: return 0;
    case kModeCircle: return 3;
    case kModeTwoCircles: return 6;
    case kModePerpendicular: return 3;
    case kModeAngle: return 3;
    default: return -1;
    }
}

std::int32_t ModeOf(const MEASURE& record)
{
    return std::abs(record.kind);
}

// The meaningful points that the array really holds.
std::span<const PointD> Vertices(const MEASURE& record)
{
    const std::span<const PointD> slots = record.points.Slots();
    const auto count = static_cast<std::size_t>(std::clamp(record.pointCount, 0, record.points.Capacity()));
    return slots.first(count);
}

double Diameter(double radius, const CALIBRATION& calibration)
{
    return radius * (calibration.mpp.x + calibration.mpp.y);
}

void CountArea(MEASURE& record, const CALIBRATION& calibration, FrameSize frame)
{
    const std::optional<std::int64_t> pixels = PolygonPixelCount(Vertices(record), frame.width, frame.height);
    if (pixels) {
        record.value[0] = static_cast<double>(*pixels) * calibration.mpp.x * calibration.mpp.y;
        record.value[1] = record.value[0];
    }
}

void FitCircle(MEASURE& record, int circle, std::span<const PointD> rim)
{
    const CircleFit fit = CircleFrom3Points(rim[0], rim[1], rim[2]);
    record.centre[circle] = fit.centre;
    if (fit.radius) {
        record.radius[circle] = *fit.radius;
    }
}

} // namespace

bool ComputeResults(MEASURE& record, const CALIBRATION& calibration, std::int32_t baseLine, FrameSize frame)
{
    const std::int32_t mode = ModeOf(record);
    const std::int32_t required = RequiredPoints(mode);
    const std::span<const PointD> p = Vertices(record);
    if (required < 0 || p.size() < static_cast<std::size_t>(required)) {
        kMeasureLog.Debug("record of kind " + std::to_string(record.kind) + " with " +
                          std::to_string(record.pointCount) + " points not computed");
        return false;
    }

    switch (mode) {
    case kModeLength:
        record.value[0] = ScaledDistance(p[0], p[1], calibration.mpp);
        record.value[1] = DirectionAngle(p[1].x, p[1].y, p[0].x, p[0].y, baseLine);
        break;
    case kModeArea: CountArea(record, calibration, frame); break;
    case kModeCircle:
        FitCircle(record, 0, p.subspan(0, 3));
        record.value[0] = Diameter(record.radius[0], calibration);
        break;
    case kModeTwoCircles:
        FitCircle(record, 0, p.subspan(0, 3));
        FitCircle(record, 1, p.subspan(3, 3));
        record.value[0] = Diameter(record.radius[0], calibration);
        record.value[1] = Diameter(record.radius[1], calibration);
        record.value[2] = ScaledDistance(record.centre[0], record.centre[1], calibration.mpp);
        record.value[3] =
            DirectionAngle(record.centre[1].x, record.centre[1].y, record.centre[0].x, record.centre[0].y, baseLine);
        break;
    case kModePerpendicular: {
        const PointD measured = p[2];
        const LineEquation base = LineThrough(p[0], p[1]);
        const PointD foot = FootOfPerpendicular(measured, base.slope, base.intercept);
        if (record.points.SetAt(3, foot.x, foot.y) == 0) {
            return false;
        }
        record.value[0] = ScaledDistance(measured, foot, calibration.mpp);
        break;
    }
    case kModeAngle: record.value[0] = VertexAngle(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y); break;
    default: return false;
    }
    record.unit = calibration.unit;
    return true;
}

std::int32_t RecomputeForCalibration(CMeasureChain& chain, const CALIBRATION& calibration, FrameSize frame)
{
    std::int32_t updated = 0;
    chain.Touch();
    for (MEASURE* record = chain.First(); record != nullptr; record = record->next) {
        const std::span<const PointD> slots = record->points.Slots();
        switch (ModeOf(*record)) {
        case kModeLength:
            if (Vertices(*record).size() < 2) {
                continue;
            }
            record->value[0] = ScaledDistance(slots[0], slots[1], calibration.mpp);
            break;
        case kModeArea: CountArea(*record, calibration, frame); break;
        case kModeCircle: record->value[0] = Diameter(record->radius[0], calibration); break;
        case kModeTwoCircles:
            record->value[0] = Diameter(record->radius[0], calibration);
            record->value[1] = Diameter(record->radius[1], calibration);
            record->value[2] = ScaledDistance(record->centre[0], record->centre[1], calibration.mpp);
            break;
        case kModePerpendicular:
            // The measured point and its stored foot.
            if (slots.size() < 4) {
                continue;
            }
            record->value[0] = ScaledDistance(slots[2], slots[3], calibration.mpp);
            break;
        case kModeAngle: break;
        default: continue;
        }
        record->unit = calibration.unit;
        ++updated;
    }
    return updated;
}

} // namespace orvane
