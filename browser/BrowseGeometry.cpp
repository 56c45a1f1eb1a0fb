#include "browser/BrowseGeometry.h"

#include <algorithm>

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

ScrollExtents Extents(const BrowseMetrics& m, int clientWidth, int clientHeight)
{
    ScrollExtents e;
    e.verticalMax = (m.cellHeight + m.margin) * m.rows + m.margin;
    e.horizontalMax = (m.cellWidth + m.margin) * m.columns + m.margin;
    // Compared unsigned: a client lower than the bar counts as larger than the range.
    e.verticalPage = std::min((UINT)(clientHeight - m.barHeight), (UINT)e.verticalMax);
    e.horizontalPage = std::min((UINT)clientWidth, (UINT)e.horizontalMax);
    return e;
}

int ScrollTo(UINT code, UINT thumbPos, int current)
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
    return (int)std::max(0LL, std::min((long long)BROWSE_SCROLL_LIMIT, next));
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
