// The view around a full-screen change: in fit mode the picture is fitted
// again to the client area that full screen brings, and to the window's
// again when it comes back, until the user picks a scale.
#include "app/PixmoorView.h"

void CPixmoorView::OnFullScreenChanging(BOOL bFullScreen)
{
    if (bFullScreen) {
        m_nRestoreWidth = m_nClientWidth;
        m_nRestoreHeight = m_nClientHeight;
        m_nRefit = RefitWhileFullScreen;
    } else {
        m_nRefit = RefitUntilRestored;
    }
}

void CPixmoorView::OnFullScreenChanged()
{
    RefitAfterFullScreen();
    SetFocus();
}

void CPixmoorView::RefitAfterFullScreen()
{
    if (m_nRefit == RefitNone || m_nScaleMode != ScaleFit || m_bRefitting || !HasPicture())
        return;
    if (m_nRefit == RefitUntilRestored && m_nClientWidth == m_nRestoreWidth &&
        m_nClientHeight == m_nRestoreHeight)
        m_nRefit = RefitNone;
    m_bRefitting = true;
    OnScaleFit();
    m_bRefitting = false;
}

void CPixmoorView::EndRefitByChoice()
{
    if (m_nRefit == RefitUntilRestored)
        m_nRefit = RefitNone;
}
