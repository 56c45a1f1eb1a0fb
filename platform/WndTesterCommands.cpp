// The frame's menus and toolbar driven as the user drives them: pop-ups
// opened so that their items are brought up to date, items and buttons
// triggered, their states and texts read.
#include "platform/WndTester.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "platform/FrameWnd.h"
#include "platform/FrameWndImpl.h"

namespace WndTester {

static CFrameWnd::FrameImpl* FrameOf(CFrameWnd* frame)
{
    return frame ? frame->GetFrameImpl() : nullptr;
}

static QAction* MenuAction(CFrameWnd* frame, UINT nID)
{
    CFrameWnd::FrameImpl* f = FrameOf(frame);
    if (!f)
        return nullptr;
    auto it = f->menuItems.find(nID);
    if (it != f->menuItems.end())
        return it->second;
    // Recent files are made as the list changes.
    if (nID >= 0xE110 && nID <= 0xE11F) {
        const size_t index = nID - 0xE110;
        if (index < f->recentItems.size())
            return f->recentItems[index];
    }
    return nullptr;
}

static QMenu* MenuOf(QAction* action)
{
    for (QObject* p = action->parent(); p; p = p->parent())
        if (QMenu* menu = qobject_cast<QMenu*>(p))
            return menu;
    const auto widgets = action->associatedObjects();
    for (QObject* o : widgets)
        if (QMenu* menu = qobject_cast<QMenu*>(o))
            return menu;
    return nullptr;
}

// Opens the pop-up as the user does, so that its items are brought up to date.
static QMenu* OpenMenuFor(CFrameWnd* frame, UINT nID, QAction** out)
{
    frame->UpdateCmdUI();
    QAction* action = MenuAction(frame, nID);
    if (!action)
        return nullptr;
    QMenu* menu = MenuOf(action);
    if (!menu)
        return nullptr;
    menu->popup(QPoint(0, 0));
    (void)QTest::qWaitForWindowExposed(menu, 1000);
    ProcessEvents();
    *out = MenuAction(frame, nID);  // the recent list may have been rebuilt
    return menu;
}

bool ClickMenuItem(CFrameWnd* frame, UINT nID)
{
    QAction* action = nullptr;
    QPointer<QMenu> menu = OpenMenuFor(frame, nID, &action);
    if (!menu || !action)
        return false;
    const QRect r = menu->actionGeometry(action);
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, r.center());
    ProcessEvents();
    // A greyed item leaves the menu open; a command may have closed the window.
    if (menu && menu->isVisible())
        menu->hide();
    ProcessEvents();
    return true;
}

bool IsMenuItemEnabled(CFrameWnd* frame, UINT nID)
{
    QAction* action = nullptr;
    QMenu* menu = OpenMenuFor(frame, nID, &action);
    const bool enabled = action && action->isEnabled();
    if (menu)
        menu->hide();
    return enabled;
}

bool IsMenuItemChecked(CFrameWnd* frame, UINT nID)
{
    QAction* action = nullptr;
    QMenu* menu = OpenMenuFor(frame, nID, &action);
    const bool checked = action && action->isCheckable() && action->isChecked();
    if (menu)
        menu->hide();
    return checked;
}

QString MenuItemText(CFrameWnd* frame, UINT nID)
{
    frame->UpdateCmdUI();
    QAction* action = MenuAction(frame, nID);
    return action ? action->text() : QString();
}

QStringList MenuBarTitles(CFrameWnd* frame)
{
    QStringList titles;
    CFrameWnd::FrameImpl* f = FrameOf(frame);
    if (!f || !f->window)
        return titles;
    for (QAction* a : f->window->menuBar()->actions())
        titles << a->text();
    return titles;
}

QStringList MenuItemTexts(CFrameWnd* frame, int index)
{
    QStringList texts;
    frame->UpdateCmdUI();
    CFrameWnd::FrameImpl* f = FrameOf(frame);
    if (!f || !f->window)
        return texts;
    const QList<QAction*> top = f->window->menuBar()->actions();
    if (index < 0 || index >= top.size() || !top[index]->menu())
        return texts;
    for (QAction* a : top[index]->menu()->actions())
        if (a->isVisible())
            texts << (a->isSeparator() ? QString() : a->text());
    return texts;
}

static QToolBar* ToolbarOf(CFrameWnd* frame)
{
    CFrameWnd::FrameImpl* f = FrameOf(frame);
    return f && f->window ? f->window->findChild<QToolBar*>() : nullptr;
}

static QAction* ToolbarAction(CFrameWnd* frame, UINT nID)
{
    QToolBar* bar = ToolbarOf(frame);
    if (!bar)
        return nullptr;
    for (QAction* a : bar->actions())
        if (!a->isSeparator() && a->data().toUInt() == nID)
            return a;
    return nullptr;
}

QList<UINT> ToolbarButtons(CFrameWnd* frame)
{
    QList<UINT> ids;
    if (QToolBar* bar = ToolbarOf(frame))
        for (QAction* a : bar->actions())
            ids << (a->isSeparator() ? 0u : a->data().toUInt());
    return ids;
}

bool ClickToolbarButton(CFrameWnd* frame, UINT nID)
{
    frame->UpdateCmdUI();
    QToolBar* bar = ToolbarOf(frame);
    QAction* action = ToolbarAction(frame, nID);
    if (!bar || !action)
        return false;
    QWidget* button = bar->widgetForAction(action);
    if (!button)
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    return true;
}

bool IsToolbarButtonEnabled(CFrameWnd* frame, UINT nID)
{
    frame->UpdateCmdUI();
    QToolBar* bar = ToolbarOf(frame);
    QAction* action = ToolbarAction(frame, nID);
    QWidget* button = bar && action ? bar->widgetForAction(action) : nullptr;
    return button && button->isEnabled();
}

QString ToolbarTooltip(CFrameWnd* frame, UINT nID)
{
    QToolBar* bar = ToolbarOf(frame);
    QAction* action = ToolbarAction(frame, nID);
    QWidget* button = bar && action ? bar->widgetForAction(action) : nullptr;
    return button ? button->toolTip() : QString();
}

QImage ToolbarButtonImage(CFrameWnd* frame, UINT nID)
{
    QAction* action = ToolbarAction(frame, nID);
    QToolBar* bar = ToolbarOf(frame);
    if (!action || !bar)
        return QImage();
    return action->icon().pixmap(bar->iconSize()).toImage();
}

bool IsToolbarVisible(CFrameWnd* frame)
{
    QToolBar* bar = ToolbarOf(frame);
    return bar && bar->isVisible();
}

}  // namespace WndTester
