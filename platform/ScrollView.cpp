#include "platform/ScrollView.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "platform/Dc.h"
#include "platform/WndImpl.h"

const SIZE CScrollView::sizeDefault = { 0, 0 };

CScrollView::CScrollView() = default;

CScrollView::~CScrollView() = default;

BOOL CScrollView::PreCreateWindow(CREATESTRUCT& cs)
{
    // The bars exist from the start and show only when needed.
    cs.style |= WS_HSCROLL | WS_VSCROLL;
    return CView::PreCreateWindow(cs);
}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalDev = CSize(std::max(0, (int)sizeTotal.cx), std::max(0, (int)sizeTotal.cy));
    m_pageDev = CSize(sizePage.cx, sizePage.cy);
    m_lineDev = CSize(sizeLine.cx, sizeLine.cy);
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    if (m_pImpl)
        UpdateBars();
}

CPoint CScrollView::GetScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

void CScrollView::ScrollToPosition(POINT pt)
{
    ScrollToDevicePosition(pt);
}

void CScrollView::ScrollToDevicePosition(POINT pt)
{
    const int oldX = GetScrollPos(SB_HORZ);
    const int oldY = GetScrollPos(SB_VERT);
    SetScrollPos(SB_HORZ, pt.x);
    SetScrollPos(SB_VERT, pt.y);
    const int dx = oldX - GetScrollPos(SB_HORZ);
    const int dy = oldY - GetScrollPos(SB_VERT);
    if ((dx || dy) && m_pImpl && m_pImpl->client)
        m_pImpl->client->scroll(dx, dy);  // moves the pixels, repaints what is uncovered
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || !m_pImpl || !m_pImpl->area)
        return;
    m_bInsideUpdate = true;
    const int extent = m_pImpl->area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_pImpl->area);
    // The client area as it would be without bars.
    const int fullW = m_pImpl->area->width();
    const int fullH = m_pImpl->area->height();
    bool needH = m_totalDev.cx > fullW;
    bool needV = m_totalDev.cy > fullH;
    // One bar takes room from the other direction.
    if (needV && !needH)
        needH = m_totalDev.cx > fullW - extent;
    if (needH && !needV)
        needV = m_totalDev.cy > fullH - extent;
    const int clientW = std::max(0, fullW - (needV ? extent : 0));
    const int clientH = std::max(0, fullH - (needH ? extent : 0));

    CPoint pos = GetScrollPosition();
    SCROLLINFO si;
    si.cbSize = sizeof si;
    si.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
    si.nMin = 0;
    si.nMax = needH ? m_totalDev.cx - 1 : 0;
    si.nPage = needH ? (UINT)clientW : 0;
    si.nPos = needH ? std::min((int)pos.x, std::max(0, (int)m_totalDev.cx - clientW)) : 0;
    const int newX = si.nPos;
    SetScrollInfo(SB_HORZ, &si, TRUE);
    si.nMax = needV ? m_totalDev.cy - 1 : 0;
    si.nPage = needV ? (UINT)clientH : 0;
    si.nPos = needV ? std::min((int)pos.y, std::max(0, (int)m_totalDev.cy - clientH)) : 0;
    const int newY = si.nPos;
    SetScrollInfo(SB_VERT, &si, TRUE);
    m_bInsideUpdate = false;
    if ((newX != pos.x || newY != pos.y) && m_pImpl->client)
        m_pImpl->client->update();
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    if (!pDC->IsPrinting()) {
        const CPoint pos = GetScrollPosition();
        pDC->SetViewportOrg(-pos.x, -pos.y);
    }
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnScrollBy(int nBar, int delta)
{
    CPoint pt = GetScrollPosition();
    if (nBar == SB_HORZ)
        pt.x += delta;
    else
        pt.y += delta;
    ScrollToDevicePosition(pt);
}

static int ScrollDelta(UINT nSBCode, UINT nPos, int current, int page, int line, int maxPos, bool* handled)
{
    *handled = true;
    switch (nSBCode) {
    case SB_LINEUP: return -line;
    case SB_LINEDOWN: return line;
    case SB_PAGEUP: return -page;
    case SB_PAGEDOWN: return page;
    case SB_TOP: return -current;
    case SB_BOTTOM: return maxPos - current;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return (int)nPos - current;
    default: *handled = false; return 0;
    }
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    bool handled;
    const int d = ScrollDelta(nSBCode, nPos, GetScrollPos(SB_HORZ), std::max(1, (int)m_pageDev.cx),
                              std::max(1, (int)m_lineDev.cx), m_totalDev.cx, &handled);
    if (handled)
        OnScrollBy(SB_HORZ, d);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    bool handled;
    const int d = ScrollDelta(nSBCode, nPos, GetScrollPos(SB_VERT), std::max(1, (int)m_pageDev.cy),
                              std::max(1, (int)m_lineDev.cy), m_totalDev.cy, &handled);
    if (handled)
        OnScrollBy(SB_VERT, d);
}

BOOL CScrollView::OnMouseWheel(UINT nFlags, short zDelta, CPoint)
{
    // Three lines a notch, a line being at least 16 pixels; Shift or a
    // picture that scrolls only sideways turns the wheel horizontal.
    const bool vShown = IsScrollBarShown(SB_VERT) != 0;
    const bool hShown = IsScrollBarShown(SB_HORZ) != 0;
    const bool horizontal = (nFlags & MK_SHIFT) ? hShown : (!vShown && hShown);
    if (!vShown && !hShown)
        return FALSE;
    const int line = std::max(16, (int)(horizontal ? m_lineDev.cx : m_lineDev.cy));
    const int delta = -(int)zDelta * 3 * line / 120;
    OnScrollBy(horizontal ? SB_HORZ : SB_VERT, delta);
    return TRUE;
}
