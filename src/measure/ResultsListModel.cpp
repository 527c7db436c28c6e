#include "measure/ResultsListModel.h"

#include <span>
#include <string>

namespace orvane {
namespace {

ListColumns Columns(double value, RowValue format, std::int32_t unit)
{
    switch (format) {
    case RowValue::Length: return FormatLength(value, unit);
    case RowValue::Area: return FormatArea(value, unit);
    case RowValue::Angle: return FormatAngle(value);
    }
    return {};
}

} // namespace

void ResultsListModel::Notify(const std::function<void(const ListChange&)>& listener, const ListChange& change) const
{
    if (listener) {
        listener(change);
    }
}

void ResultsListModel::AddRow(StringId type, double value, RowValue format, const MEASURE* record)
{
    const ListChange change{ListChangeKind::Inserted, RowCount(), 1};
    Notify(m_listener.aboutToChange, change);
    ListColumns columns = Columns(value, format, m_listUnit);
    m_rows.push_back({std::to_string(m_rows.size()), std::string(StringText(type)), std::move(columns.result),
                      std::move(columns.unit), record});
    Notify(m_listener.changed, change);
}

void ResultsListModel::AddAngleRow(double value, const MEASURE* record)
{
    AddRow(StringId::Angle, value, RowValue::Angle, record);
}

bool ResultsListModel::SetRowValue(int row, double value, RowValue format)
{
    if (row < 0 || row >= RowCount()) {
        return false;
    }
    ListColumns columns = Columns(value, format, m_listUnit);
    ResultListRow& target = m_rows[static_cast<std::size_t>(row)];
    target.result = std::move(columns.result);
    target.unit = std::move(columns.unit);
    Notify(m_listener.changed, {ListChangeKind::Changed, row, 1});
    return true;
}

bool ResultsListModel::SetRowAngle(int row, double value)
{
    return SetRowValue(row, value, RowValue::Angle);
}

void ResultsListModel::AddRecordRows(const MEASURE& record)
{
    for (const RowSpec& rowSpec : RowSpecsOfKind(record.kind)) {
        AddRow(rowSpec.type, record.value.at(static_cast<std::size_t>(rowSpec.valueIndex)), rowSpec.value, &record);
    }
}

std::optional<int> ResultsListModel::FirstRowOf(const MEASURE* record) const
{
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].record == record) {
            return static_cast<int>(row);
        }
    }
    return std::nullopt;
}

bool ResultsListModel::RewriteRecordRow(const MEASURE& record, int rowOfRecord)
{
    const std::span<const RowSpec> specs = RowSpecsOfKind(record.kind);
    const std::optional<int> first = FirstRowOf(&record);
    if (!first || rowOfRecord < 0 || rowOfRecord >= static_cast<int>(specs.size())) {
        return false;
    }
    const int row = *first + rowOfRecord;
    if (row >= RowCount() || m_rows[static_cast<std::size_t>(row)].record != &record) {
        return false;
    }
    const RowSpec& rowSpec = specs[static_cast<std::size_t>(rowOfRecord)];
    return SetRowValue(row, record.value.at(static_cast<std::size_t>(rowSpec.valueIndex)), rowSpec.value);
}

bool ResultsListModel::RewriteRecordRows(const MEASURE& record)
{
    const auto count = static_cast<int>(RowSpecsOfKind(record.kind).size());
    bool all = count > 0;
    for (int rowOfRecord = 0; rowOfRecord < count; ++rowOfRecord) {
        all = RewriteRecordRow(record, rowOfRecord) && all;
    }
    return all;
}

void ResultsListModel::WriteColumns(int row, const MEASURE& record, const RowSpec& rowSpec)
{
    ListColumns columns = RowColumns(record, rowSpec, m_listUnit);
    ResultListRow& target = m_rows[static_cast<std::size_t>(row)];
    target.result = std::move(columns.result);
    target.unit = std::move(columns.unit);
}

void ResultsListModel::RewriteAllRows()
{
    const MEASURE* current = nullptr;
    std::size_t rowOfRecord = 0;
    for (int row = 0; row < RowCount(); ++row) {
        const MEASURE* record = m_rows[static_cast<std::size_t>(row)].record;
        rowOfRecord = record == current ? rowOfRecord + 1 : 0;
        current = record;
        if (record == nullptr) {
            continue;
        }
        const std::span<const RowSpec> specs = RowSpecsOfKind(record->kind);
        if (rowOfRecord < specs.size()) {
            WriteColumns(row, *record, specs[rowOfRecord]);
        }
    }
    if (!m_rows.empty()) {
        Notify(m_listener.changed, {ListChangeKind::Changed, 0, RowCount()});
    }
}

void ResultsListModel::RefillList(const CMeasureChain& chain)
{
    std::vector<ResultListRow> rows = ResultListRows(chain, m_listUnit);
    const ListChange change{ListChangeKind::Reset, 0, static_cast<int>(rows.size())};
    Notify(m_listener.aboutToChange, change);
    m_rows = std::move(rows);
    Notify(m_listener.changed, change);
}

void ResultsListModel::Clear()
{
    const ListChange change{ListChangeKind::Reset, 0, 0};
    Notify(m_listener.aboutToChange, change);
    m_rows.clear();
    Notify(m_listener.changed, change);
}

} // namespace orvane
