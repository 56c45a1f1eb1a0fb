#pragma once
// CFrameWnd: a top-level window. A frame made by a document template has a
// menu, accelerators, control bars and one view filling its client area; a
// frame made with Create alone (the browser) paints its own client area.
//
// Commands route: active view (then its document), the frame, the
// application. A command nobody handles is greyed in the menu and on the
// toolbar and its accelerator does nothing.

#include <string>
#include <vector>

#include "platform/RuntimeClass.h"
#include "platform/Wnd.h"

class CDocument;
class CDocTemplate;
class CToolBar;
class CView;
struct CRuntimeClass;

// Frame styles
enum : DWORD { FWS_ADDTOTITLE = 0x00008000, FWS_PREFIXTITLE = 0x00004000 };

// Control-bar styles and docking sides
enum : DWORD {
    CBRS_ALIGN_LEFT = 0x1000, CBRS_ALIGN_TOP = 0x2000, CBRS_ALIGN_RIGHT = 0x4000,
    CBRS_ALIGN_BOTTOM = 0x8000, CBRS_ALIGN_ANY = 0xF000,
    CBRS_TOOLTIPS = 0x0010, CBRS_FLYBY = 0x0020, CBRS_GRIPPER = 0x00400000,
    CBRS_SIZE_DYNAMIC = 0x0040, CBRS_TOP = CBRS_ALIGN_TOP | 0x0200
};

struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    class CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
public:
    struct FrameImpl;

    CFrameWnd();
    ~CFrameWnd() override;

    static const RECT rectDefault;  // the platform chooses position and size

    // A top-level frame at rect (screen), titled lpszWindowName. With
    // WS_HSCROLL / WS_VSCROLL the client area has scroll bars.
    BOOL Create(const char* lpszClassName, const char* lpszWindowName,
                DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* pParentWnd = nullptr, const char* lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // A frame from resource nIDResource: menu, accelerators, icon and the
    // window-title field of the document string.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnClose() override;
    BOOL DestroyWindow() override;
    void PostNcDestroy() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView) { m_pViewActive = pView; }
    CDocument* GetActiveDocument() const;
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void ActivateFrame(int nCmdShow = -1);

    // Docking and control bars.
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CToolBar* pBar);
    void ShowControlBar(CToolBar* pBar, BOOL bShow, BOOL bDelay);
    void AddControlBar(CToolBar* pBar);

    // Full screen: the active view alone fills the screen (no frame, menu
    // bar or control bars); FALSE brings the window back as it was
    // (position, size, maximized state, bars). FrameFullScreen.cpp.
    void ShowFullScreen(BOOL bFullScreen);
    BOOL IsFullScreen() const;

    // Files dropped on the window (a file manager's drag, text/uri-list).
    // With DragAcceptFiles the drop cursor accepts a drag whose first item
    // is a local file that OnQueryDropFile accepts (default: any); a drop
    // then calls OnDropFiles with the local paths, which by default opens
    // the first as File Open does and activates the frame. FrameDrop.cpp.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    virtual BOOL OnQueryDropFile(const char* path);
    virtual void OnDropFiles(const std::vector<std::string>& paths);

    // Brings every menu item and toolbar button up to date with the command
    // route (also done before a menu opens, after every command and when
    // the event loop idles).
    void UpdateCmdUI();

    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const char* title) { m_strTitle = title ? title : ""; }

    FrameImpl* GetFrameImpl() const { return m_pFrame; }

protected:
    void CreateWidget(const CREATESTRUCT& cs) override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID);

    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    void OnBarCheck(UINT nID);

    std::string m_strTitle;
    UINT m_nIDResource = 0;
    CView* m_pViewActive = nullptr;
    std::vector<CToolBar*> m_listControlBars;
    FrameImpl* m_pFrame = nullptr;

    DECLARE_MESSAGE_MAP()
};
