#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "measure/CMeasureChain.h"
#include "measure/Measure.h"
#include "measure/ResultFormat.h"
#include "platform/StringTable.h"

// The results list as plain data: which rows each record owns and the texts
// of the list's four columns "No.", "Type", "Result" and "Unit". The window's
// list view and the CSV export are both filled from it.
namespace orvane {

// How a row formats its value.
enum class RowValue { Length, Area, Angle };

// One row that a record owns: its type text, the value[] it shows and how.
struct RowSpec {
    StringId type;
    std::int32_t valueIndex;
    RowValue value;
};

// The rows of a record of this kind, in list order (none for other kinds):
//   -1 Length value[0], Angle value[1]     -2 Polygon area value[0]
//   -3 Circle diameter value[0]            -5 Length value[0]
//   -4 Circle diameter value[0] and value[1], Circle distance value[2], Angle value[3]
//   -6 Angle value[0]
[[nodiscard]] std::span<const RowSpec> RowSpecsOfKind(std::int32_t kind);

// Columns "Result" and "Unit" of one row: lengths and areas in `listUnit`
// (both empty for a unit code outside 0-2), angles in degrees.
[[nodiscard]] ListColumns RowColumns(const MEASURE& record, const RowSpec& row, std::int32_t listUnit);

// One row of the list as shown, with the record that owns it.
struct ResultListRow {
    std::string no; // the row's own index, "%d", 0 for the first row
    std::string type;
    std::string result;
    std::string unit;
    const MEASURE* record = nullptr;
};

// Every row for the chain's records from the first, in the program-wide
// language. Lengths and areas are written in `listUnit`, the unit of the
// calibration selected when the list is filled; without it, in each record's
// own unit (the unit its values were last computed in).
[[nodiscard]] std::vector<ResultListRow> ResultListRows(const CMeasureChain& chain,
                                                        std::optional<std::int32_t> listUnit);

} // namespace orvane
