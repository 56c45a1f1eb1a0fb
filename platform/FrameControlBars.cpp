// The frame's control bars: toolbars docked at the top of the window, and the
// checked menu item that shows or hides each one.
#include <QToolBar>

#include "platform/CmdUI.h"
#include "platform/FrameWndImpl.h"
#include "platform/ToolBar.h"
#include "platform/WndImpl.h"

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    (void)dwDockStyle;  // a QMainWindow docks toolbars on any side
}

void CFrameWnd::AddControlBar(CToolBar* pBar)
{
    m_listControlBars.push_back(pBar);
}

void CFrameWnd::DockControlBar(CToolBar* pBar)
{
    QToolBar* bar = qobject_cast<QToolBar*>(RootWidgetOf(pBar));
    if (bar && m_pFrame->window)
        m_pFrame->window->addToolBar(Qt::TopToolBarArea, bar);
}

void CFrameWnd::ShowControlBar(CToolBar* pBar, BOOL bShow, BOOL)
{
    pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    for (CToolBar* bar : m_listControlBars) {
        if (bar->GetDlgCtrlID() == pCmdUI->m_nID) {
            pCmdUI->SetCheck(bar->IsWindowVisible() ? 1 : 0);
            return;
        }
    }
    pCmdUI->Enable(FALSE);
}

void CFrameWnd::OnBarCheck(UINT nID)
{
    for (CToolBar* bar : m_listControlBars) {
        if (bar->GetDlgCtrlID() == nID) {
            ShowControlBar(bar, !bar->IsWindowVisible(), FALSE);
            return;
        }
    }
}
