// Painting a window as Win32 does: the update region (InvalidateRect,
// UpdateWindow), the paint pass (OnEraseBkgnd, then OnPaint) and the CPaintDC
// over the paint in progress.
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "platform/Dc.h"
#include "platform/QtDc.h"
#include "platform/WndImpl.h"

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
    QWindow* window = client->window()->windowHandle();
    if (wnd && !shownOnce && window && window->isExposed()) {
        // Win32 draws a new window's frame and erased background straight to
        // the screen, where they are seen while its first WM_PAINT works (the
        // view's first paint decodes the photo named on the command line).
        // Qt shows a window only once all of it is painted, so the first pass
        // ends here and shows the frame; the window's own paint follows.
        shownOnce = true;
        const QRect r = e->region().boundingRect();
        const RECT rect = { r.left(), r.top(), r.right() + 1, r.bottom() + 1 };
        wnd->InvalidateRect(&rect, FALSE);
    } else if (wnd) {
        p.save();
        wnd->OnPaint();
        p.restore();
    }
    painter = nullptr;
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

static CDC::Impl* PaintImplOf(CWnd* wnd)
{
    if (!wnd || !wnd->GetImpl() || !wnd->GetImpl()->painter)
        return nullptr;
    return NewDcImpl(wnd->GetImpl()->painter);
}

CPaintDC::CPaintDC(CWnd* wnd) : CDC(PaintImplOf(wnd))
{
}
