#pragma once
// Which parts of a display built part by part a rectangle needs: the display
// (width x height, picture coordinates with (0, 0) top-left) is cut into
// square tiles of kDisplayTileSide pixels from its top-left corner; those on
// the right and bottom edges are smaller.

const int kDisplayTileSide = 128;

// A rectangle, left and top inclusive, right and bottom exclusive.
struct DisplayRect {
    int left, top, right, bottom;
};

bool IsEmptyRect(const DisplayRect& r);
DisplayRect IntersectRects(const DisplayRect& a, const DisplayRect& b);

// The tiles that meet `area` (already inside the display): columns
// col0 .. col1 - 1, rows row0 .. row1 - 1; none for an empty area.
struct TileSpan {
    int col0, row0, col1, row1;
};
TileSpan TilesMeeting(const DisplayRect& area);

// The pixels of tile (col, row) of a width x height display.
DisplayRect TileRect(int col, int row, int width, int height);
