#pragma once
// CMainFrame: the main window, 1024 x 768, with the menu, the accelerators
// and a flat toolbar; no status bar.

#include "platform/FrameWnd.h"
#include "platform/ToolBar.h"

class CMainFrame : public CFrameWnd {
protected:
    CMainFrame();
    DECLARE_DYNCREATE(CMainFrame)

public:
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;

    CToolBar* GetToolBar() { return &m_wndToolBar; }

protected:
    CToolBar m_wndToolBar;
};
