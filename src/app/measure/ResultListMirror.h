#pragma once

#include <span>
#include <vector>

class QTableWidget;

namespace orvane {

class ResultsListModel;
struct ListChange;

// Keeps the results list view (control 1118) a copy of the results list
// model: rows appended, rewritten or refilled as the model says, and the
// rows the operator selects handed back in row order. The view's own
// selection signals stay quiet while rows are written.
//
// The model and the view must outlive the mirror. UI thread only.
class ResultListMirror {
public:
    ResultListMirror(ResultsListModel& model, QTableWidget& view);
    ~ResultListMirror();

    ResultListMirror(const ResultListMirror&) = delete;
    ResultListMirror& operator=(const ResultListMirror&) = delete;

    // The selected rows, ascending.
    [[nodiscard]] std::vector<int> SelectedRows() const;
    // Selects exactly these rows and scrolls the first into view; the view's
    // selection signal stays quiet (the model already knows).
    void SelectRows(std::span<const int> rows);

private:
    void Apply(const ListChange& change);
    void WriteRow(int row);

    ResultsListModel& m_model;
    QTableWidget& m_view;
};

} // namespace orvane
