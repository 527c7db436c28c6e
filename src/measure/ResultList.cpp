#include "measure/ResultList.h"

#include <array>

namespace orvane {
namespace {

constexpr std::array kLengthRows{RowSpec{StringId::Length, 0, RowValue::Length},
                                 RowSpec{StringId::Angle, 1, RowValue::Angle}};
constexpr std::array kAreaRows{RowSpec{StringId::PolygonArea, 0, RowValue::Area}};
constexpr std::array kCircleRows{RowSpec{StringId::CircleDiameter, 0, RowValue::Length}};
constexpr std::array kTwoCircleRows{
    RowSpec{StringId::CircleDiameter, 0, RowValue::Length}, RowSpec{StringId::CircleDiameter, 1, RowValue::Length},
    RowSpec{StringId::CircleDistance, 2, RowValue::Length}, RowSpec{StringId::Angle, 3, RowValue::Angle}};
constexpr std::array kPerpendicularRows{RowSpec{StringId::Length, 0, RowValue::Length}};
constexpr std::array kAngleRows{RowSpec{StringId::Angle, 0, RowValue::Angle}};

} // namespace

std::span<const RowSpec> RowSpecsOfKind(std::int32_t kind)
{
    switch (kind) {
    case FinishedKind(kModeLength): return kLengthRows;
    case FinishedKind(kModeArea): return kAreaRows;
    case FinishedKind(kModeCircle): return kCircleRows;
    case FinishedKind(kModeTwoCircles): return kTwoCircleRows;
    case FinishedKind(kModePerpendicular): return kPerpendicularRows;
    case FinishedKind(kModeAngle): return kAngleRows;
    default: return {};
    }
}

ListColumns RowColumns(const MEASURE& record, const RowSpec& row, std::int32_t listUnit)
{
    const double value = record.value.at(static_cast<std::size_t>(row.valueIndex));
    switch (row.value) {
    case RowValue::Length: return FormatLength(value, listUnit);
    case RowValue::Area: return FormatArea(value, listUnit);
    case RowValue::Angle: return FormatAngle(value);
    }
    return {};
}

std::vector<ResultListRow> ResultListRows(const CMeasureChain& chain, std::optional<std::int32_t> listUnit)
{
    std::vector<ResultListRow> rows;
    for (const MEASURE* record = chain.First(); record != nullptr; record = record->next) {
        for (const RowSpec& rowSpec : RowSpecsOfKind(record->kind)) {
            ListColumns columns = RowColumns(*record, rowSpec, listUnit.value_or(record->unit));
            rows.push_back({std::to_string(rows.size()), std::string(StringText(rowSpec.type)), std::move(columns.result),
                            std::move(columns.unit), record});
        }
    }
    return rows;
}

} // namespace orvane
