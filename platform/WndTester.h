#pragma once
// Drives windows of the framework in tests the way a user does and reads
// back what the screen shows. Needs a QApplication (QT_QPA_PLATFORM=offscreen
// is fine). Part of the pixmoor_wndtest library.

#include <QAbstractSlider>
#include <QImage>
#include <QKeySequence>
#include <QString>

#include "platform/Win32Types.h"

class CWnd;
class CFrameWnd;
class QAction;

namespace WndTester {

// Lets the event loop run its posted events, paints and deferred deletes.
void ProcessEvents();

// Shows a top-level window and waits until it is exposed and active.
bool ShowAndWait(CWnd* wnd);

// The client area's pixels as the screen shows them now (the window's
// backing store): parts no paint touched keep what was there before.
QImage ScreenOfClient(CWnd* wnd);
// The client area painted afresh in full (a complete paint pass).
QImage GrabClient(CWnd* wnd);

// Mouse input in client coordinates.
void Click(CWnd* wnd, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier);
void DoubleClick(CWnd* wnd, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier);
void Wheel(CWnd* wnd, int x, int y, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier);

// Types a key combination into the frame (its focused widget).
void Key(CFrameWnd* frame, const QKeySequence& keys);
// Types a key combination into whatever has the keyboard now, activating
// nothing first (as a user who does not click before typing). False when
// no window of the program is active.
bool KeyToActiveWindow(const QKeySequence& keys);

// Presses the left button at `from`, moves to `to` with it held, releases.
void Drag(CWnd* wnd, QPoint from, QPoint to);
// The cursor shape over the client area.
Qt::CursorShape ClientCursor(CWnd* wnd);

// A file manager's drag of local files over the frame, then a drop when the
// drag was accepted. Returns whether the drop cursor accepted it.
bool DropFiles(CFrameWnd* frame, const QStringList& localPaths);

// Opens the menu holding the item and clicks it. False when the frame has
// no such item; a greyed item is clicked too, and nothing happens.
bool ClickMenuItem(CFrameWnd* frame, UINT nID);
// Menu item state after the menu has been opened (update handlers run).
bool IsMenuItemEnabled(CFrameWnd* frame, UINT nID);
bool IsMenuItemChecked(CFrameWnd* frame, UINT nID);
QString MenuItemText(CFrameWnd* frame, UINT nID);
// Texts of the items of the top-level menu `index` ("" for separators).
QStringList MenuItemTexts(CFrameWnd* frame, int index);
QStringList MenuBarTitles(CFrameWnd* frame);

// Toolbar buttons: IDs left to right (0 for separators), state, click.
QList<UINT> ToolbarButtons(CFrameWnd* frame);
bool ClickToolbarButton(CFrameWnd* frame, UINT nID);
bool IsToolbarButtonEnabled(CFrameWnd* frame, UINT nID);
QString ToolbarTooltip(CFrameWnd* frame, UINT nID);
QImage ToolbarButtonImage(CFrameWnd* frame, UINT nID);
bool IsToolbarVisible(CFrameWnd* frame);

// Child push buttons (CButton): a mouse click in its middle.
bool ClickButton(CWnd* button);

// A user action on one of the window's scroll bars (SB_HORZ / SB_VERT).
void ScrollBarAction(CWnd* wnd, int nBar, QAbstractSlider::SliderAction action);
// Dragging the thumb to a position (one SB_THUMBTRACK, then release).
void DragThumb(CWnd* wnd, int nBar, int pos);

// The close box of a top-level window.
void CloseBox(CWnd* wnd);

}  // namespace WndTester
