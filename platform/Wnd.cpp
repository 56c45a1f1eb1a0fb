#include "platform/Wnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>

#include "platform/CmdUI.h"
#include "platform/Dc.h"
#include "platform/FrameWnd.h"
#include "platform/QtDc.h"
#include "platform/WndImpl.h"

const char* const AFX_WNDCLASS_DEFAULT = "AfxFrameOrView";

// ---------------------------------------------------------------------------
// Widgets

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

CClientWidget::CClientWidget(CWnd::Impl* impl, QWidget* parent) : QWidget(parent), m_impl(impl)
{
    // What a paint leaves out keeps its old pixels, as on Win32.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void CClientWidget::paintEvent(QPaintEvent* e)
{
    if (m_impl)
        m_impl->Paint(e);
}

void CClientWidget::resizeEvent(QResizeEvent* e)
{
    if (!m_impl || !m_impl->wnd)
        return;
    CWnd::Impl* impl = m_impl;
    // Win32 windows of the default class repaint and erase whole on resize.
    impl->erasePending = true;
    if (impl->inSize)
        return;  // the outer call below reports the final size
    QSize size = e->size();
    // OnSize may show or hide a scroll bar; the client area then changes
    // after it returns and is reported again (Qt sends no event for a
    // resize made while the widget is being shown).
    for (int round = 0; round < 4 && impl->wnd; ++round) {
        impl->inSize = true;
        impl->wnd->OnSize(SIZE_RESTORED, size.width(), size.height());
        impl->inSize = false;
        if (!impl->relayoutPending || !impl->area)
            break;
        impl->relayoutPending = false;
        impl->area->Relayout();
        if (this->size() == size)
            break;
        size = this->size();
    }
}

void CClientWidget::showEvent(QShowEvent*)
{
    if (m_impl)
        m_impl->erasePending = true;
}

static UINT MouseFlags(const QMouseEvent* e)
{
    UINT flags = 0;
    if (e->buttons() & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (e->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

static CPoint ClientPoint(const QPointF& p)
{
    return CPoint((int)p.x(), (int)p.y());
}

void CClientWidget::mousePressEvent(QMouseEvent* e)
{
    if (!m_impl || !m_impl->wnd || e->button() != Qt::LeftButton)
        return;
    m_impl->wnd->OnLButtonDown(MouseFlags(e), ClientPoint(e->position()));
}

void CClientWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (!m_impl || !m_impl->wnd || e->button() != Qt::LeftButton)
        return;
    m_impl->wnd->OnLButtonDblClk(MouseFlags(e), ClientPoint(e->position()));
}

void CClientWidget::wheelEvent(QWheelEvent* e)
{
    if (!m_impl || !m_impl->wnd)
        return;
    UINT flags = 0;
    if (e->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    const QPoint d = e->angleDelta();
    // A horizontal wheel (or tilt) arrives as Shift + vertical wheel.
    short delta = (short)(d.y() != 0 ? d.y() : d.x());
    if (d.y() == 0 && d.x() != 0)
        flags |= MK_SHIFT;
    const QPointF g = e->globalPosition();
    if (!m_impl->wnd->OnMouseWheel(flags, delta, CPoint((int)g.x(), (int)g.y())))
        e->ignore();
}

// ---------------------------------------------------------------------------
// CWnd::Impl

CWnd::Impl::Impl(CWnd* owner) : wnd(owner)
{
    for (SCROLLINFO& si : info) {
        memset(&si, 0, sizeof si);
        si.cbSize = sizeof si;
    }
    // Win32 gives a new window's bars the range 0..100.
    info[SB_HORZ].nMax = 100;
    info[SB_VERT].nMax = 100;
}

CWnd::Impl::~Impl()
{
    if (area)
        area->m_impl = nullptr;
    if (client)
        client->m_impl = nullptr;
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

static int g_nPaintDepth = 0;

int AfxPaintDepth()
{
    return g_nPaintDepth;
}

void CWnd::Impl::Paint(QPaintEvent* e)
{
    if (!wnd || !client)
        return;
    struct DepthGuard {
        DepthGuard() { ++g_nPaintDepth; }
        ~DepthGuard() { --g_nPaintDepth; }
    } depth;
    QPainter p(client);
    p.setClipRegion(e->region());
    painter = &p;
    dirty = QRegion();
    if (erasePending) {
        erasePending = false;
        p.save();
        CDC dc(NewDcImpl(&p));
        wnd->OnEraseBkgnd(&dc);
        p.restore();
    }
    if (wnd) {
        p.save();
        wnd->OnPaint();
        p.restore();
    }
    painter = nullptr;
}

QWidget* ClientWidgetOf(const CWnd* wnd)
{
    return wnd && wnd->GetImpl() ? wnd->GetImpl()->client.data() : nullptr;
}

QWidget* RootWidgetOf(const CWnd* wnd)
{
    return wnd && wnd->GetImpl() ? wnd->GetImpl()->root.data() : nullptr;
}

// ---------------------------------------------------------------------------
// CWnd

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    m_bDestructing = true;
    if (m_pImpl)
        DestroyWindow();
}

BOOL CWnd::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, void* lpParam)
{
    if (m_pImpl)
        return FALSE;
    CREATESTRUCT cs;
    cs.lpCreateParams = lpParam;
    cs.hInstance = nullptr;
    cs.hMenu = nullptr;
    cs.hwndParent = pParentWnd;
    cs.x = rect.left;
    cs.y = rect.top;
    if (rect.left == CW_USEDEFAULT) {
        cs.cx = cs.cy = CW_USEDEFAULT;
    } else {
        cs.cx = (int)((long long)rect.right - rect.left);
        cs.cy = (int)((long long)rect.bottom - rect.top);
    }
    cs.style = (LONG)dwStyle;
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    cs.dwExStyle = dwExStyle;
    if (!PreCreateWindow(cs))
        return FALSE;

    m_pParentWnd = pParentWnd;
    m_nID = nID;
    m_dwStyle = (DWORD)cs.style;
    m_pImpl = new Impl(this);
    CreateWidget(cs);
    m_hWnd = m_pImpl->root.data();
    if (pParentWnd && pParentWnd->m_pImpl)
        pParentWnd->m_pImpl->children.push_back(this);

    if (OnCreate(&cs) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (m_dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CWnd::CreateWidget(const CREATESTRUCT& cs)
{
    QWidget* parent = nullptr;
    if (m_pParentWnd && m_pParentWnd->m_pImpl)
        parent = m_pParentWnd->m_pImpl->client;
    CScrolledArea* area = m_pImpl->MakeArea(parent);
    m_pImpl->root = area;
    if (cs.lpszName)
        area->setWindowTitle(QString::fromLocal8Bit(cs.lpszName));
    if (parent) {
        area->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    } else {
        if (cs.x != CW_USEDEFAULT && cs.y != CW_USEDEFAULT)
            area->move(cs.x, cs.y);
        if (cs.cx != CW_USEDEFAULT && cs.cy != CW_USEDEFAULT)
            area->resize(cs.cx, cs.cy);
    }
}

bool CWnd::IsWindowCreated() const
{
    return m_pImpl != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_pImpl)
        return FALSE;
    OnDestroy();
    std::vector<CWnd*> children = m_pImpl->children;
    for (CWnd* child : children)
        child->DestroyWindow();
    if (m_pParentWnd && m_pParentWnd->m_pImpl) {
        auto& list = m_pParentWnd->m_pImpl->children;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    QPointer<QWidget> root = m_pImpl->root;
    m_pImpl->wnd = nullptr;
    delete m_pImpl;
    m_pImpl = nullptr;
    m_hWnd = nullptr;
    if (root) {
        root->hide();
        // The widget may be inside its own event handler (close box).
        root->deleteLater();
    }
    if (!m_bDestructing)
        PostNcDestroy();
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AFX_WNDCLASS_DEFAULT;
    return TRUE;
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return 0;
}

void CWnd::OnSize(UINT, int, int)
{
}

BOOL CWnd::OnEraseBkgnd(CDC* pDC)
{
    RECT box;
    pDC->GetClipBox(&box);
    pDC->FillSolidRect(&box, RGB(255, 255, 255));
    return TRUE;
}

void CWnd::OnPaint()
{
    // Nothing drawn: the update region is validated by the paint itself.
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar*)
{
}

void CWnd::OnLButtonDown(UINT, CPoint)
{
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
}

BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return FALSE;
}

void CWnd::OnClose()
{
    DestroyWindow();
}

void CWnd::OnDestroy()
{
}

void CWnd::PostNcDestroy()
{
}

static UINT g_nCurrentCommand = 0;

UINT CWnd::GetCurrentCommand()
{
    return g_nCurrentCommand;
}

BOOL CWnd::OnCommand(UINT nID, BOOL bFromControl)
{
    if (!bFromControl) {
        CCmdUI state(nID);
        state.DoUpdate(this, TRUE);
        if (!state.m_bEnabled)
            return TRUE;  // disabled: the accelerator or item does nothing
    }
    const UINT outer = g_nCurrentCommand;
    g_nCurrentCommand = nID;
    const BOOL handled = OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr);
    g_nCurrentCommand = outer;
    return handled;
}

void CWnd::InvalidateRect(const RECT* lpRect, BOOL bErase)
{
    if (!m_pImpl || !m_pImpl->client)
        return;
    QWidget* client = m_pImpl->client;
    const QRect r = lpRect ? QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                   lpRect->bottom - lpRect->top)
                           : client->rect();
    if (r.isEmpty())
        return;
    if (bErase)
        m_pImpl->erasePending = true;
    m_pImpl->dirty += r;
    if (m_pImpl->painter) {
        // Invalidating from inside a paint asks for another pass once this
        // one is done and the loop has had its turn.
        QPointer<QWidget> target = client;
        QTimer::singleShot(0, client, [target, r]() {
            if (target)
                target->update(r);
        });
    } else {
        client->update(r);
    }
}

void CWnd::UpdateWindow()
{
    if (!m_pImpl || !m_pImpl->client || m_pImpl->painter)
        return;
    QWidget* client = m_pImpl->client;
    if (!client->isVisible() || m_pImpl->dirty.isEmpty())
        return;
    client->repaint(m_pImpl->dirty);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (!m_pImpl || !m_pImpl->root)
        return FALSE;
    QWidget* w = m_pImpl->root;
    const BOOL wasVisible = w->isVisible();
    const bool topLevel = w->isWindow();
    switch (nCmdShow) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        if (topLevel)
            w->showMinimized();
        else
            w->show();
        break;
    case SW_SHOWMAXIMIZED:
        topLevel ? w->showMaximized() : w->show();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (topLevel) {
            w->showNormal();
            w->raise();
            w->activateWindow();
        } else {
            w->show();
        }
        break;
    default:
        // SW_SHOW keeps a minimized window minimized, as on Win32.
        w->show();
        if (topLevel && !w->isMinimized())
            w->raise();
        break;
    }
    if (w->isVisible() && !wasVisible)
        m_pImpl->erasePending = true;
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_pImpl && m_pImpl->root && m_pImpl->root->isVisible();
}

BOOL CWnd::IsIconic() const
{
    return m_pImpl && m_pImpl->root && m_pImpl->root->isMinimized();
}

void CWnd::SetWindowText(const char* lpszString)
{
    if (!m_pImpl || !m_pImpl->root)
        return;
    const QString text = QString::fromLocal8Bit(lpszString ? lpszString : "");
    if (QAbstractButton* button = qobject_cast<QAbstractButton*>(m_pImpl->root.data()))
        button->setText(text);
    else
        m_pImpl->root->setWindowTitle(text);
}

std::string CWnd::GetWindowText() const
{
    if (!m_pImpl || !m_pImpl->root)
        return std::string();
    if (QAbstractButton* button = qobject_cast<QAbstractButton*>(m_pImpl->root.data()))
        return button->text().toLocal8Bit().toStdString();
    return m_pImpl->root->windowTitle().toLocal8Bit().toStdString();
}

int CWnd::GetWindowText(char* lpszStringBuf, int nMaxCount) const
{
    if (!lpszStringBuf || nMaxCount <= 0)
        return 0;
    const std::string text = GetWindowText();
    const int n = std::min((int)text.size(), nMaxCount - 1);
    memcpy(lpszStringBuf, text.data(), (size_t)n);
    lpszStringBuf[n] = '\0';
    return n;
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    lpRect->left = lpRect->top = 0;
    lpRect->right = lpRect->bottom = 0;
    if (!m_pImpl)
        return;
    QWidget* w = m_pImpl->client ? (QWidget*)m_pImpl->client : (QWidget*)m_pImpl->root;
    if (!w)
        return;
    lpRect->right = w->width();
    lpRect->bottom = w->height();
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    lpRect->left = lpRect->top = lpRect->right = lpRect->bottom = 0;
    if (!m_pImpl || !m_pImpl->root)
        return;
    QWidget* w = m_pImpl->root;
    const QPoint tl = w->isWindow() ? w->pos() : w->mapToGlobal(QPoint(0, 0));
    lpRect->left = tl.x();
    lpRect->top = tl.y();
    lpRect->right = tl.x() + w->width();
    lpRect->bottom = tl.y() + w->height();
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL)
{
    if (m_pImpl && m_pImpl->root)
        m_pImpl->root->setGeometry(x, y, nWidth, nHeight);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* w = m_pParentWnd; w; w = w->m_pParentWnd) {
        if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(w))
            return frame;
    }
    return nullptr;
}

void CWnd::SetFocus()
{
    if (m_pImpl && m_pImpl->client)
        m_pImpl->client->setFocus();
}

// ---------------------------------------------------------------------------
// Scroll bars

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

// ---------------------------------------------------------------------------
// CPaintDC over the paint in progress

static CDC::Impl* PaintImplOf(CWnd* wnd)
{
    if (!wnd || !wnd->GetImpl() || !wnd->GetImpl()->painter)
        return nullptr;
    return NewDcImpl(wnd->GetImpl()->painter);
}

CPaintDC::CPaintDC(CWnd* wnd) : CDC(PaintImplOf(wnd))
{
}
