#include "app/MainFrm.h"

#include "app/PixmoorView.h"
#include "app/res/Resource.h"
#include "codec/JpegName.h"
#include "platform/CmdUI.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_COMMAND(ID_VIEW_FULL_SCREEN, OnViewFullScreen)
    ON_COMMAND(ID_VIEW_EXIT_FULL_SCREEN, OnExitFullScreen)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FULL_SCREEN, OnUpdateViewFullScreen)
    ON_UPDATE_COMMAND_UI(ID_VIEW_EXIT_FULL_SCREEN, OnUpdateExitFullScreen)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.cx = 1024;
    cs.cy = 768;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                                   CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    DragAcceptFiles(TRUE);
    return 0;
}

CPixmoorView* CMainFrame::GetPixmoorView() const
{
    return dynamic_cast<CPixmoorView*>(GetActiveView());
}

// The drop cursor accepts a drag whose first file has a JPEG name.
BOOL CMainFrame::OnQueryDropFile(const char* path)
{
    return IsJpegName(path);
}

// Opened as File Open opens a file; the view then takes the keyboard.
void CMainFrame::OnDropFiles(const std::vector<std::string>& paths)
{
    CFrameWnd::OnDropFiles(paths);
    if (CPixmoorView* view = GetPixmoorView())
        view->SetFocus();
}

void CMainFrame::SetFullScreen(BOOL bFullScreen)
{
    CPixmoorView* view = GetPixmoorView();
    if (view)
        view->OnFullScreenChanging(bFullScreen);
    ShowFullScreen(bFullScreen);
    if (view)
        view->OnFullScreenChanged();
}

void CMainFrame::OnViewFullScreen()
{
    SetFullScreen(!IsFullScreen());
}

void CMainFrame::OnExitFullScreen()
{
    SetFullScreen(FALSE);
}

void CMainFrame::OnUpdateViewFullScreen(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsFullScreen() ? 1 : 0);
}

void CMainFrame::OnUpdateExitFullScreen(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsFullScreen());
}
