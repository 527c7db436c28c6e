#include "measure/CalibrationSelection.h"

namespace orvane {

SelectedCalibration ApplyCalibrationChoice(CCalibChain& calibrations, std::int32_t index, CMeasureChain& measurements,
                                           FrameSize frame, const std::function<void(const CALIBRATION&)>& rewriteRows)
{
    // An index outside the list leaves the cursor on its nearest end, and
    // that record is used: the window always has a calibration to scale with.
    calibrations.MoveTo(index);
    CALIBRATION* record = calibrations.Current();
    if (record == nullptr) {
        return {};
    }
    RecomputeForCalibration(measurements, *record, frame);
    if (rewriteRows) {
        rewriteRows(*record);
    }
    return SelectedCalibration{record, record->mpp, record->unit};
}

} // namespace orvane
