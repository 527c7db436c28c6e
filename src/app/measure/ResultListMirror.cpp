#include "app/measure/ResultListMirror.h"

#include <algorithm>
#include <string>

#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTableView>

#include "measure/ResultsListModel.h"

namespace orvane {

ResultListMirror::ResultListMirror(ResultsListModel& model, QTableView& view)
    : QAbstractTableModel(&view), m_model(model), m_view(view)
{
    m_model.SetListener({[this](const ListChange& change) { AboutToChange(change); },
                         [this](const ListChange& change) { Changed(change); }});
    m_view.setModel(this);
}

ResultListMirror::~ResultListMirror()
{
    m_model.SetListener({});
}

int ResultListMirror::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_model.RowCount();
}

int ResultListMirror::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ResultListMirror::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_model.RowCount()) {
        return {};
    }
    const ResultListRow& row = m_model.rows()[static_cast<std::size_t>(index.row())];
    const std::string* text = nullptr;
    switch (index.column()) {
    case 0: text = &row.no; break;
    case 1: text = &row.type; break;
    case 2: text = &row.result; break;
    case 3: text = &row.unit; break;
    default: return {};
    }
    return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
}

QVariant ResultListMirror::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns) {
        return m_headers[section];
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ResultListMirror::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns ||
        (role != Qt::EditRole && role != Qt::DisplayRole)) {
        return false;
    }
    m_headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags ResultListMirror::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void ResultListMirror::AboutToChange(const ListChange& change)
{
    const QSignalBlocker quiet(m_view.selectionModel());
    switch (change.kind) {
    case ListChangeKind::Reset: beginResetModel(); break;
    case ListChangeKind::Inserted: beginInsertRows({}, change.first, change.first + change.count - 1); break;
    case ListChangeKind::Changed: break;
    }
}

void ResultListMirror::Changed(const ListChange& change)
{
    // The operator's selection signal reports the operator's choices only.
    const QSignalBlocker quiet(m_view.selectionModel());
    switch (change.kind) {
    case ListChangeKind::Reset: endResetModel(); break;
    case ListChangeKind::Inserted: endInsertRows(); break;
    case ListChangeKind::Changed:
        if (change.count > 0) {
            emit dataChanged(index(change.first, 0), index(change.first + change.count - 1, kColumns - 1));
        }
        break;
    }
}

void ResultListMirror::SelectRows(std::span<const int> rows)
{
    QItemSelectionModel* selection = m_view.selectionModel();
    if (selection == nullptr) {
        return;
    }
    const QSignalBlocker quiet(selection);
    QItemSelection chosen;
    for (const int row : rows) {
        if (row >= 0 && row < rowCount()) {
            chosen.select(index(row, 0), index(row, kColumns - 1));
        }
    }
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty() && rows.front() >= 0 && rows.front() < rowCount()) {
        m_view.scrollTo(index(rows.front(), 0));
    }
    m_view.viewport()->update();
}

std::vector<int> ResultListMirror::SelectedRows() const
{
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = m_view.selectionModel()) {
        for (const QModelIndex& selected : selection->selectedRows()) {
            rows.push_back(selected.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace orvane
