#pragma once

#include <cstdint>
#include <memory>

#include "measure/CTChain.h"
#include "measure/Measure.h"

namespace orvane {

// Identity of a record entering the measure chain: the 32-bit wrapping
// product tick count x rand(), read as int32 (may be negative or zero).
[[nodiscard]] std::int32_t MakeRecordId(std::uint32_t tickCount, int randomValue);

// The finished measurements. Every record enters through AddTail/AddTailCopy,
// which make it a fresh entry: a new id, not selected, no label texts and
// position number 0 until the next Renumber. Everything else (kind, points with
// all their slots, unit, values, centres, radii, label offsets) is kept.
class CMeasureChain : public CTChain<MEASURE> {
public:
    // Adopts the record as a fresh entry after the last record.
    int AddTail(std::unique_ptr<MEASURE> record) override;
    // A fresh copy of `source` after the last record, which becomes the
    // cursor; a null source does nothing (0).
    int AddTailCopy(const MEASURE* source);

    // Cursor on the first record (from the start) with this id: 1; else 0
    // with the cursor on the last record.
    int FindById(std::int32_t id);
    // FindById, then RemoveCurrent.
    int RemoveById(std::int32_t id);
};

} // namespace orvane
