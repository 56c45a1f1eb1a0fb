// Resizing and scrolling. The column count never follows the window's
// width here; only the zoom steps change it.
#include "browser/Browse.h"

void CBrowse::UpdateScrollExtents(BOOL bRedrawPages)
{
    const BrowseGeometry::ScrollExtents e =
        BrowseGeometry::Extents(Metrics(), m_clientWidth, m_clientHeight);
    SetScrollRange(SB_VERT, 0, e.verticalMax, TRUE);
    SetScrollRange(SB_HORZ, 0, e.horizontalMax, TRUE);
    SCROLLINFO si = { sizeof si, SIF_PAGE, 0, 0, e.verticalPage, 0, 0 };
    SetScrollInfo(SB_VERT, &si, bRedrawPages);
    si.nPage = e.horizontalPage;
    SetScrollInfo(SB_HORZ, &si, bRedrawPages);
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
    const int pos = BrowseGeometry::ScrollTo(nSBCode, nPos, m_scrollX);
    if (pos == m_scrollX)
        return;
    m_scrollX = pos;
    SetScrollPos(SB_HORZ, pos, TRUE);
    InvalidateRect(nullptr, FALSE);
}

void CBrowse::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    const int pos = BrowseGeometry::ScrollTo(nSBCode, nPos, m_scrollY);
    if (pos == m_scrollY)
        return;
    m_scrollY = pos;
    SetScrollPos(SB_VERT, pos, TRUE);
    InvalidateRect(nullptr, FALSE);
}
