#pragma once

#include <cstdint>
#include <string_view>

#include "measure/CTChain.h"
#include "measure/Calibration.h"

namespace orvane {

// The calibrations of the calibration list, always 20 while the program runs.
class CCalibChain : public CTChain<CALIBRATION> {
public:
    // Appends a calibration with index = the current count, the name (cut to
    // 255 characters), the real lengths and unit, the rectangle
    // (0, 0)-(200, 200) and mpp 0 until RecomputeScales.
    int AddCalibration(std::string_view name, double lengthX, double lengthY, std::int32_t unit);

    // mpp = length / rectangle size for every record, per axis; an axis whose
    // size is 0 keeps its old mpp. The cursor stays.
    int RecomputeScales();

    // MoveTo(index) and the record whose rectangle and drag state the
    // calibration editing works on; null when there is no such record.
    [[nodiscard]] CALIBRATION* RectAt(std::int32_t index);
};

// Replaces the chain's records by the 20 default calibrations "Data1" to
// "Data20" (prefix in the current language): 10.0 x 10.0 mm over the rectangle
// (0, 0)-(200, 200), that is 0.05 mm per pixel.
void AddDefaultCalibrations(CCalibChain& chain);

} // namespace orvane
