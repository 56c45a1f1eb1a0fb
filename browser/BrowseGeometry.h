#pragma once
// The browser grid as plain arithmetic: cell origins, the hit test, the fit
// of a thumbnail into a cell, the place of a failed cell's mark, rows and
// columns, the cells in view and near it, scroll extents, scroll steps and
// zoom steps. No window is needed, so every rule is testable on its own.
//
// Cell (row r, column c) shows display position r x N + c. Its column origin
// is c x (W + M) - scrollX and its row origin T - scrollY + r x (H + M); the
// cell's box (W x H, label band at the bottom) starts M pixels right of and
// below that origin.

#include <functional>

#include "platform/Win32Types.h"

struct BrowseMetrics {
    int cellWidth;    // W: picture and label width
    int cellHeight;   // H: picture area plus label band
    int labelHeight;  // L
    int margin;       // M
    int columns;      // N
    int rows;         // R
    int barHeight;    // T: the button bar above the grid
    int scrollX;
    int scrollY;
};

// The scroll ranges and pages a new window has until its first listing.
enum { BROWSE_PROVISIONAL_RANGE = 10000 };

// Pictures are kept for the rows in view and for this many times as many
// rows above and below them; cells further away give theirs up.
enum { BROWSE_NEAR_PAGES = 2 };

// Rows or columns first to last, both included; empty when last < first.
struct BrowseSpan {
    int first;
    int last;
};

// Display positions begin to end - 1.
struct BrowseRange {
    int begin;
    int end;
};

// What the grid area of the client shows, and which cells are near it.
struct BrowseView {
    BrowseSpan rows;     // rows whose cell boxes (frames aside) reach into the grid area
    BrowseSpan columns;  // the same for columns
    BrowseSpan nearRows; // the rows in view and BROWSE_NEAR_PAGES as many above and below
    BrowseRange near;    // the listed positions of nearRows
};

namespace BrowseGeometry {

// cx(c) and ry(r): the origins of column c and row r in client coordinates.
int ColumnOrigin(const BrowseMetrics& m, int column);
int RowOrigin(const BrowseMetrics& m, int row);

// Display position under the client point, or -1 on the button bar or right
// of the last column. The position is not checked against the item count.
// The margins above the first row and left of the first column count as
// row 0 and column 0 (division truncates toward zero).
int HitTest(const BrowseMetrics& m, int x, int y);

// R: one row more than the full rows, also when count is a multiple of N.
int RowCount(int count, int columns);
// N after a zoom step: as many cells as fit the client width, at least 1.
int ColumnCount(int clientWidth, int cellWidth, int margin);
// Side of the drive and folder icons: min(W, H - L).
int IconSize(int cellWidth, int cellHeight, int labelHeight);

// Fits a width x height thumbnail into cellWidth x pictureHeight keeping its
// proportions: full width when it is wide enough, else full height; never 0.
void FitThumbnail(int width, int height, int cellWidth, int pictureHeight, int* fitWidth,
                  int* fitHeight);

// Where a failed cell's broken-picture mark goes: a pattern of markWidth x
// markHeight pixels, each drawn as a scale x scale square, centred in the
// picture area (cellWidth x pictureHeight). The scale grows by one per 40
// pixels of the area's smaller side, but the mark always fits; scale 0 when
// it does not fit even one to one.
struct MarkPlacement {
    int left;  // from the box's left edge
    int top;   // from the box's top edge
    int scale;
};
MarkPlacement PlaceMark(int cellWidth, int pictureHeight, int markWidth, int markHeight);

// The cells of a grid of `count` items that the client shows (the button bar
// excluded), and the rows kept near them. Without a row in view (a client no
// higher than the bar) nothing is near either.
BrowseView ViewOf(const BrowseMetrics& m, int clientWidth, int clientHeight, int count);

// Walks the listed positions near the view, nearest first, until wanted(p)
// says yes, and returns that p; -1 when it never does. The order: the cells
// in view in display order, then the other cells of the rows in view, then
// whole rows by their distance from the view, the row below before the row
// above. With the view at the top of a grid that fits the client's width
// this is display order.
int FindNearView(const BrowseMetrics& m, const BrowseView& view, const std::function<bool(int)>& wanted);

struct ScrollExtents {
    int verticalMax;    // (H + M) x R + M
    int horizontalMax;  // (W + M) x N + M
    UINT verticalPage;  // min(client height - T, verticalMax), unsigned
    UINT horizontalPage;
    // The largest positions: the range less the page, so that the last row
    // and column can be reached and no grid scrolls into emptiness.
    int verticalLimit;
    int horizontalLimit;
};
ScrollExtents Extents(const BrowseMetrics& m, int clientWidth, int clientHeight);

// The position after a scroll-bar message: lines of 10, pages of 100, the
// thumb's position while it is dragged; other codes keep the position. The
// result stays within 0 and limit.
int ScrollTo(UINT code, UINT thumbPos, int current, int limit);

// Zoom steps by a half (in) or a third (out). False, with W and H unchanged,
// at the largest (W or H >= 300) or smallest (W or H <= 40) size.
bool ZoomIn(int* cellWidth, int* cellHeight);
bool ZoomOut(int* cellWidth, int* cellHeight);
// Label height and label font size (tenths of a point) for a cell height.
void LabelFor(int cellHeight, int* labelHeight, int* fontTenths);

}  // namespace BrowseGeometry
