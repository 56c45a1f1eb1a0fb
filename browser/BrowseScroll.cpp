// Resizing and scrolling. The column count never follows the window's
// width here; only the zoom steps change it. Both positions stay within
// what the scroll bars allow: from 0 to the range less the page.
#include <algorithm>

#include "browser/Browse.h"

BrowseGeometry::ScrollExtents CBrowse::CurrentExtents() const
{
    return BrowseGeometry::Extents(Metrics(), m_clientWidth, m_clientHeight);
}

void CBrowse::UpdateScrollExtents(BOOL bRedrawPages)
{
    const BrowseGeometry::ScrollExtents e = CurrentExtents();
    SetScrollRange(SB_VERT, 0, e.verticalMax, TRUE);
    SetScrollRange(SB_HORZ, 0, e.horizontalMax, TRUE);
    SCROLLINFO si = { sizeof si, SIF_PAGE, 0, 0, e.verticalPage, 0, 0 };
    SetScrollInfo(SB_VERT, &si, bRedrawPages);
    si.nPage = e.horizontalPage;
    SetScrollInfo(SB_HORZ, &si, bRedrawPages);

    // A larger window or a shorter list lowers the limits.
    const int x = std::min(m_scrollX, e.horizontalLimit);
    const int y = std::min(m_scrollY, e.verticalLimit);
    if (x == m_scrollX && y == m_scrollY)
        return;
    m_scrollX = x;
    m_scrollY = y;
    SetScrollPos(SB_HORZ, x, TRUE);
    SetScrollPos(SB_VERT, y, TRUE);
    InvalidateRect(nullptr, FALSE);
}

void CBrowse::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    m_clientWidth = cx;
    m_clientHeight = cy;
    UpdateScrollExtents(TRUE);
}

void CBrowse::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    const int pos = BrowseGeometry::ScrollTo(nSBCode, nPos, m_scrollX, CurrentExtents().horizontalLimit);
    if (pos == m_scrollX)
        return;
    m_scrollX = pos;
    SetScrollPos(SB_HORZ, pos, TRUE);
    InvalidateRect(nullptr, FALSE);
}

void CBrowse::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    const int pos = BrowseGeometry::ScrollTo(nSBCode, nPos, m_scrollY, CurrentExtents().verticalLimit);
    if (pos == m_scrollY)
        return;
    m_scrollY = pos;
    SetScrollPos(SB_VERT, pos, TRUE);
    InvalidateRect(nullptr, FALSE);
}
