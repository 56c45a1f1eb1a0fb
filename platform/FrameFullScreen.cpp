// Full screen for a frame: the menu bar and the control bars are hidden and
// the window covers its screen; leaving puts back the geometry, the
// maximized state and the bars that were shown. Accelerators belong to the
// window, so they keep working in between.
#include <QMenuBar>
#include <QToolBar>

#include "platform/FrameWndImpl.h"
#include "platform/WndImpl.h"

BOOL CFrameWnd::IsFullScreen() const
{
    return m_pFrame->fullScreen;
}

void CFrameWnd::ShowFullScreen(BOOL bFullScreen)
{
    CFrameWidget* window = m_pFrame->window;
    if (!window || (bFullScreen != FALSE) == m_pFrame->fullScreen)
        return;
    FrameImpl& f = *m_pFrame;
    if (bFullScreen) {
        f.wasMaximized = window->isMaximized();
        f.normalGeometry = window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
        f.menuBarShown = window->menuBar()->isVisible();
        f.hiddenBars.clear();
        for (QToolBar* bar : window->findChildren<QToolBar*>()) {
            if (bar->isVisible()) {
                bar->hide();
                f.hiddenBars.push_back(bar);
            }
        }
        window->menuBar()->hide();
        f.fullScreen = true;
        window->showFullScreen();
    } else {
        f.fullScreen = false;
        if (f.wasMaximized) {
            window->showMaximized();
        } else {
            window->showNormal();
            window->setGeometry(f.normalGeometry);
        }
        window->menuBar()->setVisible(f.menuBarShown);
        for (const QPointer<QWidget>& bar : f.hiddenBars) {
            if (bar)
                bar->show();
        }
        f.hiddenBars.clear();
    }
    window->raise();
    window->activateWindow();
}
