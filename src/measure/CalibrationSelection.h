#pragma once

#include <cstdint>
#include <functional>

#include "measure/CCalibChain.h"
#include "measure/CMeasureChain.h"
#include "measure/Calibration.h"
#include "measure/MeasureResults.h"
#include "image/PointD.h"

namespace orvane {

// The calibration that scales every measurement, as the main window keeps it.
struct SelectedCalibration {
    CALIBRATION* record = nullptr; // in the calibration chain; null when the chain is empty
    PointD mpp;                    // copies for the scale bar, cross lines and new measurements
    std::int32_t unit = 0;
};

// The work of the main window's OnCalibrationSelected: a new choice in the
// calibration list (also after the calibration dialog closed, and at start
// once the list is filled). The chain's cursor moves to `index` (an index
// past the end leaves it on the last calibration, a negative one on the
// first, as MoveTo does), its mpp and unit are copied out, every measurement
// is rescaled with it on a frame of `frame`'s size, and `rewriteRows` then
// writes the results list's values anew in its unit (skipped when empty). An
// empty chain changes nothing and gives a null record.
SelectedCalibration ApplyCalibrationChoice(CCalibChain& calibrations, std::int32_t index, CMeasureChain& measurements,
                                           FrameSize frame, const std::function<void(const CALIBRATION&)>& rewriteRows);

} // namespace orvane
