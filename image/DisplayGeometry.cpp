#include "image/DisplayGeometry.h"

#include <algorithm>

bool IsEmptyRect(const DisplayRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

DisplayRect IntersectRects(const DisplayRect& a, const DisplayRect& b)
{
    DisplayRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
    if (IsEmptyRect(r))
        r = DisplayRect{0, 0, 0, 0};
    return r;
}

TileSpan TilesMeeting(const DisplayRect& area)
{
    if (IsEmptyRect(area))
        return TileSpan{0, 0, 0, 0};
    return TileSpan{area.left / kDisplayTileSide, area.top / kDisplayTileSide,
                    (area.right - 1) / kDisplayTileSide + 1,
                    (area.bottom - 1) / kDisplayTileSide + 1};
}

// The last tile of a display nearly INT_MAX wide starts within a tile of
// INT_MAX: its end is found from what is left, never as left + side.
DisplayRect TileRect(int col, int row, int width, int height)
{
    const int left = col * kDisplayTileSide, top = row * kDisplayTileSide;
    return DisplayRect{left, top, left + std::min(kDisplayTileSide, width - left),
                       top + std::min(kDisplayTileSide, height - top)};
}
