#include "app/measure/ResultListMirror.h"

#include <algorithm>
#include <array>
#include <string>

#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTableWidget>

#include "measure/ResultsListModel.h"

namespace orvane {
namespace {

QTableWidgetItem* Cell(const std::string& text)
{
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

ResultListMirror::ResultListMirror(ResultsListModel& model, QTableWidget& view) : m_model(model), m_view(view)
{
    m_model.SetListener({{}, [this](const ListChange& change) { Apply(change); }});
    Apply({ListChangeKind::Reset, 0, m_model.RowCount()});
}

ResultListMirror::~ResultListMirror()
{
    m_model.SetListener({});
}

void ResultListMirror::Apply(const ListChange& change)
{
    const QSignalBlocker quiet(&m_view);
    switch (change.kind) {
    case ListChangeKind::Reset:
        m_view.clearSelection();
        m_view.setRowCount(0);
        m_view.setRowCount(m_model.RowCount());
        for (int row = 0; row < m_model.RowCount(); ++row) {
            WriteRow(row);
        }
        break;
    case ListChangeKind::Inserted:
        for (int row = change.first; row < change.first + change.count; ++row) {
            m_view.insertRow(row);
            WriteRow(row);
        }
        break;
    case ListChangeKind::Changed:
        for (int row = change.first; row < change.first + change.count; ++row) {
            WriteRow(row);
        }
        break;
    }
}

void ResultListMirror::WriteRow(int row)
{
    if (row < 0 || row >= m_model.RowCount() || row >= m_view.rowCount()) {
        return;
    }
    const ResultListRow& source = m_model.rows()[static_cast<std::size_t>(row)];
    const std::array<const std::string*, 4> columns{&source.no, &source.type, &source.result, &source.unit};
    for (int column = 0; column < 4; ++column) {
        m_view.setItem(row, column, Cell(*columns[static_cast<std::size_t>(column)]));
    }
}

void ResultListMirror::SelectRows(std::span<const int> rows)
{
    const QSignalBlocker quiet(&m_view);
    QItemSelectionModel* selection = m_view.selectionModel();
    if (selection == nullptr) {
        return;
    }
    QItemSelection chosen;
    for (const int row : rows) {
        if (row >= 0 && row < m_view.rowCount()) {
            chosen.select(m_view.model()->index(row, 0), m_view.model()->index(row, m_view.columnCount() - 1));
        }
    }
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty() && rows.front() >= 0 && rows.front() < m_view.rowCount()) {
        m_view.scrollTo(m_view.model()->index(rows.front(), 0));
    }
    m_view.viewport()->update();
}

std::vector<int> ResultListMirror::SelectedRows() const
{
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = m_view.selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows()) {
            rows.push_back(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace orvane
