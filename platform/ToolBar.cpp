#include "platform/ToolBar.h"

#include <QAction>
#include <QPixmap>
#include <QToolBar>

#include "platform/FrameWndImpl.h"
#include "platform/Resource.h"
#include "platform/WndImpl.h"

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() = default;

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID)
{
    m_dwCtrlStyle = dwCtrlStyle;
    m_dwBarStyle = dwStyle;
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (!frame || !frame->GetFrameImpl()->window)
        return FALSE;
    if (!CWnd::CreateEx(0, nullptr, nullptr, dwStyle & ~WS_VISIBLE, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    frame->AddControlBar(this);
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CToolBar::CreateWidget(const CREATESTRUCT&)
{
    CFrameWnd* frame = static_cast<CFrameWnd*>(m_pParentWnd);
    QToolBar* bar = new QToolBar(frame->GetFrameImpl()->window);
    bar->setObjectName(QStringLiteral("toolbar%1").arg(m_nID));
    bar->setMovable((m_dwBarStyle & CBRS_GRIPPER) != 0);
    bar->setFloatable(true);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->hide();
    m_pImpl->root = bar;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    QToolBar* bar = qobject_cast<QToolBar*>(RootWidgetOf(this));
    CFrameWnd* frame = static_cast<CFrameWnd*>(m_pParentWnd);
    const TOOLBAR_RESOURCE* res = AfxFindToolbar(nIDResource);
    if (!bar || !frame || !res || !res->pXpm)
        return FALSE;
    const QPixmap strip(res->pXpm);
    int images = 0;
    for (int i = 0; i < res->nButtons; ++i)
        if (res->pButtons[i] != 0)
            ++images;
    if (strip.isNull() || strip.width() < images * res->nWidth || strip.height() < res->nHeight)
        return FALSE;
    bar->setIconSize(QSize(res->nWidth, res->nHeight));
    int image = 0;
    for (int i = 0; i < res->nButtons; ++i) {
        const UINT id = res->pButtons[i];
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = new QAction(bar);
        action->setIcon(QIcon(strip.copy(image * res->nWidth, 0, res->nWidth, res->nHeight)));
        ++image;
        // The prompt's second line is the tooltip; without one, none.
        std::string prompt;
        QString tip;
        if ((m_dwBarStyle & CBRS_TOOLTIPS) && AfxLoadString(id, prompt)) {
            const size_t nl = prompt.find('\n');
            if (nl != std::string::npos)
                tip = QString::fromUtf8(prompt.substr(nl + 1).c_str());
        }
        action->setToolTip(tip);
        action->setData(id);
        QObject::connect(action, &QAction::triggered, action, [frame, id]() { RunFrameCommand(frame, id); });
        bar->addAction(action);
        frame->GetFrameImpl()->actions.emplace(id, action);
    }
    return TRUE;
}

void CToolBar::EnableDocking(DWORD dwDockStyle)
{
    QToolBar* bar = qobject_cast<QToolBar*>(RootWidgetOf(this));
    if (!bar)
        return;
    Qt::ToolBarAreas areas;
    if (dwDockStyle & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    bar->setAllowedAreas(areas);
}

int CToolBar::GetCount() const
{
    QToolBar* bar = qobject_cast<QToolBar*>(RootWidgetOf(this));
    return bar ? (int)bar->actions().size() : 0;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    QToolBar* bar = qobject_cast<QToolBar*>(RootWidgetOf(this));
    if (!bar || nIndex < 0 || nIndex >= (int)bar->actions().size())
        return 0;
    QAction* action = bar->actions().at(nIndex);
    return action->isSeparator() ? 0 : action->data().toUInt();
}
