// The client widget of a window: its Qt events (paint, resize, show, mouse
// buttons and moves, wheel) become the window's messages in client coordinates.
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

#include "platform/WndImpl.h"

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

void CClientWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (!m_impl || !m_impl->wnd || e->button() != Qt::LeftButton)
        return;
    m_impl->wnd->OnLButtonUp(MouseFlags(e), ClientPoint(e->position()));
}

// Without mouse tracking moves arrive only while a button is held, and go
// to the widget that had the press.
void CClientWidget::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_impl || !m_impl->wnd)
        return;
    m_impl->wnd->OnMouseMove(MouseFlags(e), ClientPoint(e->position()));
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
