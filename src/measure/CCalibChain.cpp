#include "measure/CCalibChain.h"

#include <string>

#include "measure/Measure.h"
#include "measure/TextLimit.h"
#include "platform/StringTable.h"

namespace orvane {

int CCalibChain::AddCalibration(std::string_view name, double lengthX, double lengthY, std::int32_t unit)
{
    CALIBRATION record;
    record.index = Count();
    record.name = TruncateUtf8(name, kCalibrationNameMaxChars);
    record.length = PointD{lengthX, lengthY};
    record.unit = unit;
    record.right = 200.0;
    record.bottom = 200.0;
    return AddTailValue(record);
}

int CCalibChain::RecomputeScales()
{
    if (Current() == nullptr) {
        return 0;
    }
    for (CALIBRATION* record = First(); record != nullptr; record = record->next) {
        if (record->right != record->left) {
            record->mpp.x = record->length.x / (record->right - record->left);
        }
        if (record->bottom != record->top) {
            record->mpp.y = record->length.y / (record->bottom - record->top);
        }
    }
    return 1;
}

CALIBRATION* CCalibChain::RectAt(std::int32_t index)
{
    return MoveTo(index) != 0 ? Current() : nullptr;
}

void AddDefaultCalibrations(CCalibChain& chain)
{
    constexpr int kDefaultCount = 20;
    chain.RemoveAll();
    const std::string prefix(StringText(StringId::Data));
    for (int number = 1; number <= kDefaultCount; ++number) {
        chain.AddCalibration(prefix + std::to_string(number), 10.0, 10.0, kUnitMm);
    }
    chain.RecomputeScales();
}

} // namespace orvane
