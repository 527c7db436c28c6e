#include "measure/PointArray.h"

#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::vector<PointD> SlotsOf(const PointArray& array)
{
    return {array.Slots().begin(), array.Slots().end()};
}

TEST(PointArrayTest, GrowAllocatesKeepsAndZeroes)
{
    PointArray array;
    EXPECT_EQ(array.Grow(-1, 5), 0);
    EXPECT_EQ(array.Grow(1, 5), 0); // keep beyond the capacity
    EXPECT_EQ(array.Capacity(), 0);

    ASSERT_EQ(array.Grow(0, 4), 1);
    EXPECT_EQ(SlotsOf(array), std::vector<PointD>(4));
    for (int i = 0; i < 4; ++i) {
        array.SetAt(i, i + 1.0, -(i + 1.0));
    }
    EXPECT_EQ(array.Grow(5, 1), 0);
    EXPECT_EQ(array.Grow(0, -1), 0);

    // Only the kept points survive; the rest of the new block is zero.
    ASSERT_EQ(array.Grow(2, 3), 1);
    EXPECT_EQ(SlotsOf(array), (std::vector<PointD>{{1, -1}, {2, -2}, {}, {}, {}, {}, {}}));
}

TEST(PointArrayTest, SetAtGrowsByIndexPlusCapacity)
{
    PointArray array;
    EXPECT_EQ(array.SetAt(-1, 1, 1), 0);
    EXPECT_EQ(array.Capacity(), 0);

    // An empty array gets room for the slot itself.
    ASSERT_EQ(array.SetAt(0, 5, 6), 1);
    EXPECT_EQ(SlotsOf(array), (std::vector<PointD>{{5, 6}}));
    PointArray other;
    ASSERT_EQ(other.SetAt(3, 7, 8), 1);
    EXPECT_EQ(SlotsOf(other), (std::vector<PointD>{{}, {}, {}, {7, 8}}));

    PointArray ten;
    ten.Grow(0, 10);
    ten.SetAt(9, 1, 2);
    EXPECT_EQ(ten.Capacity(), 10);
    ASSERT_EQ(ten.SetAt(10, 3, 4), 1);
    EXPECT_EQ(ten.Capacity(), 30);
    EXPECT_EQ(ten.Slots()[9], (PointD{1, 2}));
    EXPECT_EQ(ten.Slots()[10], (PointD{3, 4}));

    EXPECT_EQ(ten.SetAt(PointArray::kMaxCapacity, 1, 1), 0);
    EXPECT_EQ(ten.Capacity(), 30);
}

TEST(PointArrayTest, CopyFromGrowsToFitAndMayReadItself)
{
    PointArray array;
    array.Grow(0, 2);
    array.SetAt(0, 9, 9);
    const std::vector<PointD> source{{1, 1}, {2, 2}, {3, 3}};
    ASSERT_EQ(array.CopyFrom(1, source), 1);
    EXPECT_EQ(SlotsOf(array), (std::vector<PointD>{{9, 9}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(array.CopyFrom(-1, source), 0);

    // The source lies in the block that growing replaces.
    ASSERT_EQ(array.CopyFrom(3, array.Slots().first(3)), 1);
    EXPECT_EQ(SlotsOf(array), (std::vector<PointD>{{9, 9}, {1, 1}, {2, 2}, {9, 9}, {1, 1}, {2, 2}}));

    PointArray empty;
    ASSERT_EQ(empty.CopyFrom(0, source), 1);
    EXPECT_EQ(SlotsOf(empty), source);
}

TEST(PointArrayTest, CopiesAreDeepAndMovesLeaveAnEmptyArray)
{
    PointArray array;
    array.SetAt(2, 1, 2);
    PointArray copy(array);
    copy.SetAt(2, 5, 5);
    EXPECT_EQ(array.Slots()[2], (PointD{1, 2}));
    EXPECT_EQ(copy.Capacity(), array.Capacity());

    PointArray assigned;
    assigned = array;
    EXPECT_EQ(SlotsOf(assigned), SlotsOf(array));

    PointArray moved(std::move(array));
    EXPECT_EQ(array.Capacity(), 0); // NOLINT(bugprone-use-after-move): moved-from state is part of the contract
    EXPECT_TRUE(array.Slots().empty());
    EXPECT_EQ(moved.Slots()[2], (PointD{1, 2}));

    moved.Clear();
    EXPECT_EQ(moved.Capacity(), 0);
    EXPECT_EQ(moved.SetAt(0, 1, 1), 1);
}

} // namespace
} // namespace orvane
