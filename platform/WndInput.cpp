// Mouse input beyond presses and the wheel (moves and releases), the client
// area's cursor, and screen-to-client coordinates.
#include <QCursor>
#include <QWidget>

#include "platform/Wnd.h"
#include "platform/WndImpl.h"

void CWnd::OnLButtonUp(UINT, CPoint)
{
}

void CWnd::OnMouseMove(UINT, CPoint)
{
}

static Qt::CursorShape ShapeOf(UINT nCursorID)
{
    switch (nCursorID) {
    case IDC_HANDOPEN: return Qt::OpenHandCursor;
    case IDC_HANDCLOSED: return Qt::ClosedHandCursor;
    default: return Qt::ArrowCursor;
    }
}

void CWnd::SetCursor(UINT nCursorID)
{
    if (!m_pImpl || !m_pImpl->client)
        return;
    const Qt::CursorShape shape = ShapeOf(nCursorID);
    if (m_pImpl->client->cursor().shape() != shape)
        m_pImpl->client->setCursor(shape);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    if (!lpPoint || !m_pImpl)
        return;
    QWidget* w = m_pImpl->client ? (QWidget*)m_pImpl->client : (QWidget*)m_pImpl->root;
    if (!w)
        return;
    const QPoint p = w->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    lpPoint->x = p.x();
    lpPoint->y = p.y();
}
