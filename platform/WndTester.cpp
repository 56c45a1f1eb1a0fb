#include "platform/WndTester.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include "platform/FrameWnd.h"
#include "platform/FrameWndImpl.h"
#include "platform/WndImpl.h"

namespace WndTester {

void ProcessEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

bool ShowAndWait(CWnd* wnd)
{
    QWidget* root = RootWidgetOf(wnd);
    if (!root)
        return false;
    root->show();
    root->activateWindow();
    const bool ok = QTest::qWaitForWindowExposed(root, 2000);
    (void)QTest::qWaitForWindowActive(root, 1000);
    ProcessEvents();
    return ok;
}

QImage ScreenOfClient(CWnd* wnd)
{
    ProcessEvents();
    QWidget* client = ClientWidgetOf(wnd);
    if (!client)
        return QImage();
    QWidget* window = client->window();
    const QPoint at = client->mapTo(window, QPoint(0, 0));
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (window->windowHandle() && screen) {
        const QPixmap shot = screen->grabWindow(window->winId(), at.x(), at.y(), client->width(), client->height());
        if (!shot.isNull())
            return shot.toImage().convertToFormat(QImage::Format_RGB32);
    }
    return GrabClient(wnd);
}

QImage GrabClient(CWnd* wnd)
{
    ProcessEvents();
    QWidget* client = ClientWidgetOf(wnd);
    return client ? client->grab().toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

void Click(CWnd* wnd, int x, int y, Qt::KeyboardModifiers mods)
{
    if (QWidget* client = ClientWidgetOf(wnd))
        QTest::mouseClick(client, Qt::LeftButton, mods, QPoint(x, y));
    ProcessEvents();
}

void DoubleClick(CWnd* wnd, int x, int y, Qt::KeyboardModifiers mods)
{
    if (QWidget* client = ClientWidgetOf(wnd)) {
        // A double click is press, release, double-click, release.
        QTest::mouseClick(client, Qt::LeftButton, mods, QPoint(x, y));
        QTest::mouseDClick(client, Qt::LeftButton, mods, QPoint(x, y));
    }
    ProcessEvents();
}

void Wheel(CWnd* wnd, int x, int y, int delta, Qt::KeyboardModifiers mods)
{
    QWidget* client = ClientWidgetOf(wnd);
    if (!client)
        return;
    const QPoint pos(x, y);
    QWheelEvent event(pos, client->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(client, &event);
    ProcessEvents();
}

static CFrameWnd::FrameImpl* FrameOf(CFrameWnd* frame)
{
    return frame ? frame->GetFrameImpl() : nullptr;
}

void Key(CFrameWnd* frame, const QKeySequence& keys)
{
    CFrameWnd::FrameImpl* f = FrameOf(frame);
    if (!f || !f->window)
        return;
    QWidget* window = f->window;
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window, 1000);
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != window)
        target = window;
    QTest::keySequence(target, keys);
    ProcessEvents();
}

bool KeyToActiveWindow(const QKeySequence& keys)
{
    ProcessEvents();
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        return false;
    QTest::keySequence(target, keys);
    ProcessEvents();
    return true;
}

void Drag(CWnd* wnd, QPoint from, QPoint to)
{
    QWidget* client = ClientWidgetOf(wnd);
    if (!client)
        return;
    QTest::mousePress(client, Qt::LeftButton, Qt::NoModifier, from);
    // Two moves: the pointer passes through the middle on its way.
    const QPoint mid = (from + to) / 2;
    for (const QPoint& p : { mid, to }) {
        QMouseEvent move(QEvent::MouseMove, p, client->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(client, &move);
    }
    QTest::mouseRelease(client, Qt::LeftButton, Qt::NoModifier, to);
    ProcessEvents();
}

Qt::CursorShape ClientCursor(CWnd* wnd)
{
    QWidget* client = ClientWidgetOf(wnd);
    return client ? client->cursor().shape() : Qt::ArrowCursor;
}

bool DropFiles(CFrameWnd* frame, const QStringList& localPaths)
{
    CFrameWnd::FrameImpl* f = frame ? frame->GetFrameImpl() : nullptr;
    if (!f || !f->window)
        return false;
    QWidget* window = f->window;
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& path : localPaths)
        urls.push_back(QUrl::fromLocalFile(path));
    mime.setUrls(urls);
    const QPoint at(window->width() / 2, window->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    ProcessEvents();
    return true;
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

bool ClickButton(CWnd* button)
{
    QWidget* widget = RootWidgetOf(button);
    if (!widget || !widget->isVisible())
        return false;
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    ProcessEvents();
    return true;
}

static QScrollBar* BarOf(CWnd* wnd, int nBar)
{
    if (!wnd || !wnd->GetImpl() || (nBar != SB_HORZ && nBar != SB_VERT))
        return nullptr;
    return wnd->GetImpl()->bars[nBar];
}

void ScrollBarAction(CWnd* wnd, int nBar, QAbstractSlider::SliderAction action)
{
    if (QScrollBar* bar = BarOf(wnd, nBar))
        bar->triggerAction(action);
    ProcessEvents();
}

void DragThumb(CWnd* wnd, int nBar, int pos)
{
    QScrollBar* bar = BarOf(wnd, nBar);
    if (!bar)
        return;
    bar->setSliderDown(true);
    bar->setSliderPosition(pos);  // emits SliderMove while the slider is down
    bar->setSliderDown(false);
    ProcessEvents();
}

void CloseBox(CWnd* wnd)
{
    if (QWidget* root = RootWidgetOf(wnd))
        root->close();
    ProcessEvents();
}

}  // namespace WndTester
