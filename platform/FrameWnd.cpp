#include "platform/FrameWnd.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QShortcut>
#include <QToolBar>
#include <algorithm>

#include "platform/AfxRes.h"
#include "platform/CmdUI.h"
#include "platform/Document.h"
#include "platform/FrameWndImpl.h"
#include "platform/Resource.h"
#include "platform/RuntimeClass.h"
#include "platform/ToolBar.h"
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

QKeySequence AccelToKeySequence(const ACCEL& accel)
{
    int key = 0;
    if (accel.key >= 'A' && accel.key <= 'Z')
        key = Qt::Key_A + (accel.key - 'A');
    else if (accel.key >= '0' && accel.key <= '9')
        key = Qt::Key_0 + (accel.key - '0');
    else if (accel.key >= VK_F1 && accel.key <= VK_F1 + 11)
        key = Qt::Key_F1 + (accel.key - VK_F1);
    else {
        switch (accel.key) {
        case VK_BACK: key = Qt::Key_Backspace; break;
        case VK_TAB: key = Qt::Key_Tab; break;
        case VK_RETURN: key = Qt::Key_Return; break;
        case VK_ESCAPE: key = Qt::Key_Escape; break;
        case VK_INSERT: key = Qt::Key_Insert; break;
        case VK_DELETE: key = Qt::Key_Delete; break;
        default: return QKeySequence();
        }
    }
    int mods = 0;
    if (accel.fVirt & FCONTROL)
        mods |= Qt::CTRL;
    if (accel.fVirt & FSHIFT)
        mods |= Qt::SHIFT;
    if (accel.fVirt & FALT)
        mods |= Qt::ALT;
    return QKeySequence(key | mods);
}

void RunFrameCommand(CFrameWnd* frame, UINT nID)
{
    QPointer<CFrameWidget> window = frame->GetFrameImpl() ? frame->GetFrameImpl()->window : nullptr;
    frame->OnCommand(nID, FALSE);
    // The command may have closed the frame.
    if (window && window->m_frame)
        window->m_frame->UpdateCmdUI();
}

void CFrameWnd::FrameImpl::BuildMenu(CFrameWnd* frame, UINT nIDResource)
{
    const MENU_ITEM* item = AfxFindMenu(nIDResource);
    if (!item || !window)
        return;
    QMenuBar* bar = window->menuBar();
    std::vector<QMenu*> stack;
    for (; !(item->nFlags & MF_END) || !stack.empty(); ++item) {
        if (item->nFlags & MF_END) {
            stack.pop_back();
            continue;
        }
        const QString text = QString::fromUtf8(item->lpszText ? item->lpszText : "");
        if (item->nFlags & MF_POPUP) {
            QMenu* menu = stack.empty() ? bar->addMenu(text) : stack.back()->addMenu(text);
            QObject::connect(menu, &QMenu::aboutToShow, menu, [frame]() { frame->UpdateCmdUI(); });
            stack.push_back(menu);
            continue;
        }
        if (stack.empty())
            continue;
        if (item->nFlags & MF_SEPARATOR) {
            stack.back()->addSeparator();
            continue;
        }
        QAction* action = stack.back()->addAction(text);
        action->setEnabled(!(item->nFlags & MF_GRAYED));
        const UINT id = item->nID;
        if (id == ID_FILE_MRU_FILE1) {
            recentMenu = stack.back();
            recentPlaceholder = action;
            action->setEnabled(false);
            continue;
        }
        QObject::connect(action, &QAction::triggered, action, [frame, id]() { RunFrameCommand(frame, id); });
        actions.emplace(id, action);
        menuItems[id] = action;
    }
}

void CFrameWnd::FrameImpl::BuildAccelerators(CFrameWnd* frame, UINT nIDResource)
{
    int count = 0;
    const ACCEL* table = AfxFindAccelerators(nIDResource, &count);
    for (int i = 0; i < count && window; ++i) {
        const QKeySequence keys = AccelToKeySequence(table[i]);
        if (keys.isEmpty())
            continue;
        const UINT id = table[i].cmd;
        QShortcut* shortcut = new QShortcut(keys, window);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(false);
        QObject::connect(shortcut, &QShortcut::activated, shortcut, [frame, id]() { RunFrameCommand(frame, id); });
        accelerators.push_back(shortcut);
        accelTable.emplace_back(keys, id);
    }
}

// Recent files show as "&1 name"; long paths keep their start and their
// file name around "...".
static QString RecentDisplayName(int index, const std::string& path)
{
    QString name = QString::fromLocal8Bit(path.c_str());
    const int kMax = 40;
    if (name.size() > kMax) {
        const int cut = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
        const QString file = cut >= 0 ? name.mid(cut) : name;
        const int keep = std::max(3, kMax - (int)file.size() - 3);
        name = name.left(keep) + QStringLiteral("...") + file;
    }
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void CFrameWnd::FrameImpl::ShowRecentFiles(CFrameWnd* frame, const std::vector<std::string>& names)
{
    if (!recentMenu || !recentPlaceholder || names == recentShown)
        return;
    recentShown = names;
    for (auto& action : recentItems) {
        if (action) {
            recentMenu->removeAction(action);
            delete action;
        }
    }
    recentItems.clear();
    for (auto it = actions.begin(); it != actions.end();) {
        if (it->first >= ID_FILE_MRU_FIRST && it->first <= ID_FILE_MRU_LAST)
            it = actions.erase(it);
        else
            ++it;
    }
    recentPlaceholder->setVisible(names.empty());
    for (size_t i = 0; i < names.size(); ++i) {
        QAction* action = new QAction(RecentDisplayName((int)i, names[i]), recentMenu);
        recentMenu->insertAction(recentPlaceholder, action);
        const UINT id = ID_FILE_MRU_FILE1 + (UINT)i;
        QObject::connect(action, &QAction::triggered, action, [frame, id]() { RunFrameCommand(frame, id); });
        recentItems.push_back(action);
        actions.emplace(id, action);
    }
}

// ---------------------------------------------------------------------------

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

void CFrameWnd::UpdateCmdUI()
{
    if (!m_pImpl)
        return;
    CWinApp* app = AfxGetApp();
    if (app && m_pFrame->recentMenu)
        m_pFrame->ShowRecentFiles(this, app->GetRecentFiles());
    UINT last = 0;
    bool first = true;
    for (auto it = m_pFrame->actions.begin(); it != m_pFrame->actions.end(); ++it) {
        const UINT id = it->first;
        if (!first && id == last)
            continue;
        first = false;
        last = id;
        CCmdUI state(id);
        state.DoUpdate(this, TRUE);
        auto range = m_pFrame->actions.equal_range(id);
        for (auto a = range.first; a != range.second; ++a) {
            QAction* action = a->second;
            if (!action)
                continue;
            action->setEnabled(state.m_bEnabled);
            if (state.m_bCheckChanged) {
                action->setCheckable(true);
                action->setChecked(state.m_nCheck != 0);
            }
        }
    }
}
