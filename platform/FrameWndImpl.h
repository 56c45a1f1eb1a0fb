#pragma once
// Qt side of CFrameWnd (internal to platform/): the QMainWindow, its menu
// actions, accelerators and toolbars.

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

#include "platform/FrameWnd.h"
#include "platform/Resource.h"

class QAction;
class QMenu;
class QShortcut;
class QToolBar;

class CFrameWidget : public QMainWindow {
public:
    explicit CFrameWidget(CFrameWnd* frame);
    CFrameWnd* m_frame;

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

struct CFrameWnd::FrameImpl {
    QPointer<CFrameWidget> window;
    // Every menu item and toolbar button, by command ID.
    std::multimap<UINT, QPointer<QAction>> actions;
    // Menu items only (tests look them up by ID).
    std::map<UINT, QPointer<QAction>> menuItems;
    std::vector<QPointer<QShortcut>> accelerators;
    std::vector<std::pair<QKeySequence, UINT>> accelTable;
    // The recent-file place-holder and the items that replace it.
    QPointer<QMenu> recentMenu;
    QPointer<QAction> recentPlaceholder;
    std::vector<QPointer<QAction>> recentItems;
    std::vector<std::string> recentShown;
    // What full screen hid, to bring back.
    bool fullScreen = false;
    bool wasMaximized = false;
    QRect normalGeometry;
    bool menuBarShown = true;
    std::vector<QPointer<QWidget>> hiddenBars;

    void BuildMenu(CFrameWnd* frame, UINT nIDResource);
    void BuildAccelerators(CFrameWnd* frame, UINT nIDResource);
    void ShowRecentFiles(CFrameWnd* frame, const std::vector<std::string>& names);
};

// Runs a command as the user's menu item or key does (after its update).
void RunFrameCommand(CFrameWnd* frame, UINT nID);
QKeySequence AccelToKeySequence(const ACCEL& accel);
