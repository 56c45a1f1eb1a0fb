#pragma once
// CWnd: a window of the framework over a Qt widget (kept out of this header).
//
// Window messages arrive as virtual handlers: OnCreate, OnSize,
// OnEraseBkgnd, OnPaint, OnHScroll/OnVScroll, OnLButtonDown/DblClk/Up,
// OnMouseMove (while a button is held: the window that had the press keeps
// the mouse until the release), OnMouseWheel, OnClose, OnDestroy. Commands (menus, accelerators, child
// buttons) go through message maps (CmdTarget.h).
//
// Painting works as on Win32: InvalidateRect adds to the update region and a
// paint follows when the event loop is idle; UpdateWindow paints at once.
// What a paint does not cover keeps its old pixels. The paint DC is clipped
// to the update region; an invalidation that asked for erasing (and the
// first show and every resize) calls OnEraseBkgnd before OnPaint.
//
// Windows with WS_HSCROLL / WS_VSCROLL have scroll bars around the client
// area; a bar shows while its range is larger than its page (or, without a
// page, while max > min). The bars never move by themselves: a user action
// calls OnHScroll/OnVScroll and the handler sets the new position.

#include <string>

#include "platform/AfxTypes.h"
#include "platform/CmdTarget.h"
#include "platform/Win32Types.h"

class CDC;
class CFrameWnd;
class CScrollBar;  // never constructed: scroll messages come from the window's own bars
class CMenu;

struct CREATESTRUCT {
    void* lpCreateParams;
    void* hInstance;
    void* hMenu;
    class CWnd* hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    const char* lpszName;
    const char* lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;
enum : UINT {
    SIF_RANGE = 0x0001, SIF_PAGE = 0x0002, SIF_POS = 0x0004, SIF_DISABLENOSCROLL = 0x0008,
    SIF_TRACKPOS = 0x0010, SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS
};

// OnSize types
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Cursors of a window's client area (SetCursor). The values of the first two
// are Win32's; the hands are this platform's own.
enum : UINT { IDC_ARROW = 32512, IDC_HANDOPEN = 32760, IDC_HANDCLOSED = 32761 };

// Push-button style bits (BS_PUSHBUTTON is 0)
enum : DWORD { BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1 };

// Window-class default used when PreCreateWindow names none.
extern const char* const AFX_WNDCLASS_DEFAULT;

class CWnd : public CCmdTarget {
public:
    struct Impl;  // the Qt side

    CWnd();
    ~CWnd() override;

    // Makes the window. Top-level when pParent is null (rect in screen
    // coordinates), else a child at rect in the parent's client area.
    // PreCreateWindow may change the CREATESTRUCT first; OnCreate follows
    // (returning -1 destroys the window and makes this return FALSE).
    BOOL CreateEx(DWORD dwExStyle, const char* lpszClassName, const char* lpszWindowName,
                  DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                  void* lpParam = nullptr);
    virtual BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL DestroyWindow();
    bool IsWindowCreated() const;

    // --- message handlers -------------------------------------------------
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    virtual void OnSize(UINT nType, int cx, int cy);
    // Nonzero when the background was erased. The default fills the clip
    // box with the window-class background (white).
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnPaint();
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    // zDelta in 120ths of a notch, positive away from the user.
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // Default: DestroyWindow().
    virtual void OnClose();
    virtual void OnDestroy();
    // After the window is gone; frames delete their C++ object here.
    virtual void PostNcDestroy();
    // WM_COMMAND: a menu item, accelerator (bFromControl FALSE: runs only
    // when the command's update state is enabled) or child button.
    virtual BOOL OnCommand(UINT nID, BOOL bFromControl = FALSE);
    // The command being handled now (0 outside a command).
    static UINT GetCurrentCommand();
    // The default processing of the message being handled (mouse presses:
    // focus and capture). Nothing to add on this platform.
    void Default() {}

    // --- operations -------------------------------------------------------
    void InvalidateRect(const RECT* lpRect = nullptr, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE) { InvalidateRect(nullptr, bErase); }
    void UpdateWindow();
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void SetWindowText(const char* lpszString);
    int GetWindowText(char* lpszStringBuf, int nMaxCount) const;
    std::string GetWindowText() const;
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;  // screen coordinates
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    CWnd* GetParent() const { return m_pParentWnd; }
    CFrameWnd* GetParentFrame() const;
    UINT GetDlgCtrlID() const { return m_nID; }
    DWORD GetStyle() const { return m_dwStyle; }
    void SetFocus();
    // The cursor shown over the client area from now on (IDC_...).
    void SetCursor(UINT nCursorID);
    // Screen coordinates to client coordinates, in place.
    void ScreenToClient(LPPOINT lpPoint) const;

    // Scroll bars of this window (SB_HORZ / SB_VERT).
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
    // Whether the bar is shown now (its range exceeds its page).
    BOOL IsScrollBarShown(int nBar) const;

    void* m_hWnd = nullptr;  // non-null while the window exists
    Impl* GetImpl() const { return m_pImpl; }

protected:
    // Child windows made of a native control (push buttons) create their
    // own widget; see CButton.
    virtual void CreateWidget(const CREATESTRUCT& cs);

    Impl* m_pImpl = nullptr;
    CWnd* m_pParentWnd = nullptr;
    // Set by destructors: a window destroyed by deleting its object must
    // not delete the object again in PostNcDestroy.
    bool m_bDestructing = false;
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;

    friend struct Impl;
};
