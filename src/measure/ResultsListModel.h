#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "measure/CMeasureChain.h"
#include "measure/Measure.h"
#include "measure/ResultList.h"
#include "platform/StringTable.h"

namespace orvane {

// A change of the results list, for a view that mirrors it. Rows are counted
// from 0; `count` rows from `first` (Reset: the whole list, count is the new
// row count).
enum class ListChangeKind { Reset, Inserted, Changed };
struct ListChange {
    ListChangeKind kind = ListChangeKind::Reset;
    int first = 0;
    int count = 0;
    friend bool operator==(const ListChange&, const ListChange&) = default;
};

// Told before and after every change: a Qt model maps them to
// beginInsertRows/endInsertRows, beginResetModel/endResetModel and (after
// only) dataChanged. Either may be empty.
struct ResultsListListener {
    std::function<void(const ListChange&)> aboutToChange;
    std::function<void(const ListChange&)> changed;
};

// The results list without a view: four column texts per row ("No.", "Type",
// "Result", "Unit") and the record each row belongs to. A record owns
// consecutive rows in the order RowSpecsOfKind gives; its rows are found by
// scanning for the first row of the record.
//
// Lengths and areas are written in the list unit, the unit of the calibration
// selected when the row is written (SetListUnit before writing); angles in
// degrees. Type texts are taken in the program-wide language when the row is
// added.
//
// UI thread only.
class ResultsListModel {
public:
    void SetListener(ResultsListListener listener) { m_listener = std::move(listener); }

    void SetListUnit(std::int32_t unit) { m_listUnit = unit; }
    [[nodiscard]] std::int32_t listUnit() const { return m_listUnit; }

    [[nodiscard]] const std::vector<ResultListRow>& rows() const { return m_rows; }
    [[nodiscard]] int RowCount() const { return static_cast<int>(m_rows.size()); }

    // Appends a row for `record`: column 0 its own index, the type text, the
    // value formatted as `format` says.
    void AddRow(StringId type, double value, RowValue format, const MEASURE* record);
    // AddRow with type "Angle" and the angle texts.
    void AddAngleRow(double value, const MEASURE* record);
    // Rewrite columns "Result" and "Unit" of an existing row; false (nothing
    // done) for a row the list does not have.
    bool SetRowValue(int row, double value, RowValue format);
    bool SetRowAngle(int row, double value);

    // Appends all rows of a finished record.
    void AddRecordRows(const MEASURE& record);
    // The first row whose record is `record`.
    [[nodiscard]] std::optional<int> FirstRowOf(const MEASURE* record) const;
    // Rewrites the record's row number `rowOfRecord` (0 = its first row) from
    // its values; false when the record has no such row in the list.
    bool RewriteRecordRow(const MEASURE& record, int rowOfRecord);
    // Rewrites every row of the record.
    bool RewriteRecordRows(const MEASURE& record);
    // Rewrites every row of the list from its record's values, in place.
    void RewriteAllRows();

    // Deletes all rows, then adds every record's rows from the chain's first.
    void RefillList(const CMeasureChain& chain);
    // Deletes all rows.
    void Clear();

private:
    void Notify(const std::function<void(const ListChange&)>& listener, const ListChange& change) const;
    void WriteColumns(int row, const MEASURE& record, const RowSpec& rowSpec);

    std::vector<ResultListRow> m_rows;
    std::int32_t m_listUnit = kUnitMm;
    ResultsListListener m_listener;
};

} // namespace orvane
