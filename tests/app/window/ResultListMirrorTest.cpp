#include "app/measure/ResultListMirror.h"

#include <functional>
#include <vector>

#include <QSignalSpy>
#include <QTableView>
#include <gtest/gtest.h>

#include "measure/ResultsListModel.h"

// The results list view reads the results list model's rows through the
// table model: appended, rewritten and refilled rows show at once, the
// operator's selection comes back in row order, and selecting from the
// picture does not report itself back.
namespace orvane {
namespace {

MEASURE Length(double value)
{
    MEASURE record;
    record.kind = FinishedKind(kModeLength);
    record.pointCount = 2;
    record.value[0] = value;
    record.value[1] = 45.0;
    return record;
}

struct MirrorCase {
    const char* name;
    std::function<void(ResultsListModel&, CMeasureChain&)> change;
    int rows;
    QString lastResult;
};

TEST(ResultListMirrorTest, ViewShowsTheModelAfterEveryKindOfChange)
{
    const std::vector<MirrorCase> cases{
        {"rows appended",
         [](ResultsListModel& list, CMeasureChain& chain) {
             const MEASURE record = Length(1.5);
             chain.AddTailCopy(&record);
             list.AddRecordRows(*chain.Current());
         },
         2, "45.0"},
        {"row rewritten",
         [](ResultsListModel& list, CMeasureChain&) { list.SetRowValue(1, 90.0, RowValue::Angle); }, 2, "90.0"},
        {"refilled",
         [](ResultsListModel& list, CMeasureChain& chain) {
             for (int i = 0; i < 4; ++i) {
                 const MEASURE record = Length(2.0 + i);
                 chain.AddTailCopy(&record);
             }
             list.RefillList(chain);
         },
         10, "45.0"},
        {"cleared", [](ResultsListModel& list, CMeasureChain&) { list.Clear(); }, 0, ""},
    };
    ResultsListModel list;
    CMeasureChain chain;
    QTableView view;
    ResultListMirror mirror(list, view);
    for (const MirrorCase& c : cases) {
        c.change(list, chain);
        const QAbstractItemModel* model = view.model();
        ASSERT_EQ(model->rowCount(), c.rows) << c.name;
        if (c.rows > 0) {
            EXPECT_EQ(model->index(c.rows - 1, 2).data().toString(), c.lastResult) << c.name;
            EXPECT_EQ(model->index(0, 1).data().toString(), "Length") << c.name;
        }
    }
}

TEST(ResultListMirrorTest, SelectionComesBackInRowOrderAndPictureSelectionStaysQuiet)
{
    ResultsListModel list;
    CMeasureChain chain;
    for (int i = 0; i < 3; ++i) {
        const MEASURE record = Length(1.0 + i);
        chain.AddTailCopy(&record);
    }
    list.RefillList(chain);
    QTableView view;
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    ResultListMirror mirror(list, view);
    QSignalSpy told(view.selectionModel(), &QItemSelectionModel::selectionChanged);

    const std::vector<int> chosen{4, 1};
    mirror.SelectRows(chosen);
    EXPECT_EQ(mirror.SelectedRows(), (std::vector<int>{1, 4}));
    EXPECT_EQ(told.count(), 0);

    view.selectRow(2);
    EXPECT_EQ(mirror.SelectedRows(), (std::vector<int>{2}));
    EXPECT_EQ(told.count(), 1);
}

} // namespace
} // namespace orvane
