#include "app/core/ThumbnailLayout.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// The strip box of the window as it opens at 96 dpi: 850 pixels wide, so six
// thumbnails a page (the sixth cut by the box's edge).
constexpr int kBoxWidth = 850;

struct ScrollCase {
    int count;
    int boxWidth;
    StripScroll expected;
};

class StripScrollTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(StripScrollTest, RangePageAndVisibilityFollowTheCount)
{
    const ScrollCase& c = GetParam();
    EXPECT_EQ(StripScrollRange(c.count, c.boxWidth, StripMetrics{}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, StripScrollTest,
    ::testing::Values(ScrollCase{0, kBoxWidth, {false, 0, 6}}, ScrollCase{1, kBoxWidth, {false, 0, 6}},
                      // Five stand whole in the box: every one fits.
                      ScrollCase{5, kBoxWidth, {false, 0, 6}},
                      // The sixth is cut: one step brings it in whole.
                      ScrollCase{6, kBoxWidth, {true, 1, 6}}, ScrollCase{50, kBoxWidth, {true, 45, 6}},
                      // Where the page drops from six to five, five no longer fit.
                      ScrollCase{5, 8 + 5 * 146, {false, 0, 6}}, ScrollCase{5, 8 + 5 * 146 - 1, {true, 1, 5}},
                      // Narrower than one thumbnail: still one a page.
                      ScrollCase{3, 4, {true, 3, 1}}));

TEST(StripMetrics, ScaleWithTheScreensDotsPerInch)
{
    const StripMetrics at144 = ScaledStripMetrics(144, 120);
    EXPECT_EQ(at144.margin, 12);
    EXPECT_EQ(at144.cellWidth, 210);
    EXPECT_EQ(at144.gap, 9);
    EXPECT_EQ(at144.cellHeight, 131); // 105 × 120 / 96 = 131.25
    EXPECT_EQ(at144.top, 18);         // 17.5 rounds up
    EXPECT_EQ(at144.nameTop, 131);
}

struct StripHitCase {
    int x;
    int y;
    int count;
    int position;
    int expected;
};

class StripHitTestCase : public ::testing::TestWithParam<StripHitCase> {};

TEST_P(StripHitTestCase, PointsFallOnTheDrawnRectanglesOnly)
{
    const StripHitCase& c = GetParam();
    EXPECT_EQ(StripHitTest(c.x, c.y, c.count, c.position, kBoxWidth, StripMetrics{}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Points, StripHitTestCase,
                         ::testing::Values(StripHitCase{8, 14, 3, 0, 0},    // first pixel of the first
                                           StripHitCase{147, 118, 3, 0, 0}, // its last pixel
                                           StripHitCase{148, 50, 3, 0, -1}, // the gap
                                           StripHitCase{154, 50, 3, 0, 1}, StripHitCase{300, 50, 3, 0, 2},
                                           StripHitCase{8, 13, 3, 0, -1},   // above the thumbnails
                                           StripHitCase{8, 119, 3, 0, -1},  // below them
                                           StripHitCase{7, 50, 3, 0, -1},   // the left margin
                                           StripHitCase{600, 50, 3, 0, -1}, // a slot with no thumbnail
                                           StripHitCase{8, 50, 10, 2, 2},   // scrolled by two
                                           StripHitCase{738, 50, 10, 2, 7},
                                           StripHitCase{842, 50, 20, 0, -1}, // the right margin
                                           StripHitCase{8, 50, 0, 0, -1}));

TEST(StripCell, ThumbnailsStepByCellAndGapFromTheScrollPosition)
{
    EXPECT_EQ(StripCell(0, 0, StripMetrics{}), (CellRect{8, 14, 140, 105}));
    EXPECT_EQ(StripCell(3, 1, StripMetrics{}), (CellRect{8 + 2 * 146, 14, 140, 105}));
}

struct GridCase {
    int width;
    int height;
    int count;
    BrowserGrid expected;
};

class BrowserGridTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(BrowserGridTest, ColumnsRowsAndScrollRange)
{
    const GridCase& c = GetParam();
    EXPECT_EQ(BrowserGridFor(c.width, c.height, c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BrowserGridTest,
    ::testing::Values(GridCase{930, 480, 0, {6, 4, 24, false, 0}}, GridCase{930, 480, 24, {6, 4, 24, false, 0}},
                      GridCase{930, 480, 25, {6, 4, 24, true, 1}}, GridCase{930, 480, 50, {6, 4, 24, true, 5}},
                      GridCase{193, 125, 3, {1, 1, 1, true, 3}}, GridCase{100, 100, 5, {0, 0, 0, false, 0}}));

struct BrowserHitCase {
    int x;
    int y;
    int count;
    int position;
    int expected;
};

class BrowserHitTestCase : public ::testing::TestWithParam<BrowserHitCase> {};

TEST_P(BrowserHitTestCase, PointsFallOnPicturesOfExistingThumbnails)
{
    const BrowserHitCase& c = GetParam();
    EXPECT_EQ(BrowserHitTest(c.x, c.y, c.count, c.position, BrowserGridFor(930, 480, c.count)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Points, BrowserHitTestCase,
                         ::testing::Values(BrowserHitCase{6, 10, 30, 0, 0}, BrowserHitCase{145, 114, 30, 0, 0},
                                           BrowserHitCase{146, 50, 30, 0, -1}, // between two columns
                                           BrowserHitCase{50, 116, 30, 0, -1}, // between two rows
                                           BrowserHitCase{156, 125, 30, 0, 7}, BrowserHitCase{156, 125, 30, 1, 13},
                                           BrowserHitCase{156, 125, 13, 1, -1}, // a blank cell
                                           BrowserHitCase{5, 10, 30, 0, -1}));

TEST(BrowserCell, CellsRunByColumnsThenRowsFromTheScrolledRow)
{
    const BrowserGrid grid = BrowserGridFor(930, 480, 50);
    EXPECT_EQ(BrowserCell(0, 0, grid), (CellRect{6, 10, 140, 105}));
    EXPECT_EQ(BrowserCell(7, 0, grid), (CellRect{156, 125, 140, 105}));
    EXPECT_EQ(BrowserCell(7, 1, grid), (CellRect{156, 10, 140, 105}));
    EXPECT_EQ(BrowserFirstCell(2, grid), 12);
}

} // namespace
} // namespace orvane
