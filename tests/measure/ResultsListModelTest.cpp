#include "measure/ResultsListModel.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct Event {
    bool before;
    ListChange change;
    friend bool operator==(const Event&, const Event&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Event& e)
    {
        return out << (e.before ? "before " : "after ") << static_cast<int>(e.change.kind) << ' ' << e.change.first
                   << '+' << e.change.count;
    }
};

class ResultsListModelTest : public testing::Test {
protected:
    ResultsListModelTest()
    {
        list.SetListener({[this](const ListChange& c) {
                              events.push_back({true, c});
                          },
                          [this](const ListChange& c) {
                              events.push_back({false, c});
                          }});
        list.SetListUnit(kUnitMm);
    }

    MEASURE* Add(std::int32_t kind, std::array<double, 5> values, std::int32_t unit = kUnitCm)
    {
        MEASURE record;
        record.kind = kind;
        record.value = values;
        record.unit = unit;
        chain.AddTailCopy(&record);
        return chain.Current();
    }

    [[nodiscard]] std::vector<std::string> Column(std::string ResultListRow::*field) const
    {
        std::vector<std::string> texts;
        for (const ResultListRow& row : list.rows()) {
            texts.push_back(row.*field);
        }
        return texts;
    }

    CMeasureChain chain;
    ResultsListModel list;
    std::vector<Event> events;
};

TEST_F(ResultsListModelTest, AddedRowsAreNumberedAndAnnouncedAroundTheInsert)
{
    const MEASURE* length = Add(-1, {1.0, 45.0});
    list.AddRow(StringId::Length, 1.0, RowValue::Length, length);
    list.AddAngleRow(45.0, length);
    list.AddRow(StringId::PolygonArea, 2.5, RowValue::Area, nullptr);

    EXPECT_EQ(Column(&ResultListRow::no), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(Column(&ResultListRow::type), (std::vector<std::string>{"Length", "Angle", "Polygon area"}));
    EXPECT_EQ(Column(&ResultListRow::result), (std::vector<std::string>{"1.000", "45.0", "2.500"}));
    EXPECT_EQ(Column(&ResultListRow::unit), (std::vector<std::string>{"mm", "degree", "mm2"}));
    EXPECT_EQ(list.rows()[1].record, length);
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[4], (Event{true, {ListChangeKind::Inserted, 2, 1}}));
    EXPECT_EQ(events[5], (Event{false, {ListChangeKind::Inserted, 2, 1}}));
}

TEST_F(ResultsListModelTest, SetRowValueRewritesOnlyExistingRows)
{
    list.AddRow(StringId::Length, 1.0, RowValue::Length, nullptr);
    events.clear();
    list.SetListUnit(kUnitUm);
    EXPECT_TRUE(list.SetRowValue(0, 12.345, RowValue::Length));
    EXPECT_EQ(list.rows()[0].result, "12.35");
    EXPECT_EQ(list.rows()[0].unit, "um");
    EXPECT_TRUE(list.SetRowAngle(0, 33.33));
    EXPECT_EQ(list.rows()[0].result, "33.3");
    EXPECT_EQ(events.back(), (Event{false, {ListChangeKind::Changed, 0, 1}}));
    EXPECT_FALSE(list.SetRowValue(1, 1.0, RowValue::Length));
    EXPECT_FALSE(list.SetRowValue(-1, 1.0, RowValue::Length));
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(ResultsListModelTest, ARecordsRowsAreFoundFromItsFirstRow)
{
    MEASURE* circle = Add(-3, {1.0});
    MEASURE* two = Add(-4, {1.0, 2.0, 3.0, 90.0});
    list.AddRecordRows(*circle);
    list.AddRecordRows(*two);
    ASSERT_EQ(list.RowCount(), 5);
    EXPECT_EQ(list.FirstRowOf(two), 1);
    EXPECT_EQ(list.FirstRowOf(nullptr), std::nullopt);

    two->value[2] = 7.0;
    two->value[3] = 180.0;
    EXPECT_TRUE(list.RewriteRecordRow(*two, 2));
    EXPECT_TRUE(list.RewriteRecordRow(*two, 3));
    EXPECT_EQ(Column(&ResultListRow::result), (std::vector<std::string>{"1.000", "1.000", "2.000", "7.000", "180.0"}));
    EXPECT_FALSE(list.RewriteRecordRow(*two, 4));
    EXPECT_FALSE(list.RewriteRecordRow(*circle, 1));

    MEASURE* absent = Add(-6, {10.0});
    EXPECT_FALSE(list.RewriteRecordRows(*absent));
}

TEST_F(ResultsListModelTest, RefillListResetsTheViewAndWritesInTheListUnit)
{
    list.AddRow(StringId::Length, 1.0, RowValue::Length, nullptr);
    Add(-1, {1.0, 90.0}, kUnitUm);
    Add(-2, {4.0, 4.0}, kUnitUm);
    events.clear();
    list.RefillList(chain);
    EXPECT_EQ(events,
              (std::vector<Event>{{true, {ListChangeKind::Reset, 0, 3}}, {false, {ListChangeKind::Reset, 0, 3}}}));
    EXPECT_EQ(Column(&ResultListRow::no), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(Column(&ResultListRow::unit), (std::vector<std::string>{"mm", "degree", "mm2"}));

    list.Clear();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(events.back(), (Event{false, {ListChangeKind::Reset, 0, 0}}));
}

TEST_F(ResultsListModelTest, RewriteAllRowsFollowsEachRecordsRowOrder)
{
    MEASURE* length = Add(-1, {1.0, 30.0});
    MEASURE* angle = Add(-6, {60.0});
    list.RefillList(chain);
    length->value = {2.0, 31.0};
    angle->value[0] = 61.0;
    list.SetListUnit(kUnitCm);
    events.clear();
    list.RewriteAllRows();
    EXPECT_EQ(Column(&ResultListRow::result), (std::vector<std::string>{"2.00", "31.0", "61.0"}));
    EXPECT_EQ(Column(&ResultListRow::unit), (std::vector<std::string>{"cm", "degree", "degree"}));
    EXPECT_EQ(events, (std::vector<Event>{{false, {ListChangeKind::Changed, 0, 3}}}));
}

} // namespace
} // namespace orvane
