// The scroll bars of a window: the scrolled area lays out the client widget
// and the visible bars; each bar keeps Win32's SCROLLINFO, and a user's action
// on it becomes OnHScroll/OnVScroll.
#include <QAbstractSlider>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "platform/WndImpl.h"

CScrolledArea::CScrolledArea(CWnd::Impl* impl, QWidget* parent) : QWidget(parent), m_impl(impl)
{
}

void CScrolledArea::Relayout()
{
    if (!m_impl)
        return;
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool h = m_impl->BarShown(SB_HORZ);
    const bool v = m_impl->BarShown(SB_VERT);
    const int cw = std::max(0, width() - (v ? extent : 0));
    const int ch = std::max(0, height() - (h ? extent : 0));
    if (QScrollBar* bar = m_impl->bars[SB_HORZ]) {
        bar->setGeometry(0, ch, cw, extent);
        bar->setVisible(h);
    }
    if (QScrollBar* bar = m_impl->bars[SB_VERT]) {
        bar->setGeometry(cw, 0, extent, ch);
        bar->setVisible(v);
    }
    if (m_impl->client)
        m_impl->client->setGeometry(0, 0, cw, ch);
}

void CScrolledArea::resizeEvent(QResizeEvent*)
{
    Relayout();
}

CScrolledArea* CWnd::Impl::MakeArea(QWidget* parent)
{
    area = new CScrolledArea(this, parent);
    client = new CClientWidget(this, area);
    const DWORD style = wnd->m_dwStyle;
    for (int nBar = SB_HORZ; nBar <= SB_VERT; ++nBar) {
        if (!(style & (nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)))
            continue;
        QScrollBar* bar = new QScrollBar(nBar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, area);
        bar->setTracking(true);
        bars[nBar] = bar;
        QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                         [this, nBar](int action) { OnBarAction(nBar, action); });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, bar,
                         [this, nBar]() { OnBarReleased(nBar); });
        ApplyBar(nBar, FALSE);
    }
    area->Relayout();
    return area;
}

bool CWnd::Impl::BarShown(int nBar) const
{
    if (!bars[nBar])
        return false;
    const SCROLLINFO& si = info[nBar];
    if (si.nPage == 0)
        return si.nMax > si.nMin;
    return (int)si.nPage <= si.nMax - si.nMin;
}

int CWnd::Impl::MaxPos(int nBar) const
{
    const SCROLLINFO& si = info[nBar];
    const int page = si.nPage > 0 ? (int)si.nPage - 1 : 0;
    return std::max(si.nMin, si.nMax - page);
}

void CWnd::Impl::ApplyBar(int nBar, BOOL /*bRedraw*/)
{
    QScrollBar* bar = bars[nBar];
    if (!bar)
        return;
    const SCROLLINFO& si = info[nBar];
    const QSignalBlocker block(bar);
    bar->setRange(si.nMin, MaxPos(nBar));
    bar->setPageStep(si.nPage > 0 ? (int)si.nPage : std::max(1, (si.nMax - si.nMin) / 10));
    bar->setSingleStep(1);
    bar->setValue(si.nPos);
    const bool shown = BarShown(nBar);
    if (bar->isVisibleTo(area) == shown || !area)
        return;
    if (inSize) {
        relayoutPending = true;
    } else if (painter) {
        // Not while this window paints: the client area is resized after.
        QPointer<CScrolledArea> target = area;
        QTimer::singleShot(0, area, [target]() {
            if (target)
                target->Relayout();
        });
    } else {
        area->Relayout();
    }
}

static UINT ScrollCode(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return SB_ENDSCROLL;
    }
}

void CWnd::Impl::OnBarAction(int nBar, int action)
{
    QScrollBar* bar = bars[nBar];
    if (!bar || !wnd)
        return;
    const int wanted = bar->sliderPosition();
    info[nBar].nTrackPos = wanted;
    // The bar keeps its position until the handler sets one.
    bar->setSliderPosition(info[nBar].nPos);
    const UINT code = ScrollCode(action);
    const UINT pos = code == SB_THUMBTRACK ? (UINT)wanted : 0;
    if (nBar == SB_HORZ)
        wnd->OnHScroll(code, pos, nullptr);
    else
        wnd->OnVScroll(code, pos, nullptr);
}

void CWnd::Impl::OnBarReleased(int nBar)
{
    if (!wnd)
        return;
    const UINT pos = (UINT)info[nBar].nTrackPos;
    if (nBar == SB_HORZ) {
        wnd->OnHScroll(SB_THUMBPOSITION, pos, nullptr);
        wnd->OnHScroll(SB_ENDSCROLL, 0, nullptr);
    } else {
        wnd->OnVScroll(SB_THUMBPOSITION, pos, nullptr);
        wnd->OnVScroll(SB_ENDSCROLL, 0, nullptr);
    }
}

// ---------------------------------------------------------------------------
// The CWnd operations on its bars

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SCROLLINFO si;
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE;
    si.nMin = nMinPos;
    si.nMax = nMaxPos;
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    SCROLLINFO si;
    GetScrollInfo(nBar, &si, SIF_RANGE);
    *lpMinPos = si.nMin;
    *lpMaxPos = si.nMax;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    if (!m_pImpl || (nBar != SB_HORZ && nBar != SB_VERT))
        return 0;
    const int old = m_pImpl->info[nBar].nPos;
    SCROLLINFO si;
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = nPos;
    SetScrollInfo(nBar, &si, bRedraw);
    return old;
}

int CWnd::GetScrollPos(int nBar) const
{
    if (!m_pImpl || (nBar != SB_HORZ && nBar != SB_VERT))
        return 0;
    return m_pImpl->info[nBar].nPos;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    if (!m_pImpl || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    SCROLLINFO& si = m_pImpl->info[nBar];
    const UINT mask = lpScrollInfo->fMask;
    if (mask & SIF_RANGE) {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = std::max(lpScrollInfo->nMin, lpScrollInfo->nMax);
    }
    if (mask & SIF_PAGE) {
        const UINT range = (UINT)(si.nMax - si.nMin + 1);
        si.nPage = std::min(lpScrollInfo->nPage, range);
    }
    if (mask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    // Win32 keeps the position within the range less the page.
    si.nPos = std::max(si.nMin, std::min(si.nPos, m_pImpl->MaxPos(nBar)));
    m_pImpl->ApplyBar(nBar, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const
{
    if (!m_pImpl || !lpScrollInfo || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    const SCROLLINFO& si = m_pImpl->info[nBar];
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    if (nMask & SIF_RANGE) {
        lpScrollInfo->nMin = si.nMin;
        lpScrollInfo->nMax = si.nMax;
    }
    if (nMask & SIF_PAGE)
        lpScrollInfo->nPage = si.nPage;
    if (nMask & SIF_POS)
        lpScrollInfo->nPos = si.nPos;
    if (nMask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = si.nTrackPos;
    return TRUE;
}

BOOL CWnd::IsScrollBarShown(int nBar) const
{
    if (!m_pImpl || (nBar != SB_HORZ && nBar != SB_VERT))
        return FALSE;
    return m_pImpl->BarShown(nBar);
}
