#pragma once
// CMainFrame: the main window, 1024 x 768, with the menu, the accelerators
// and a flat toolbar; no status bar. It also goes full screen (F11, Esc to
// leave) and opens a JPEG file dropped on it from a file manager.

#include <string>
#include <vector>

#include "platform/FrameWnd.h"
#include "platform/ToolBar.h"

class CCmdUI;
class CPixmoorView;

class CMainFrame : public CFrameWnd {
protected:
    CMainFrame();
    DECLARE_DYNCREATE(CMainFrame)

public:
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnQueryDropFile(const char* path) override;
    void OnDropFiles(const std::vector<std::string>& paths) override;

    CToolBar* GetToolBar() { return &m_wndToolBar; }

protected:
    void OnViewFullScreen();
    void OnExitFullScreen();
    void OnUpdateViewFullScreen(CCmdUI* pCmdUI);
    void OnUpdateExitFullScreen(CCmdUI* pCmdUI);
    void SetFullScreen(BOOL bFullScreen);
    CPixmoorView* GetPixmoorView() const;

    CToolBar m_wndToolBar;

    DECLARE_MESSAGE_MAP()
};
