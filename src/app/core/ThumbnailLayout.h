#pragma once

// Where the thumbnails sit in the main window's strip and in the browser, and
// which thumbnail a click falls on. Plain numbers so that the rules are tested
// without a display; the widgets only paint the rectangles given here.
namespace orvane {

struct CellRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const CellRect&, const CellRect&) = default;
};

// The strip's distances in screen pixels: the 96-dpi values 8 (side margin),
// 140 × 105 (a thumbnail), 6 (the gap), 14 (the thumbnails' top) and 105
// (the names' top) scaled by the screen's dots per inch as MulDiv does.
struct StripMetrics {
    int margin = 8;
    int cellWidth = 140;
    int cellHeight = 105;
    int gap = 6;
    int top = 14;
    int nameTop = 105;
};
[[nodiscard]] StripMetrics ScaledStripMetrics(int dpiX, int dpiY);

// The scroll bar of the strip as a Qt scroll bar takes it: positions 0 ..
// maximum (the first thumbnail shown), `page` thumbnails a page; hidden with a
// maximum of 0 when every thumbnail fits.
struct StripScroll {
    bool visible = false;
    int maximum = 0;
    int page = 1;
    friend constexpr bool operator==(const StripScroll&, const StripScroll&) = default;
};

// Thumbnails the strip draws from its scroll position on:
// (box width - margin) / (cell width + gap) + 1, the last one possibly cut.
[[nodiscard]] int StripPageSize(int boxWidth, const StripMetrics& m);

// Range 0 .. count with a page of StripPageSize, as the window's scroll bar
// keeps it: the position runs to count - page + 1, where the last thumbnail
// stands in the last slot that shows it whole. All fit, and the bar is
// hidden, while the page is larger than the count.
[[nodiscard]] StripScroll StripScrollRange(int count, int boxWidth, const StripMetrics& m);

// Thumbnail k's rectangle in box coordinates at scroll position p: x = margin
// + (k - p) × (cell width + gap), y = top.
[[nodiscard]] CellRect StripCell(int k, int position, const StripMetrics& m);

// The thumbnail under (x, y) in box coordinates, or -1: one of the drawn
// cells, inside the box less its margins.
[[nodiscard]] int StripHitTest(int x, int y, int count, int position, int boxWidth, const StripMetrics& m);

// The browser's grid for a client area and a thumbnail count. Columns c =
// (width - 47) / (140 + 6), rows r = (height - 10) / (105 + 10), v = c × r
// cells visible. The vertical scroll bar runs 0 .. (count - v) / c + 1 when
// count - v >= 1 and v >= 1, else it is disabled.
struct BrowserGrid {
    static constexpr int kCellWidth = 140;
    static constexpr int kCellHeight = 105;

    int columns = 0;
    int rows = 0;
    int visible = 0;
    bool scrollEnabled = false;
    int scrollMaximum = 0;
    friend constexpr bool operator==(const BrowserGrid&, const BrowserGrid&) = default;
};
[[nodiscard]] BrowserGrid BrowserGridFor(int clientWidth, int clientHeight, int count);

// Scroll steps of the browser: a line is one row, a page two rows.
inline constexpr int kBrowserLineStep = 1;
inline constexpr int kBrowserPageStep = 2;

// Cell i's picture at scroll position p: column i mod c, row i / c - p, left
// = column × (140 + 10) + 6, top = row × (105 + 10) + 10. The sunken edge
// runs 2 pixels outside it.
[[nodiscard]] CellRect BrowserCell(int i, int position, const BrowserGrid& grid);

// The cells drawn at scroll position p: p × c .. p × c + v - 1.
[[nodiscard]] int BrowserFirstCell(int position, const BrowserGrid& grid);

// The thumbnail (i < count) whose picture holds (x, y), or -1.
[[nodiscard]] int BrowserHitTest(int x, int y, int count, int position, const BrowserGrid& grid);

} // namespace orvane
