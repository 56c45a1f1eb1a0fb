#pragma once
// Qt side of CWnd (internal to platform/). A window is a root widget (a
// top-level QMainWindow for frames, a plain widget for child windows) that
// holds the client-area widget and the two scroll bars around it.

#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <vector>

#include "platform/Wnd.h"

class QPainter;
class QScrollBar;
class CClientWidget;

// Lays out the client widget and the visible scroll bars.
class CScrolledArea : public QWidget {
public:
    CScrolledArea(CWnd::Impl* impl, QWidget* parent);
    void Relayout();
    CWnd::Impl* m_impl;

protected:
    void resizeEvent(QResizeEvent* e) override;
};

class CClientWidget : public QWidget {
public:
    CClientWidget(CWnd::Impl* impl, QWidget* parent);
    CWnd::Impl* m_impl;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
};

struct CWnd::Impl {
    explicit Impl(CWnd* owner);
    ~Impl();

    // Builds the scrolled client area (bars as the style asks) under parent.
    CScrolledArea* MakeArea(QWidget* parent);
    void ApplyBar(int nBar, BOOL bRedraw);
    bool BarShown(int nBar) const;
    int MaxPos(int nBar) const;
    void OnBarAction(int nBar, int action);
    void OnBarReleased(int nBar);
    void Paint(QPaintEvent* e);

    // The painter of the paint in progress, or null outside a paint.
    QPainter* CurrentPainter() const { return painter; }

    CWnd* wnd;
    QPointer<QWidget> root;            // top-level window or child root
    QPointer<CScrolledArea> area;      // client + bars
    QPointer<CClientWidget> client;    // the client area
    QPointer<QScrollBar> bars[2];      // SB_HORZ, SB_VERT
    SCROLLINFO info[2];
    bool erasePending = true;
    // The window has had a paint pass shown on the screen (its first one
    // shows only the erased background).
    bool shownOnce = false;
    QRegion dirty;                     // invalidated, not yet painted
    QPainter* painter = nullptr;
    // A bar shown or hidden while OnSize runs resizes the client area only
    // after OnSize has returned, so sizes arrive in order, never nested.
    bool inSize = false;
    bool relayoutPending = false;
    std::vector<CWnd*> children;
};

// Number of paints in progress (a paint handler may load a picture and
// report a failure: the box is shown once the paint is over).
int AfxPaintDepth();

// The Qt widget behind a window's client area (tests render it).
QWidget* ClientWidgetOf(const CWnd* wnd);
QWidget* RootWidgetOf(const CWnd* wnd);
