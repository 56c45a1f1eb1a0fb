// The paint pass: the thumbnail it fetches (BrowseFetch.cpp), then the grid
// below the button bar. Only the rows in view are visited, so a pass costs
// the same in a folder of ten photos or ten thousand. Drawing is limited by
// the clip: a cell outside it is passed over before any of its drawing
// (label layout, bitmap transfer) is done.
#include <algorithm>

#include "browser/Browse.h"

namespace {

const COLORREF kGrey = RGB(192, 192, 192);
const COLORREF kSelected = RGB(192, 0, 0);
const COLORREF kLight = RGB(225, 225, 225);
const COLORREF kShadow = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// The mark of a file whose thumbnail cannot be made: a torn photograph
// (sky, sun, hills). Each character is one pattern pixel; '.' keeps the grey.
const int kMarkWidth = 16;
const int kMarkHeight = 12;
const char* const kBrokenMark[kMarkHeight] = {
    "kkkkkkk.........",
    "kssssk....kkkkkk",
    "kssyyk...ksssssk",
    "kssyysk..ksssssk",
    "kssssssk..kssssk",
    "kssssssk...ksssk",
    "ksggssk....ksssk",
    "kggggk....ksggsk",
    "kggggk...ksggggk",
    "kgggggk..kgggggk",
    "kkkkkkkk..kggggk",
    "...........kkkkk",
};

COLORREF MarkColour(char c)
{
    switch (c) {
    case 's': return RGB(128, 192, 255);
    case 'y': return RGB(255, 255, 0);
    case 'g': return RGB(0, 128, 0);
    default: return kBlack;
    }
}

// The mark centred in the picture area of the box at (x, y), each run of
// one colour in a pattern row drawn as one rectangle.
void DrawBrokenMark(CDC& dc, int x, int y, int cellWidth, int pictureHeight)
{
    const BrowseGeometry::MarkPlacement place =
        BrowseGeometry::PlaceMark(cellWidth, pictureHeight, kMarkWidth, kMarkHeight);
    const int s = place.scale;
    for (int row = 0; row < kMarkHeight && s > 0; ++row) {
        const char* line = kBrokenMark[row];
        for (int col = 0; col < kMarkWidth;) {
            int end = col + 1;
            while (end < kMarkWidth && line[end] == line[col])
                ++end;
            if (line[col] != '.')
                dc.FillSolidRect(x + place.left + col * s, y + place.top + row * s, (end - col) * s, s,
                                 MarkColour(line[col]));
            col = end;
        }
    }
}

}  // namespace

void CBrowse::OnPaint()
{
    CPaintDC dc(this);
    SetScrollPos(SB_VERT, m_scrollY, TRUE);
    SetScrollPos(SB_HORZ, m_scrollX, TRUE);
    CFont* oldFont = dc.SelectObject(&m_font);
    if (m_count == 0)
        ListDirectory();

    RECT client;
    GetClientRect(&client);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    CRgn below;
    below.CreateRectRgn(client.left, client.top + m_barHeight, client.right, client.bottom);
    dc.SelectClipRgn(&below);

    const BrowseView view = BrowseGeometry::ViewOf(Metrics(), cw, ch, m_count);
    FetchNearView(view, cw, ch);
    DrawGrid(dc, view.rows, cw, ch);
    dc.SelectObject(oldFont);
}

// Only the rows in view are drawn, and one more on either side, whose gaps
// and frames reach into it; the clip limits the drawing within them.
void CBrowse::DrawGrid(CDC& dc, const BrowseSpan& rowsInView, int cw, int ch)
{
    const BrowseMetrics m = Metrics();
    const int W = m_cellWidth;
    const int H = m_cellHeight;
    const int M = m_margin;
    // The gaps left of each column, down the whole client height.
    for (int c = 0; c < m_columns; ++c) {
        const int e = c == 0 ? 0 : 4;
        dc.FillSolidRect(BrowseGeometry::ColumnOrigin(m, c) + e, m_barHeight, M - 4 - e, ch, kGrey);
    }
    const int firstRow = std::max(0, rowsInView.first - 1);
    const int lastRow = std::min(m_rows - 1, rowsInView.last + 1);
    for (int r = firstRow; r <= lastRow; ++r) {
        const int y0 = BrowseGeometry::RowOrigin(m, r);
        // The gap between this row's frames and the previous row's. It spans
        // the client width from 0 so that a grid wider than the window leaves
        // no stale strip when scrolled sideways.
        dc.FillSolidRect(0, y0 + 4, cw, M - 8, kGrey);
        if (r == 0)
            dc.FillSolidRect(0, y0, cw, M - 4, kGrey);
        for (int c = 0; c < m_columns; ++c) {
            const int p = r * m_columns + c;
            const int x = BrowseGeometry::ColumnOrigin(m, c) + M;
            const int y = y0 + M;
            const RECT cell = { x - 4, y - 4, x + W + 4, y + H + 4 };
            if (!dc.IsVisible(cell))
                continue;
            if (p >= m_count) {
                DrawEmptyCell(dc, x, y);
                continue;
            }
            CRgbImage& item = m_items[m_order[p].slot];
            if (item.GetHeight() != 0)
                DrawImageCell(dc, item, x, y);
            else
                DrawPlaceholderCell(dc, item, x, y);
        }
    }
    const int y1 = BrowseGeometry::RowOrigin(m, m_rows);
    const int x1 = BrowseGeometry::ColumnOrigin(m, m_columns);
    dc.FillSolidRect(0, y1 + 4, cw, ch, kGrey);
    dc.FillSolidRect(x1 + 4, m_barHeight, cw - x1, y1 - m_barHeight + 4, kGrey);
}

void CBrowse::DrawImageCell(CDC& dc, CRgbImage& item, int x, int y)
{
    const int W = m_cellWidth;
    const int H = m_cellHeight;
    const int L = m_labelHeight;
    const int w = item.GetWidth();
    const int h = item.GetHeight();
    if (w < W) {
        const int pad = (W - w) / 2;
        dc.FillSolidRect(x - 2, y - 2, pad + 2, H + 4, kGrey);
        dc.FillSolidRect(x + pad + w, y - 2, pad + 3, H + 4, kGrey);
        dc.FillSolidRect(x, y - 2, W, 2, kGrey);
        item.Draw(&dc, x + pad, y, w, h);
    } else {
        const int pad = (H - L - h) / 2;
        dc.FillSolidRect(x - 2, y - 2, W + 4, pad + 2, kGrey);
        dc.FillSolidRect(x - 2, y, 2, H, kGrey);
        dc.FillSolidRect(x + W, y, 2, H, kGrey);
        dc.FillSolidRect(x - 2, y + pad + h, W + 4, pad + 1, kGrey);
        item.Draw(&dc, x, y + pad, w, h);
    }
    dc.FillSolidRect(x - 2, y + H - L, W + 4, L + 2,
                     (item.m_nFlags & BROWSE_SELECTED) ? kSelected : kGrey);
    DrawLabel(dc, item, x, y + H - L);
    DrawFrames(dc, x, y);
}

// A listed item without its picture: its label, two pixels lower than in an
// image cell, on grey. A file whose thumbnail cannot be made keeps this look,
// with the broken-picture mark in its picture area: its name stays readable
// and the cell does not look as if it were still loading.
void CBrowse::DrawPlaceholderCell(CDC& dc, const CRgbImage& item, int x, int y)
{
    dc.FillSolidRect(x - 2, y - 2, m_cellWidth + 4, m_cellHeight + 4, kGrey);
    DrawLabel(dc, item, x, y + m_cellHeight - m_labelHeight + 2);
    DrawFrames(dc, x, y);
    // After the label, which sits on the colour of the last fill.
    if (item.m_nFlags & BROWSE_FAILED)
        DrawBrokenMark(dc, x, y, m_cellWidth, m_cellHeight - m_labelHeight);
}

// A cell without an item: grey, frames included, so nothing of an earlier
// picture stays there.
void CBrowse::DrawEmptyCell(CDC& dc, int x, int y)
{
    dc.FillSolidRect(x - 4, y - 4, m_cellWidth + 8, m_cellHeight + 8, kGrey);
}

// The text sits on the colour of the last fill (opaque background).
void CBrowse::DrawLabel(CDC& dc, const CRgbImage& item, int x, int top)
{
    RECT box = { x, top, x + m_cellWidth, top + m_labelHeight };
    if (!dc.IsVisible(box) || !item.GetName())
        return;
    dc.DrawText(item.GetFileName(), -1, &box, DT_CENTER | DT_END_ELLIPSIS);
}

void CBrowse::DrawFrames(CDC& dc, int x, int y)
{
    const RECT inner = { x - 3, y - 3, x + m_cellWidth + 3, y + m_cellHeight + 3 };
    dc.Draw3dRect(&inner, kLight, kShadow);
    const RECT outer = { x - 4, y - 4, x + m_cellWidth + 4, y + m_cellHeight + 4 };
    dc.Draw3dRect(&outer, kWhite, kBlack);
}
