// The frame's menu bar and accelerators, built from the resource tables, the
// recent-file items of the File menu, and the enabled and checked states that
// UpdateCmdUI gives every menu item and toolbar button.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <algorithm>

#include "platform/AfxRes.h"
#include "platform/CmdUI.h"
#include "platform/FrameWndImpl.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"

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
        case VK_SPACE: key = Qt::Key_Space; break;
        case VK_PRIOR: key = Qt::Key_PageUp; break;
        case VK_NEXT: key = Qt::Key_PageDown; break;
        case VK_END: key = Qt::Key_End; break;
        case VK_HOME: key = Qt::Key_Home; break;
        case VK_LEFT: key = Qt::Key_Left; break;
        case VK_UP: key = Qt::Key_Up; break;
        case VK_RIGHT: key = Qt::Key_Right; break;
        case VK_DOWN: key = Qt::Key_Down; break;
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
