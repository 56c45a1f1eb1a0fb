#include "browser/BrowseGeometry.h"

#include <algorithm>

namespace {

// Floor division for a positive divisor, also for a negative dividend.
int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The cells along one axis whose boxes reach into a view `extent` pixels
// long. Cell i's box runs from i x (size + margin) - scroll + margin to
// `size` pixels further, relative to the view's start; its frames do not
// count, so a cell of which only a frame shows is not in view.
BrowseSpan SpanInView(int scroll, int size, int margin, int extent, int cells)
{
    if (extent <= 0 || cells <= 0)
        return BrowseSpan{ 0, -1 };
    const int step = size + margin;
    const int first = FloorDiv(scroll - margin - size, step) + 1;
    const int last = FloorDiv(extent + scroll - margin - 1, step);
    return BrowseSpan{ std::max(first, 0), std::min(last, cells - 1) };
}

}  // namespace

namespace BrowseGeometry {

int ColumnOrigin(const BrowseMetrics& m, int column)
{
    return column * (m.cellWidth + m.margin) - m.scrollX;
}

int RowOrigin(const BrowseMetrics& m, int row)
{
    return m.barHeight - m.scrollY + row * (m.cellHeight + m.margin);
}

int HitTest(const BrowseMetrics& m, int x, int y)
{
    if (y < m.barHeight)
        return -1;
    const int row = (y + m.scrollY - m.margin - m.barHeight) / (m.cellHeight + m.margin);
    const int column = (x + m.scrollX - m.margin) / (m.cellWidth + m.margin);
    if (column >= m.columns || row < 0 || column < 0)
        return -1;
    return row * m.columns + column;
}

int RowCount(int count, int columns)
{
    return count / (columns > 0 ? columns : 1) + 1;
}

int ColumnCount(int clientWidth, int cellWidth, int margin)
{
    const int n = (clientWidth - 2 * margin) / (cellWidth + margin);
    return n > 0 ? n : 1;
}

int IconSize(int cellWidth, int cellHeight, int labelHeight)
{
    return std::min(cellWidth, cellHeight - labelHeight);
}

void FitThumbnail(int width, int height, int cellWidth, int pictureHeight, int* fitWidth,
                  int* fitHeight)
{
    const double a = width != 0 ? (double)height / width : 1.0;
    int th = (int)(cellWidth * a);
    int tw = cellWidth;
    if (th > pictureHeight) {
        th = pictureHeight;
        tw = (int)(th / a);
    }
    *fitWidth = tw != 0 ? tw : 1;
    *fitHeight = th != 0 ? th : 1;
}

MarkPlacement PlaceMark(int cellWidth, int pictureHeight, int markWidth, int markHeight)
{
    int scale = std::max(1, std::min(cellWidth, pictureHeight) / 40);
    while (scale > 0 && (scale * markWidth > cellWidth || scale * markHeight > pictureHeight))
        --scale;
    MarkPlacement place;
    place.left = (cellWidth - scale * markWidth) / 2;
    place.top = (pictureHeight - scale * markHeight) / 2;
    place.scale = scale;
    return place;
}

BrowseView ViewOf(const BrowseMetrics& m, int clientWidth, int clientHeight, int count)
{
    BrowseView v;
    v.rows = SpanInView(m.scrollY, m.cellHeight, m.margin, clientHeight - m.barHeight, m.rows);
    v.columns = SpanInView(m.scrollX, m.cellWidth, m.margin, clientWidth, m.columns);
    v.nearRows = BrowseSpan{ 0, -1 };
    v.near = BrowseRange{ 0, 0 };
    if (v.rows.last < v.rows.first)
        return v;
    const int extra = BROWSE_NEAR_PAGES * (v.rows.last - v.rows.first + 1);
    v.nearRows.first = std::max(0, v.rows.first - extra);
    v.nearRows.last = std::min(m.rows - 1, v.rows.last + extra);
    v.near.begin = std::min(count, v.nearRows.first * m.columns);
    v.near.end = std::min(count, (v.nearRows.last + 1) * m.columns);
    return v;
}

int FindNearView(const BrowseMetrics& m, const BrowseView& view, const std::function<bool(int)>& wanted)
{
    const BrowseSpan& rows = view.rows;
    const BrowseSpan& columns = view.columns;
    auto inView = [&](int c) { return c >= columns.first && c <= columns.last; };
    // The first wanted cell of row r among the columns that `take` accepts.
    auto firstInRow = [&](int r, auto take) {
        for (int c = 0; c < m.columns; ++c) {
            const int p = r * m.columns + c;
            if (take(c) && p >= view.near.begin && p < view.near.end && wanted(p))
                return p;
        }
        return -1;
    };
    auto any = [](int) { return true; };
    auto outOfView = [&](int c) { return !inView(c); };
    for (int r = rows.first; r <= rows.last; ++r) {
        const int p = firstInRow(r, inView);
        if (p >= 0)
            return p;
    }
    for (int r = rows.first; r <= rows.last; ++r) {
        const int p = firstInRow(r, outOfView);
        if (p >= 0)
            return p;
    }
    for (int d = 1;; ++d) {
        const bool below = rows.last + d <= view.nearRows.last;
        const bool above = rows.first - d >= view.nearRows.first;
        if (!below && !above)
            return -1;
        const int p = below ? firstInRow(rows.last + d, any) : -1;
        if (p >= 0)
            return p;
        const int q = above ? firstInRow(rows.first - d, any) : -1;
        if (q >= 0)
            return q;
    }
}

ScrollExtents Extents(const BrowseMetrics& m, int clientWidth, int clientHeight)
{
    ScrollExtents e;
    e.verticalMax = (m.cellHeight + m.margin) * m.rows + m.margin;
    e.horizontalMax = (m.cellWidth + m.margin) * m.columns + m.margin;
    // Compared unsigned: a client lower than the bar counts as larger than the range.
    e.verticalPage = std::min((UINT)(clientHeight - m.barHeight), (UINT)e.verticalMax);
    e.horizontalPage = std::min((UINT)clientWidth, (UINT)e.horizontalMax);
    e.verticalLimit = std::max(0, e.verticalMax - (int)e.verticalPage);
    e.horizontalLimit = std::max(0, e.horizontalMax - (int)e.horizontalPage);
    return e;
}

int ScrollTo(UINT code, UINT thumbPos, int current, int limit)
{
    long long step;
    switch (code) {
    case SB_LINEUP: step = -10; break;
    case SB_LINEDOWN: step = 10; break;
    case SB_PAGEUP: step = -100; break;
    case SB_PAGEDOWN: step = 100; break;
    case SB_THUMBTRACK: step = (long long)(int)thumbPos - current; break;
    default: step = 0; break;
    }
    const long long next = current + step;
    return (int)std::max(0LL, std::min((long long)limit, next));
}

bool ZoomIn(int* cellWidth, int* cellHeight)
{
    if (*cellWidth >= 300 || *cellHeight >= 300)
        return false;
    *cellWidth = 3 * *cellWidth / 2;
    *cellHeight = 3 * *cellHeight / 2;
    return true;
}

bool ZoomOut(int* cellWidth, int* cellHeight)
{
    if (*cellWidth <= 40 || *cellHeight <= 40)
        return false;
    *cellWidth = 2 * *cellWidth / 3;
    *cellHeight = 2 * *cellHeight / 3;
    return true;
}

void LabelFor(int cellHeight, int* labelHeight, int* fontTenths)
{
    if (cellHeight < 80) {
        *labelHeight = 10;
        *fontTenths = 50;
    } else if (cellHeight < 100) {
        *labelHeight = 15;
        *fontTenths = 75;
    } else {
        *labelHeight = 20;
        *fontTenths = 100;
    }
}

}  // namespace BrowseGeometry
