// The mouse on the picture: Ctrl + wheel zooms by one step about the point
// under the mouse, the plain wheel scrolls, a picture larger than the window
// is dragged with the left button, and a double click toggles full screen.
#include "app/PixmoorView.h"
#include "app/res/Resource.h"
#include "platform/FrameWnd.h"

namespace {
const int kWheelNotch = 120;
}

BOOL CPixmoorView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (!(nFlags & MK_CONTROL)) {
        m_nWheelZoom = 0;
        return CScrollView::OnMouseWheel(nFlags, zDelta, pt);
    }
    // Fine-grained wheels and touchpads send parts of a notch: a step is
    // taken for every whole notch.
    m_nWheelZoom += zDelta;
    ScreenToClient(&pt);
    while (m_nWheelZoom >= kWheelNotch || m_nWheelZoom <= -kWheelNotch) {
        const bool zoomIn = m_nWheelZoom > 0;
        m_nWheelZoom += zoomIn ? -kWheelNotch : kWheelNotch;
        ZoomStep(zoomIn, pt);
    }
    return TRUE;
}

void CPixmoorView::ZoomStep(bool zoomIn, CPoint client)
{
    if (!HasPicture())
        return;
    const int mode = WheelZoomMode(m_nScaleMode, zoomIn, m_image.GetWidth(), m_image.GetHeight(),
                                   m_image.GetFullWidth(), m_image.GetFullHeight());
    if (mode < 0)
        return;
    const CPoint scroll = GetScrollPosition();
    const int oldW = m_image.GetWidth();
    const int oldH = m_image.GetHeight();
    SetScale((ScaleMode)mode);
    const CPoint target(ScrollKeepingPoint(scroll.x, client.x, oldW, m_image.GetWidth()),
                        ScrollKeepingPoint(scroll.y, client.y, oldH, m_image.GetHeight()));
    ScrollToPosition(target);
}

bool CPixmoorView::IsPannable() const
{
    return m_image.GetWidth() > m_nClientWidth || m_image.GetHeight() > m_nClientHeight;
}

void CPixmoorView::UpdatePanCursor()
{
    SetCursor(m_bPanning ? IDC_HANDCLOSED : IsPannable() ? IDC_HANDOPEN : IDC_ARROW);
}

void CPixmoorView::OnLButtonDown(UINT, CPoint point)
{
    if (!IsPannable())
        return;
    m_bPanning = true;
    m_panStart = point;
    m_panScroll = GetScrollPosition();
    UpdatePanCursor();
}

void CPixmoorView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bPanning || !(nFlags & MK_LBUTTON))
        return;
    ScrollToPosition(
        CPoint(m_panScroll.x - (point.x - m_panStart.x), m_panScroll.y - (point.y - m_panStart.y)));
}

void CPixmoorView::OnLButtonUp(UINT, CPoint)
{
    m_bPanning = false;
    UpdatePanCursor();
}

void CPixmoorView::OnLButtonDblClk(UINT, CPoint)
{
    m_bPanning = false;
    if (CFrameWnd* frame = GetParentFrame())
        frame->OnCommand(ID_VIEW_FULL_SCREEN);
}
