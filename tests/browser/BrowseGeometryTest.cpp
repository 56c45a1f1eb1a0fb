// The grid arithmetic: hit test, rows and columns, fitting thumbnails, the
// failed cell's mark, the cells in view and their neighbourhood, scroll
// extents and steps, zoom steps.
#include <gtest/gtest.h>

#include <vector>

#include "browser/BrowseGeometry.h"

namespace {

// W 115, H 100, L 20, M 10, N 7, R 4, T 50, not scrolled.
BrowseMetrics Start()
{
    return BrowseMetrics{ 115, 100, 20, 10, 7, 4, 50, 0, 0 };
}

TEST(BrowseGeometryTest, CellOriginsFollowMarginsBarAndScroll)
{
    BrowseMetrics m = Start();
    EXPECT_EQ(BrowseGeometry::ColumnOrigin(m, 0), 0);
    EXPECT_EQ(BrowseGeometry::ColumnOrigin(m, 3), 375);
    EXPECT_EQ(BrowseGeometry::RowOrigin(m, 0), 50);
    EXPECT_EQ(BrowseGeometry::RowOrigin(m, 2), 270);
    m.scrollX = 30;
    m.scrollY = 120;
    EXPECT_EQ(BrowseGeometry::ColumnOrigin(m, 1), 95);
    EXPECT_EQ(BrowseGeometry::RowOrigin(m, 1), 40);
}

// A fault here makes clicks land on the neighbour cell.
TEST(BrowseGeometryTest, HitTestTable)
{
    struct Case {
        int x, y, scrollX, scrollY, expected;
        const char* what;
    } cases[] = {
        { 300, 49, 0, 0, -1, "on the button bar" },
        { 300, 0, 0, 5000, -1, "on the bar even when scrolled" },
        { 0, 50, 0, 0, 0, "top-left margin counts as cell 0" },
        { 5, 55, 0, 0, 0, "inside the margin" },
        { 124, 159, 0, 0, 0, "last pixel of cell 0 incl. the gap after it" },
        { 135, 60, 0, 0, 1, "second column" },
        { 125, 60, 0, 0, 0, "x 125 is still column 0 ((125-10)/125 = 0)" },
        { 134, 60, 0, 0, 0, "x 134: (134-10)/125 = 0" },
        { 135, 170, 0, 0, 8, "row 1, column 1" },
        { 884, 60, 0, 0, 6, "last column" },
        { 885, 60, 0, 0, -1, "right of the last column" },
        { 20, 60, 0, 110, 7, "scrolled down by one row" },
        { 20, 60, 125, 0, 1, "scrolled right by one column" },
        { 20, 60 + 110 * 200, 0, 0, 1400, "far below: position beyond any list" },
    };
    for (const Case& c : cases) {
        BrowseMetrics m = Start();
        m.scrollX = c.scrollX;
        m.scrollY = c.scrollY;
        EXPECT_EQ(BrowseGeometry::HitTest(m, c.x, c.y), c.expected) << c.what;
    }
}

TEST(BrowseGeometryTest, RowsAreFullRowsPlusOne)
{
    EXPECT_EQ(BrowseGeometry::RowCount(14, 7), 3);  // the last row empty
    EXPECT_EQ(BrowseGeometry::RowCount(0, 7), 1);
    EXPECT_EQ(BrowseGeometry::RowCount(13, 7), 2);
    EXPECT_EQ(BrowseGeometry::RowCount(999, 7), 143);
}

TEST(BrowseGeometryTest, ColumnsAfterZoomFitClientWidthAndAreNeverZero)
{
    EXPECT_EQ(BrowseGeometry::ColumnCount(890, 172, 10), 4);
    EXPECT_EQ(BrowseGeometry::ColumnCount(890, 76, 10), 10);
    EXPECT_EQ(BrowseGeometry::ColumnCount(890, 115, 10), 6);
    EXPECT_EQ(BrowseGeometry::ColumnCount(100, 387, 10), 1);
    EXPECT_EQ(BrowseGeometry::ColumnCount(1, 115, 10), 1);
}

TEST(BrowseGeometryTest, IconSideIsTheSmallerOfWidthAndPictureHeight)
{
    EXPECT_EQ(BrowseGeometry::IconSize(115, 100, 20), 80);
    EXPECT_EQ(BrowseGeometry::IconSize(172, 150, 20), 130);
    EXPECT_EQ(BrowseGeometry::IconSize(50, 44, 10), 34);
    EXPECT_EQ(BrowseGeometry::IconSize(60, 100, 20), 60);
}

TEST(BrowseGeometryTest, FitThumbnailTable)
{
    struct Case {
        int w, h, cellW, picH, fw, fh;
        const char* what;
    } cases[] = {
        { 150, 150, 115, 80, 80, 80, "square: full picture height" },
        { 150, 100, 115, 80, 115, 76, "wide: full width (trunc(115 x 2/3))" },
        { 100, 150, 115, 80, 53, 80, "tall: full height (trunc(80 / 1.5))" },
        { 150, 1, 115, 80, 115, 1, "thin strip: height 0 becomes 1" },
        { 1, 150, 115, 80, 1, 80, "needle: width 0 becomes 1" },
        { 150, 112, 172, 130, 172, 128, "640 x 480 photo at the first zoom step" },
        { 0, 10, 115, 80, 80, 80, "zero width counts as square" },
    };
    for (const Case& c : cases) {
        int fw = -1, fh = -1;
        BrowseGeometry::FitThumbnail(c.w, c.h, c.cellW, c.picH, &fw, &fh);
        EXPECT_EQ(fw, c.fw) << c.what;
        EXPECT_EQ(fh, c.fh) << c.what;
    }
}

// A 16 x 12 mark: centred, scaled by whole pixels with the smaller side of
// the picture area, and left out where it cannot fit.
TEST(BrowseGeometryTest, MarkPlacementTable)
{
    struct Case {
        int cellW, picH, left, top, scale;
    } cases[] = {
        { 115, 80, 41, 28, 2 },   // start metrics
        { 33, 19, 8, 3, 1 },      // smallest zoom step
        { 172, 130, 62, 47, 3 },  // one step in
        { 387, 317, 137, 116, 7 },  // largest zoom step: 112 x 84
        { 400, 50, 192, 19, 1 },  // wide and low
        { 16, 12, 0, 0, 1 },      // exactly the mark
        { 15, 80, 7, 40, 0 },     // too narrow
        { 115, 11, 57, 5, 0 },    // too low
    };
    for (const Case& c : cases) {
        const BrowseGeometry::MarkPlacement m = BrowseGeometry::PlaceMark(c.cellW, c.picH, 16, 12);
        EXPECT_EQ(m.left, c.left) << c.cellW << " x " << c.picH;
        EXPECT_EQ(m.top, c.top) << c.cellW << " x " << c.picH;
        EXPECT_EQ(m.scale, c.scale) << c.cellW << " x " << c.picH;
    }
}

TEST(BrowseGeometryTest, ScrollExtentsAndPagesComparedUnsigned)
{
    BrowseMetrics m = Start();
    m.rows = 3;
    BrowseGeometry::ScrollExtents e = BrowseGeometry::Extents(m, 895, 700);
    EXPECT_EQ(e.verticalMax, 340);
    EXPECT_EQ(e.horizontalMax, 885);
    EXPECT_EQ(e.verticalPage, 340u);   // min(650, 340)
    EXPECT_EQ(e.horizontalPage, 885u); // min(895, 885)
    EXPECT_EQ(e.verticalLimit, 0) << "a grid that fits does not scroll";
    EXPECT_EQ(e.horizontalLimit, 0);
    e = BrowseGeometry::Extents(m, 400, 200);
    EXPECT_EQ(e.verticalPage, 150u);
    EXPECT_EQ(e.horizontalPage, 400u);
    EXPECT_EQ(e.verticalLimit, 190);
    EXPECT_EQ(e.horizontalLimit, 485);
    // A client lower than the bar: the negative height is a huge unsigned.
    e = BrowseGeometry::Extents(m, 400, 20);
    EXPECT_EQ(e.verticalPage, 340u);
    EXPECT_EQ(e.verticalLimit, 0);
    // 10,000 photos and the way up: 1429 rows, the last one reachable.
    m.rows = BrowseGeometry::RowCount(10001, 7);
    e = BrowseGeometry::Extents(m, 895, 685);
    EXPECT_EQ(e.verticalMax, 110 * 1429 + 10);
    EXPECT_EQ(e.verticalLimit, 110 * 1429 + 10 - 635);
}

TEST(BrowseGeometryTest, ScrollStepsAndBounds)
{
    struct Case {
        UINT code;
        UINT thumb;
        int from, limit, to;
        const char* what;
    } cases[] = {
        { SB_LINEDOWN, 0, 0, 500, 10, "line down" },
        { SB_LINEUP, 0, 30, 500, 20, "line up" },
        { SB_PAGEDOWN, 0, 0, 500, 100, "page down" },
        { SB_PAGEUP, 0, 250, 500, 150, "page up" },
        { SB_LINEUP, 0, 5, 500, 0, "not below 0" },
        { SB_PAGEUP, 0, 0, 500, 0, "page up at 0" },
        { SB_PAGEDOWN, 0, 450, 500, 500, "not above the limit" },
        { SB_LINEDOWN, 0, 500, 500, 500, "line down at the limit" },
        { SB_PAGEDOWN, 0, 9950, 150000, 10050, "far beyond the old fixed bound of 10000" },
        { SB_LINEDOWN, 0, 0, 0, 0, "a grid that fits does not scroll" },
        { SB_THUMBTRACK, 420, 100, 500, 420, "thumb track follows the thumb" },
        { SB_THUMBTRACK, 501, 100, 500, 500, "thumb one past the limit" },
        { SB_THUMBTRACK, 0x80000000u, 100, 500, 0, "thumb position that is negative as an int" },
        { SB_THUMBPOSITION, 420, 100, 500, 100, "thumb position: nothing" },
        { SB_TOP, 0, 100, 500, 100, "top: nothing" },
        { SB_BOTTOM, 0, 100, 500, 100, "bottom: nothing" },
        { SB_ENDSCROLL, 0, 100, 500, 100, "end scroll: nothing" },
        { 42, 0, 100, 500, 100, "unknown code: nothing" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(BrowseGeometry::ScrollTo(c.code, c.thumb, c.from, c.limit), c.to) << c.what;
}

// Whether the box of a cell reaches into [start, end).
bool Reaches(int boxStart, int boxLength, int start, int end)
{
    return start < end && boxStart + boxLength > start && boxStart < end;
}

// The rows and columns in view, against a cell-by-cell check of the boxes
// over many sizes and scroll positions: a row missed at the edge of the view
// would be fetched late, one too many before its turn.
TEST(BrowseGeometryTest, CellsInViewAreExactlyThoseWhoseBoxesReachTheGridArea)
{
    const int sizes[][2] = { { 115, 100 }, { 33, 29 }, { 387, 337 }, { 76, 66 } };
    for (const auto& size : sizes) {
        for (int scroll = 0; scroll < 900; scroll += 7) {
            for (int client : { 1, 49, 50, 51, 60, 200, 685 }) {
                BrowseMetrics m = Start();
                m.cellWidth = size[0];
                m.cellHeight = size[1];
                m.rows = 40;
                m.columns = 9;
                m.scrollX = scroll;
                m.scrollY = scroll;
                const BrowseView v = BrowseGeometry::ViewOf(m, client, client, 1000);
                for (int r = 0; r < m.rows; ++r) {
                    const int top = BrowseGeometry::RowOrigin(m, r) + m.margin;
                    const bool seen = Reaches(top, m.cellHeight, m.barHeight, client);
                    EXPECT_EQ(seen, r >= v.rows.first && r <= v.rows.last)
                        << "row " << r << " size " << size[0] << " scroll " << scroll << " client " << client;
                }
                for (int c = 0; c < m.columns; ++c) {
                    const int left = BrowseGeometry::ColumnOrigin(m, c) + m.margin;
                    const bool seen = Reaches(left, m.cellWidth, 0, client);
                    EXPECT_EQ(seen, c >= v.columns.first && c <= v.columns.last)
                        << "column " << c << " size " << size[0] << " scroll " << scroll << " client " << client;
                }
            }
        }
    }
}

// The positions FindNearView offers, in order, when nothing is wanted.
std::vector<int> FetchOrder(const BrowseMetrics& m, const BrowseView& v)
{
    std::vector<int> order;
    BrowseGeometry::FindNearView(m, v, [&](int p) {
        order.push_back(p);
        return false;
    });
    return order;
}

TEST(BrowseGeometryTest, NeighbourhoodAndFetchOrderFollowTheView)
{
    // 3 columns of 115 x 100 cells, rows of 110 pixels; the grid area is
    // 220 high (client 270), so two rows are in view at a time.
    BrowseMetrics m = Start();
    m.columns = 3;
    m.rows = BrowseGeometry::RowCount(60, 3);  // 21
    m.scrollY = 110 * 10;                          // rows 10 and 11 in view
    BrowseView v = BrowseGeometry::ViewOf(m, 385, 270, 60);
    EXPECT_EQ(v.rows.first, 10);
    EXPECT_EQ(v.rows.last, 11);
    EXPECT_EQ(v.columns.first, 0);
    EXPECT_EQ(v.columns.last, 2);
    // Two pages of two rows on either side.
    EXPECT_EQ(v.nearRows.first, 6);
    EXPECT_EQ(v.nearRows.last, 15);
    EXPECT_EQ(v.near.begin, 18);
    EXPECT_EQ(v.near.end, 48);
    const std::vector<int> order = FetchOrder(m, v);
    const std::vector<int> expected = {
        30, 31, 32, 33, 34, 35,  // in view, display order
        36, 37, 38, 27, 28, 29,  // a row below, a row above
        39, 40, 41, 24, 25, 26,  //
        42, 43, 44, 21, 22, 23,  //
        45, 46, 47, 18, 19, 20,
    };
    EXPECT_EQ(order, expected);

    // Only the first column in view: the rows in view give their other
    // cells next, before any other row.
    m.scrollX = 250;
    v = BrowseGeometry::ViewOf(m, 135, 270, 60);
    ASSERT_EQ(v.columns.first, 2);
    ASSERT_EQ(v.columns.last, 2);
    const std::vector<int> narrow = FetchOrder(m, v);
    ASSERT_GE(narrow.size(), 6u);
    EXPECT_EQ(std::vector<int>(narrow.begin(), narrow.begin() + 6), (std::vector<int>{ 32, 35, 30, 31, 33, 34 }));

    // At the top of a list that fits the neighbourhood: every position, in
    // display order, the last row only as far as the list goes.
    m.scrollX = 0;
    m.scrollY = 0;
    m.rows = BrowseGeometry::RowCount(14, 3);
    v = BrowseGeometry::ViewOf(m, 385, 270, 14);
    std::vector<int> all;
    for (int p = 0; p < 14; ++p)
        all.push_back(p);
    EXPECT_EQ(FetchOrder(m, v), all);
    EXPECT_EQ(v.near.end, 14);

    // The first wanted position ends the walk.
    EXPECT_EQ(BrowseGeometry::FindNearView(m, v, [](int p) { return p % 5 == 4; }), 4);

    // No room below the bar: nothing in view, nothing near.
    v = BrowseGeometry::ViewOf(m, 385, 50, 14);
    EXPECT_LT(v.rows.last, v.rows.first);
    EXPECT_EQ(v.near.end - v.near.begin, 0);
    EXPECT_TRUE(FetchOrder(m, v).empty());
}

TEST(BrowseGeometryTest, ZoomSequences)
{
    int w = 115, h = 100;
    const int in[][2] = { { 172, 150 }, { 258, 225 }, { 387, 337 } };
    for (const auto& step : in) {
        ASSERT_TRUE(BrowseGeometry::ZoomIn(&w, &h));
        EXPECT_EQ(w, step[0]);
        EXPECT_EQ(h, step[1]);
    }
    EXPECT_FALSE(BrowseGeometry::ZoomIn(&w, &h));
    EXPECT_EQ(w, 387);
    EXPECT_EQ(h, 337);

    w = 115, h = 100;
    const int out[][2] = { { 76, 66 }, { 50, 44 }, { 33, 29 } };
    for (const auto& step : out) {
        ASSERT_TRUE(BrowseGeometry::ZoomOut(&w, &h));
        EXPECT_EQ(w, step[0]);
        EXPECT_EQ(h, step[1]);
    }
    EXPECT_FALSE(BrowseGeometry::ZoomOut(&w, &h));
    EXPECT_EQ(w, 33);
    EXPECT_EQ(h, 29);

    // The steps do not undo each other exactly.
    w = 76, h = 66;
    ASSERT_TRUE(BrowseGeometry::ZoomIn(&w, &h));
    EXPECT_EQ(w, 114);
    EXPECT_EQ(h, 99);
    // Either side alone stops a step.
    w = 300, h = 50;
    EXPECT_FALSE(BrowseGeometry::ZoomIn(&w, &h));
    w = 100, h = 40;
    EXPECT_FALSE(BrowseGeometry::ZoomOut(&w, &h));
}

TEST(BrowseGeometryTest, LabelHeightAndFontByCellHeight)
{
    struct Case {
        int h, l, tenths;
    } cases[] = {
        { 29, 10, 50 }, { 79, 10, 50 }, { 80, 15, 75 }, { 99, 15, 75 }, { 100, 20, 100 }, { 337, 20, 100 },
    };
    for (const Case& c : cases) {
        int l = 0, t = 0;
        BrowseGeometry::LabelFor(c.h, &l, &t);
        EXPECT_EQ(l, c.l) << c.h;
        EXPECT_EQ(t, c.tenths) << c.h;
    }
}

}  // namespace
