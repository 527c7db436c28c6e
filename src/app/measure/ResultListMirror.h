#pragma once

#include <span>
#include <vector>

#include <QAbstractTableModel>

class QTableView;

namespace orvane {

class ResultsListModel;
struct ListChange;

// The results list view (control 1118) over the results list model: a table
// model that reads the model's rows when the view paints them (no item per
// cell, so that ten thousand rows fill and scroll at once), told of rows
// appended, rewritten or refilled, and the rows the operator selects handed
// back in row order. Header texts are set through setHeaderData.
//
// The model and the view must outlive the mirror. UI thread only.
class ResultListMirror : public QAbstractTableModel {
    Q_OBJECT

public:
    ResultListMirror(ResultsListModel& model, QTableView& view);
    ~ResultListMirror() override;

    ResultListMirror(const ResultListMirror&) = delete;
    ResultListMirror& operator=(const ResultListMirror&) = delete;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The selected rows, ascending.
    [[nodiscard]] std::vector<int> SelectedRows() const;
    // Selects exactly these rows and scrolls the first into view; the view's
    // selection signal stays quiet (the model already knows).
    void SelectRows(std::span<const int> rows);

private:
    void AboutToChange(const ListChange& change);
    void Changed(const ListChange& change);

    static constexpr int kColumns = 4;

    ResultsListModel& m_model;
    QTableView& m_view;
    QString m_headers[kColumns];
};

} // namespace orvane
