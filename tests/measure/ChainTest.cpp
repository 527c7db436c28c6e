#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "measure/CCalibChain.h"
#include "measure/CMeasureChain.h"
#include "measure/CTChain.h"
#include "platform/StringTable.h"

namespace orvane {
namespace {

// A minimal record that counts its live instances, to see that the chain
// frees what it owns.
struct Node {
    static inline int live = 0;
    int value = 0;
    int no = -1;
    Node* prev = nullptr;
    Node* next = nullptr;

    explicit Node(int v = 0) : value(v) { ++live; }
    Node(const Node& other) : value(other.value), no(other.no), prev(other.prev), next(other.next) { ++live; }
    Node& operator=(const Node&) = default;
    ~Node() { --live; }
};

using NodeChain = CTChain<Node>;

// The values from the first record on, after checking that the links agree
// in both directions and with the count.
template <typename T> std::vector<int> Values(CTChain<T>& chain)
{
    std::vector<int> values;
    const T* previous = nullptr;
    for (T* record = chain.First(); record != nullptr; record = record->next) {
        EXPECT_EQ(record->prev, previous);
        values.push_back(record->value);
        previous = record;
    }
    EXPECT_EQ(static_cast<int>(values.size()), chain.Count());
    return values;
}

NodeChain MakeChain(std::initializer_list<int> values)
{
    NodeChain chain;
    for (const int value : values) {
        chain.AddTailValue(Node(value));
    }
    return chain;
}

TEST(CTChainTest, InsertLinksAfterTheCursorAndMovesItThere)
{
    NodeChain chain = MakeChain({1, 2, 3});
    ASSERT_EQ(chain.MoveFirst(), 1);
    EXPECT_EQ(chain.InsertCopyAfterCursor(Node(9)), 1);
    EXPECT_EQ(chain.Current()->value, 9);
    EXPECT_EQ(Values(chain), (std::vector{1, 9, 2, 3}));

    auto adopted = std::make_unique<Node>(7);
    Node* const address = adopted.get();
    EXPECT_EQ(chain.InsertAfterCursor(std::move(adopted)), 1);
    EXPECT_EQ(chain.Current(), address);
    EXPECT_EQ(Values(chain), (std::vector{1, 9, 7, 2, 3}));
    EXPECT_EQ(chain.InsertAfterCursor(nullptr), 0);
    EXPECT_EQ(chain.Count(), 5);
}

TEST(CTChainTest, AddTailAppendsFromAnyCursorPosition)
{
    NodeChain chain = MakeChain({1, 2, 3});
    chain.MoveFirst();
    EXPECT_EQ(chain.AddTail(std::make_unique<Node>(4)), 1);
    chain.MoveTo(1);
    EXPECT_EQ(chain.AddTailValue(Node(5)), 1);
    EXPECT_EQ(chain.Current()->value, 5);
    EXPECT_EQ(chain.Current()->next, nullptr);
    EXPECT_EQ(Values(chain), (std::vector{1, 2, 3, 4, 5}));
}

TEST(CTChainTest, RemoveCurrentMovesToSuccessorElsePredecessor)
{
    NodeChain chain = MakeChain({1, 2, 3});
    chain.MoveTo(1);
    EXPECT_EQ(chain.RemoveCurrent(), 1);
    EXPECT_EQ(chain.Current()->value, 3);
    EXPECT_EQ(chain.RemoveCurrent(), 1); // the last record: back to its predecessor
    EXPECT_EQ(chain.Current()->value, 1);
    EXPECT_EQ(Values(chain), (std::vector{1}));
    EXPECT_EQ(chain.RemoveCurrent(), 1); // the only record
    EXPECT_EQ(chain.Current(), nullptr);
    EXPECT_EQ(chain.Count(), 0);
    EXPECT_EQ(chain.RemoveCurrent(), 0);
}

TEST(CTChainTest, EveryOperationOnAnEmptyChainAnswersZero)
{
    NodeChain chain;
    EXPECT_EQ(chain.RemoveCurrent(), 0);
    EXPECT_EQ(chain.RemoveAll(), 0);
    EXPECT_EQ(chain.MoveFirst(), 0);
    EXPECT_EQ(chain.MoveLast(), 0);
    EXPECT_EQ(chain.MoveNext(), 0);
    EXPECT_EQ(chain.MovePrev(), 0);
    EXPECT_EQ(chain.MoveTo(0), 0);
    EXPECT_EQ(chain.Renumber(), 0);
    EXPECT_EQ(chain.First(), nullptr);
    EXPECT_EQ(chain.Count(), 0);
}

TEST(CTChainTest, MoveToPastTheEndStopsOnTheLastRecord)
{
    NodeChain chain = MakeChain({1, 2, 3});
    EXPECT_EQ(chain.MoveTo(5), 0);
    EXPECT_EQ(chain.Current()->value, 3);
    EXPECT_EQ(chain.MoveTo(2), 1);
    EXPECT_EQ(chain.Current()->value, 3);
    EXPECT_EQ(chain.MoveTo(0), 1);
    EXPECT_EQ(chain.Current()->value, 1);
    chain.MoveLast();
    EXPECT_EQ(chain.MoveTo(-1), 0);
    EXPECT_EQ(chain.Current()->value, 1);
}

TEST(CTChainTest, RenumberCountsFromTheFirstAndKeepsTheCursor)
{
    NodeChain chain = MakeChain({5, 6, 7, 8});
    chain.MoveTo(2);
    EXPECT_EQ(chain.Renumber(), 1);
    EXPECT_EQ(chain.Current()->value, 7);
    int expected = 0;
    for (const Node* node = chain.First(); node != nullptr; node = node->next) {
        EXPECT_EQ(node->no, expected++);
    }
}

TEST(CTChainTest, FreesEveryRecordItOwnsAndMovesHandOver)
{
    ASSERT_EQ(Node::live, 0);
    {
        NodeChain chain = MakeChain({1, 2, 3});
        chain.AddTail(std::make_unique<Node>(4));
        EXPECT_EQ(Node::live, 4);
        chain.MoveFirst();
        chain.RemoveCurrent();
        EXPECT_EQ(Node::live, 3);

        NodeChain moved(std::move(chain));
        EXPECT_EQ(chain.Count(), 0); // NOLINT(bugprone-use-after-move): moved-from state is part of the contract
        EXPECT_EQ(chain.Current(), nullptr);
        EXPECT_EQ(Values(moved), (std::vector{2, 3, 4}));

        NodeChain other = MakeChain({9});
        other = std::move(moved);
        EXPECT_EQ(Values(other), (std::vector{2, 3, 4}));
        EXPECT_EQ(Node::live, 3);
    }
    EXPECT_EQ(Node::live, 0);
}

MEASURE WorkingRecord()
{
    MEASURE working;
    working.kind = FinishedKind(kModeLength);
    working.pointCount = 2;
    working.points.Grow(0, 20);
    working.points.SetAt(0, 1.5, 2.5);
    working.points.SetAt(1, 30.0, 40.0);
    working.unit = kUnitUm;
    working.selected = 1;
    working.no = 7;
    working.id = 42;
    working.value = {1, 2, 3, 4, 5};
    working.centre = {PointD{6, 7}, PointD{8, 9}};
    working.radius = {10, 11};
    working.labelOffset[4] = {12, -13};
    working.labelText[0] = "old text";
    return working;
}

TEST(CMeasureChainTest, AddTailCopyMakesAFreshEntryWithAllSlots)
{
    CMeasureChain chain;
    MEASURE working = WorkingRecord();
    chain.AddTailCopy(&working);
    ASSERT_EQ(chain.AddTailCopy(&working), 1);
    working.points.SetAt(0, -1.0, -1.0); // the copy owns its own points

    const MEASURE* added = chain.Current();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->next, nullptr);
    EXPECT_EQ(chain.Count(), 2);
    EXPECT_EQ(added->points.Capacity(), 20);
    EXPECT_EQ(added->points.Slots()[0], (PointD{1.5, 2.5}));
    EXPECT_EQ(added->points.Slots()[1], (PointD{30.0, 40.0}));
    EXPECT_EQ(added->points.Slots()[19], (PointD{}));
    EXPECT_EQ(added->kind, -1);
    EXPECT_EQ(added->pointCount, 2);
    EXPECT_EQ(added->unit, kUnitUm);
    EXPECT_EQ(added->value, working.value);
    EXPECT_EQ(added->centre, working.centre);
    EXPECT_EQ(added->radius, working.radius);
    EXPECT_EQ(added->labelOffset, working.labelOffset);
    EXPECT_EQ(added->selected, 0);
    EXPECT_EQ(added->no, 0);
    EXPECT_TRUE(added->labelText[0].empty());

    EXPECT_EQ(chain.AddTailCopy(nullptr), 0);
    EXPECT_EQ(chain.Count(), 2);
}

TEST(CMeasureChainTest, AddTailThroughTheBaseAlsoMakesAFreshEntry)
{
    CMeasureChain chain;
    CTChain<MEASURE>& base = chain;
    auto record = std::make_unique<MEASURE>(WorkingRecord());
    const MEASURE* address = record.get();
    ASSERT_EQ(base.AddTail(std::move(record)), 1);
    EXPECT_EQ(chain.Current(), address);
    EXPECT_EQ(address->selected, 0);
    EXPECT_TRUE(address->labelText[0].empty());
    EXPECT_EQ(address->points.Capacity(), 20);
}

TEST(CMeasureChainTest, RecordIdIsTheWrappingProductReadAsInt32)
{
    EXPECT_EQ(MakeRecordId(3, 5), 15);
    EXPECT_EQ(MakeRecordId(0x10000U, 0x10000), 0);
    EXPECT_EQ(MakeRecordId(0xFFFFFFFFU, 2), -2);
    EXPECT_EQ(MakeRecordId(0x80000000U, 1), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(MakeRecordId(100000U, 30000), static_cast<std::int32_t>(3000000000U));
}

TEST(CMeasureChainTest, RecordsAddedTogetherGetDifferentIds)
{
    std::srand(11);
    CMeasureChain chain;
    MEASURE working = WorkingRecord();
    chain.AddTailCopy(&working);
    const std::int32_t first = chain.Current()->id;
    chain.AddTailCopy(&working);
    EXPECT_NE(chain.Current()->id, first);
}

TEST(CMeasureChainTest, FindByIdTakesTheFirstMatchAndRemoveByIdRemovesIt)
{
    CMeasureChain chain;
    MEASURE working = WorkingRecord();
    for (int i = 0; i < 4; ++i) {
        chain.AddTailCopy(&working);
    }
    std::vector<MEASURE*> records;
    for (MEASURE* record = chain.First(); record != nullptr; record = record->next) {
        records.push_back(record);
    }
    records[0]->id = 10;
    records[1]->id = 20;
    records[2]->id = 20;
    records[3]->id = 30;

    chain.MoveLast();
    EXPECT_EQ(chain.FindById(20), 1);
    EXPECT_EQ(chain.Current(), records[1]);
    EXPECT_EQ(chain.FindById(10), 1);
    EXPECT_EQ(chain.Current(), records[0]);
    chain.MoveFirst();
    EXPECT_EQ(chain.FindById(99), 0);
    EXPECT_EQ(chain.Current(), records[3]);

    EXPECT_EQ(chain.RemoveById(20), 1);
    EXPECT_EQ(chain.Count(), 3);
    EXPECT_EQ(chain.Current(), records[2]);
    EXPECT_EQ(chain.FindById(20), 1);
    EXPECT_EQ(chain.Current(), records[2]);
    EXPECT_EQ(chain.RemoveById(99), 0);
    EXPECT_EQ(chain.Count(), 3);

    CMeasureChain empty;
    EXPECT_EQ(empty.FindById(0), 0);
    EXPECT_EQ(empty.RemoveById(0), 0);
}

TEST(CCalibChainTest, AddCalibrationSetsIndexRectangleAndCutsTheName)
{
    CCalibChain chain;
    ASSERT_EQ(chain.AddCalibration("first", 1.0, 2.0, kUnitCm), 1);
    std::string longName;
    for (int i = 0; i < 300; ++i) {
        longName += "校";
    }
    ASSERT_EQ(chain.AddCalibration(longName, 3.0, 4.0, kUnitUm), 1);

    const CALIBRATION* second = chain.Current();
    EXPECT_EQ(second->index, 1);
    EXPECT_EQ(second->name.size(), 255U * 3U);
    EXPECT_EQ(second->name.substr(0, 3), "校");
    EXPECT_EQ(second->length, (PointD{3.0, 4.0}));
    EXPECT_EQ(second->unit, kUnitUm);
    EXPECT_EQ(second->left, 0.0);
    EXPECT_EQ(second->top, 0.0);
    EXPECT_EQ(second->right, 200.0);
    EXPECT_EQ(second->bottom, 200.0);
    EXPECT_EQ(second->mpp, (PointD{}));
    EXPECT_EQ(chain.First()->index, 0);
    EXPECT_EQ(chain.First()->name, "first");
}

TEST(CCalibChainTest, RecomputeScalesKeepsTheScaleOfAZeroSizedAxis)
{
    CCalibChain chain;
    chain.AddCalibration("a", 10.0, 10.0, kUnitMm);
    chain.AddCalibration("b", 4.0, 6.0, kUnitMm);
    CALIBRATION* flat = chain.RectAt(1);
    ASSERT_NE(flat, nullptr);
    flat->mpp = PointD{0.7, 0.8};
    flat->left = 50.0;
    flat->right = 50.0;
    flat->top = 10.0;
    flat->bottom = 40.0;

    chain.MoveFirst();
    EXPECT_EQ(chain.RecomputeScales(), 1);
    EXPECT_EQ(chain.Current(), chain.First());
    EXPECT_EQ(chain.First()->mpp, (PointD{0.05, 0.05}));
    EXPECT_EQ(flat->mpp.x, 0.7);
    EXPECT_EQ(flat->mpp.y, 6.0 / 30.0);

    CCalibChain empty;
    EXPECT_EQ(empty.RecomputeScales(), 0);
}

TEST(CCalibChainTest, RectAtPositionsTheCursorOrGivesNothing)
{
    CCalibChain chain;
    AddDefaultCalibrations(chain);
    CALIBRATION* rect = chain.RectAt(3);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->index, 3);
    EXPECT_EQ(chain.Current(), rect);
    EXPECT_EQ(chain.RectAt(20), nullptr);
    EXPECT_EQ(chain.RectAt(-1), nullptr);
}

TEST(CCalibChainTest, DefaultCalibrationsAreTwentyOfHalfATenthMillimetre)
{
    CCalibChain chain;
    chain.AddCalibration("leftover", 1.0, 1.0, kUnitCm);
    AddDefaultCalibrations(chain);
    ASSERT_EQ(chain.Count(), 20);
    int number = 1;
    for (const CALIBRATION* record = chain.First(); record != nullptr; record = record->next, ++number) {
        EXPECT_EQ(record->name, "Data" + std::to_string(number));
        EXPECT_EQ(record->index, number - 1);
        EXPECT_EQ(record->unit, kUnitMm);
        EXPECT_EQ(record->mpp, (PointD{0.05, 0.05}));
    }

    SetCurrentLanguage(Language::Japanese);
    AddDefaultCalibrations(chain);
    SetCurrentLanguage(Language::English);
    EXPECT_EQ(chain.Count(), 20);
    EXPECT_EQ(chain.First()->name, "校正値1");
    chain.MoveLast();
    EXPECT_EQ(chain.Current()->name, "校正値20");
}

} // namespace
} // namespace orvane
