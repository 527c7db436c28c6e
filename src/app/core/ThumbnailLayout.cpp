#include "app/core/ThumbnailLayout.h"

#include <algorithm>
#include <cstdint>

namespace orvane {
namespace {

// a × dpi ÷ 96 rounded half away from zero, as the window scales its layout.
int Scale(int value, int dpi)
{
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    return static_cast<int>((product + 48) / 96);
}

} // namespace

StripMetrics ScaledStripMetrics(int dpiX, int dpiY)
{
    const StripMetrics base;
    StripMetrics m;
    m.margin = Scale(base.margin, dpiX);
    m.cellWidth = Scale(base.cellWidth, dpiX);
    m.gap = Scale(base.gap, dpiX);
    m.cellHeight = Scale(base.cellHeight, dpiY);
    m.top = Scale(base.top, dpiY);
    m.nameTop = Scale(base.nameTop, dpiY);
    return m;
}

int StripPageSize(int boxWidth, const StripMetrics& m)
{
    return std::max(0, boxWidth - m.margin) / (m.cellWidth + m.gap) + 1;
}

StripScroll StripScrollRange(int count, int boxWidth, const StripMetrics& m)
{
    StripScroll scroll;
    scroll.page = StripPageSize(boxWidth, m);
    const int maximum = count - scroll.page + 1;
    if (maximum > 0) {
        scroll.visible = true;
        scroll.maximum = maximum;
    }
    return scroll;
}

CellRect StripCell(int k, int position, const StripMetrics& m)
{
    return {m.margin + (k - position) * (m.cellWidth + m.gap), m.top, m.cellWidth, m.cellHeight};
}

int StripHitTest(int x, int y, int count, int position, int boxWidth, const StripMetrics& m)
{
    if (x < m.margin || x >= boxWidth - m.margin || y < m.top || y >= m.top + m.cellHeight) {
        return -1;
    }
    const int pitch = m.cellWidth + m.gap;
    const int slot = (x - m.margin) / pitch;
    if ((x - m.margin) % pitch >= m.cellWidth || slot >= StripPageSize(boxWidth, m)) {
        return -1;
    }
    const int k = position + slot;
    return k >= 0 && k < count ? k : -1;
}

BrowserGrid BrowserGridFor(int clientWidth, int clientHeight, int count)
{
    BrowserGrid grid;
    grid.columns = std::max(0, (clientWidth - 47) / (BrowserGrid::kCellWidth + 6));
    grid.rows = std::max(0, (clientHeight - 10) / (BrowserGrid::kCellHeight + 10));
    grid.visible = grid.columns * grid.rows;
    grid.scrollEnabled = count - grid.visible >= 1 && grid.visible >= 1;
    grid.scrollMaximum = grid.scrollEnabled ? (count - grid.visible) / grid.columns + 1 : 0;
    return grid;
}

CellRect BrowserCell(int i, int position, const BrowserGrid& grid)
{
    if (grid.columns <= 0) {
        return {};
    }
    const int column = i % grid.columns;
    const int row = i / grid.columns - position;
    return {column * (BrowserGrid::kCellWidth + 10) + 6, row * (BrowserGrid::kCellHeight + 10) + 10,
            BrowserGrid::kCellWidth, BrowserGrid::kCellHeight};
}

int BrowserFirstCell(int position, const BrowserGrid& grid)
{
    return position * grid.columns;
}

int BrowserHitTest(int x, int y, int count, int position, const BrowserGrid& grid)
{
    if (grid.visible <= 0 || x < 6 || y < 10) {
        return -1;
    }
    const int column = (x - 6) / (BrowserGrid::kCellWidth + 10);
    const int row = (y - 10) / (BrowserGrid::kCellHeight + 10);
    if (column >= grid.columns || row >= grid.rows ||
        (x - 6) % (BrowserGrid::kCellWidth + 10) >= BrowserGrid::kCellWidth ||
        (y - 10) % (BrowserGrid::kCellHeight + 10) >= BrowserGrid::kCellHeight) {
        return -1;
    }
    const int i = (row + position) * grid.columns + column;
    return i < count ? i : -1;
}

} // namespace orvane
