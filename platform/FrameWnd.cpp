// The frame window: a QMainWindow whose central widget is its client area or
// its view; its creation, closing and title, the command route through the
// active view, and the idle update of every live frame's commands.
#include "platform/FrameWnd.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <algorithm>

#include "platform/AfxRes.h"
#include "platform/CmdUI.h"
#include "platform/Document.h"
#include "platform/FrameWndImpl.h"
#include "platform/Resource.h"
#include "platform/RuntimeClass.h"
#include "platform/View.h"
#include "platform/WinApp.h"
#include "platform/WndImpl.h"

const RECT CFrameWnd::rectDefault = { CW_USEDEFAULT, CW_USEDEFAULT, 0, 0 };

// Frames alive now; the idle update visits them.
static std::vector<CFrameWnd*> g_liveFrames;

static void UpdateLiveFrames()
{
    const std::vector<CFrameWnd*> frames = g_liveFrames;
    for (CFrameWnd* frame : frames) {
        if (std::find(g_liveFrames.begin(), g_liveFrames.end(), frame) != g_liveFrames.end())
            frame->UpdateCmdUI();
    }
}

// Like the framework's idle processing: menus and toolbar follow the state
// whenever the event loop is about to wait.
static void HookIdleUpdate()
{
    static bool hooked = false;
    if (hooked || !QCoreApplication::instance())
        return;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    hooked = true;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher,
                     []() { UpdateLiveFrames(); });
}

CFrameWidget::CFrameWidget(CFrameWnd* frame) : m_frame(frame)
{
}

void CFrameWidget::closeEvent(QCloseEvent* e)
{
    // The frame decides: OnClose may destroy the window or only hide it.
    e->ignore();
    if (m_frame)
        m_frame->OnClose();
}

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_TOOLBAR, OnBarCheck)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() : m_pFrame(new FrameImpl)
{
}

CFrameWnd::~CFrameWnd()
{
    m_bDestructing = true;
    if (m_pImpl)
        DestroyWindow();
    g_liveFrames.erase(std::remove(g_liveFrames.begin(), g_liveFrames.end(), this), g_liveFrames.end());
    delete m_pFrame;
}

BOOL CFrameWnd::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, const char* lpszMenuName,
                       DWORD dwExStyle, CCreateContext* pContext)
{
    (void)lpszMenuName;  // frames made this way have no menu
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, 0, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    std::string docString;
    AfxLoadString(nIDResource, docString);
    m_strTitle = docString.substr(0, docString.find('\n'));
    return CreateEx(0, nullptr, m_strTitle.c_str(), dwDefaultStyle, rectDefault, pParentWnd, 0, pContext);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    return CWnd::PreCreateWindow(cs);
}

static QIcon IconFromResource(UINT nID)
{
    const ICON_RESOURCE* res = AfxFindIcon(nID);
    QIcon icon;
    if (!res || !res->pfnDraw)
        return icon;
    // Window icons are small; the desktop takes larger ones from the icon theme.
    for (int size : { 16, 32, 48, 64 }) {
        QImage image(size, size, QImage::Format_ARGB32);
        res->pfnDraw(size, reinterpret_cast<uint32_t*>(image.bits()));
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void CFrameWnd::CreateWidget(const CREATESTRUCT& cs)
{
    CFrameWidget* window = new CFrameWidget(this);
    m_pFrame->window = window;
    m_pImpl->root = window;
    window->setCentralWidget(m_pImpl->MakeArea(window));
    if (cs.lpszName)
        window->setWindowTitle(QString::fromLocal8Bit(cs.lpszName));
    if (cs.x != CW_USEDEFAULT && cs.y != CW_USEDEFAULT)
        window->move(cs.x, cs.y);
    if (cs.cx != CW_USEDEFAULT && cs.cy != CW_USEDEFAULT && cs.cx > 0 && cs.cy > 0)
        window->resize(cs.cx, cs.cy);
    if (m_nIDResource) {
        m_pFrame->BuildMenu(this, m_nIDResource);
        m_pFrame->BuildAccelerators(this, m_nIDResource);
        const QIcon icon = IconFromResource(m_nIDResource);
        if (!icon.isNull())
            window->setWindowIcon(icon);
    }
    g_liveFrames.push_back(this);
    HookIdleUpdate();
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CCmdTarget* object = pContext->m_pNewViewClass->CreateObject();
    CView* pView = dynamic_cast<CView*>(object);
    if (!pView) {
        delete object;
        return nullptr;
    }
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext)) {
        // A view whose creation failed deleted itself (PostNcDestroy).
        return nullptr;
    }
    // The view fills the frame's client area, below the control bars.
    if (m_pFrame->window)
        m_pFrame->window->setCentralWidget(RootWidgetOf(pView));
    if (!m_pViewActive)
        m_pViewActive = pView;
    return pView;
}

BOOL CFrameWnd::DestroyWindow()
{
    if (!m_pImpl)
        return FALSE;
    g_liveFrames.erase(std::remove(g_liveFrames.begin(), g_liveFrames.end(), this), g_liveFrames.end());
    if (m_pFrame->window)
        m_pFrame->window->m_frame = nullptr;
    m_pViewActive = nullptr;
    m_listControlBars.clear();
    return CWnd::DestroyWindow();
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    CDocument* doc = GetActiveDocument();
    if (app && app->m_pMainWnd == this) {
        // Closing the main window ends the program: the documents close
        // with their frames.
        if (doc) {
            doc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        app->PostQuit();
    }
    delete this;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    (void)pDoc;
    if (m_pViewActive)
        m_pViewActive->OnInitialUpdate();
    if (bMakeVisible)
        ActivateFrame();
    OnUpdateFrameTitle(TRUE);
    UpdateCmdUI();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    ShowWindow(nCmdShow);
    if (m_pFrame->window) {
        m_pFrame->window->raise();
        m_pFrame->window->activateWindow();
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* doc = GetActiveDocument();
    if (bAddToTitle && doc)
        SetWindowText((doc->GetTitle() + " - " + m_strTitle).c_str());
    else
        SetWindowText(m_strTitle.c_str());
}
