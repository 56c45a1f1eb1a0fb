#include "platform/WndTester.h"

#include <QApplication>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
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
