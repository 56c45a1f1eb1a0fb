// CWnd's own operations: creating and destroying a window, the default
// message handlers, command dispatch, showing, window text and geometry.
#include "platform/Wnd.h"

#include <QAbstractButton>
#include <algorithm>
#include <cstring>

#include "platform/CmdUI.h"
#include "platform/Dc.h"
#include "platform/FrameWnd.h"
#include "platform/WndImpl.h"

const char* const AFX_WNDCLASS_DEFAULT = "AfxFrameOrView";

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
