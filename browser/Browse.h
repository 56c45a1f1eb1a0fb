#pragma once
// CBrowse: the "Visual Browser". A top-level frame with a bar of six push
// buttons and, below it, a scrollable grid of cells for one directory (or,
// with the empty path, the drives): the way up and the sub-directories as
// drawn icons, then the directory's JPEG files as thumbnails with their
// names. Thumbnails come from the cache (CBrowseCache, a base of this
// class), one per paint pass, for the cells in view first; only the cells
// near the view keep their pictures, so a folder of any size costs the
// memory of a few screens.
//
// The browser never opens a picture. It reports to its owner through the
// handler given to SetCallBack: the number of chosen files, or 0 when the
// user cancels or closes; the owner then asks GetSelectedFile.
//
// The work is split by job: Browse.cpp (creation, message map),
// BrowseListing.cpp, BrowsePaint.cpp, BrowseFetch.cpp, BrowseScroll.cpp,
// BrowseCommands.cpp, BrowseZoom.cpp; the arithmetic lives in BrowseGeometry.

#include <cstdint>
#include <deque>
#include <vector>

#include "browser/BrowseGeometry.h"
#include "browser/BrowsePath.h"
#include "image/RgbImage.h"
#include "platform/Button.h"
#include "platform/Dc.h"
#include "platform/FrameWnd.h"
#include "platform/RuntimeClass.h"
#include "thumbcache/BrowseCache.h"

// Bits of an item's m_nFlags.
enum : uint32_t {
    BROWSE_DIR = 1,       // a drive, a sub-directory or the way up
    BROWSE_FAILED = 2,    // no thumbnail can be had for this file
    BROWSE_SELECTED = 4,  // a selected file
};

// Button IDs (commands of the browser's message map).
enum : UINT {
    IDC_BROWSE_SELECT_NONE = 1018,
    IDC_BROWSE_SELECT_ALL = 1019,
    IDC_BROWSE_ZOOM_OUT = 1020,
    IDC_BROWSE_ZOOM_IN = 1021,
    IDC_BROWSE_CANCEL = 1022,
    IDC_BROWSE_OK = 1023,
};

// The owner's handler: the number of chosen files, 0 for cancel or close.
typedef void (*BrowseCallBack)(int count);

// One entry of the display order: the item's name (borrowed) and its slot.
struct BrowseOrderEntry {
    const char* name;
    int slot;
};

class CBrowse : public CFrameWnd, public CBrowseCache {
    DECLARE_DYNCREATE(CBrowse)

public:
    CBrowse();
    ~CBrowse() override;

    // --- owner interface (call after creating, before showing) -----------
    void SetCallBack(BrowseCallBack handler) { m_callback = handler; }
    // The directory to list at the next paint; a path longer than the
    // buffer allows gives the drive view.
    void SetPath(const char* path);
    void SetMultiSelect(int on) { m_multiSelect = on ? 1 : 0; }
    void SetChooseOnClick(int on) { m_chooseOnClick = on ? 1 : 0; }
    // Full path of the first selected item in slot order, or null. Valid
    // until the list is next cleared.
    const char* GetSelectedFile() const;

    // --- window messages --------------------------------------------------
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnPaint() override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    // The close box and "Cancel".
    void OnClose() override;

    // --- commands ---------------------------------------------------------
    void OnOK();
    void OnZoomIn();
    void OnZoomOut();
    void OnSelectAll();
    void OnSelectNone();

    // Fills the item table for m_path (the drives when it is empty).
    void ListDirectory();
    // Goes into the directory-group item in `slot` (a drive, a sub-directory
    // or the way up) and empties the list for the next paint.
    void EnterItem(int slot);

    // The grid's metrics and scroll positions as plain numbers.
    BrowseMetrics Metrics() const;

    BrowseCallBack m_callback;
    char m_path[BROWSE_PATH_SIZE];
    // One slot per listed item, as many as the directory needs. A deque
    // grows without moving the items already in it.
    std::deque<CRgbImage> m_items;
    int m_scrollX;
    int m_scrollY;
    int m_cellWidth;    // W
    int m_cellHeight;   // H
    int m_labelHeight;  // L
    int m_margin;       // M
    int m_count;
    int m_dirCount;
    int m_rows;         // R
    int m_columns;      // N
    int m_barHeight;    // T
    CButton m_okButton;
    CButton m_cancelButton;
    CButton m_zoomInButton;
    CButton m_zoomOutButton;
    CButton m_selectAllButton;
    CButton m_selectNoneButton;
    int m_clientWidth;
    int m_clientHeight;
    int m_multiSelect;
    int m_chooseOnClick;
    CFont m_font;
    std::vector<BrowseOrderEntry> m_order;  // display position -> slot

private:
    void ResetMembers();

    // Listing helpers (BrowseListing.cpp).
    // The item of `slot`, the table grown to hold it; null without memory.
    CRgbImage* SlotItem(int slot);
    // Destroys the slots from `count` on.
    void TrimTable(int count);
    bool AddDirectoryItem(int* next, const char* name, const unsigned char* icon, int iconSize);
    void ListDrives(int* next, int iconSize);
    void ListSubDirectories(int* next, int iconSize);
    void ListFiles(int* next);
    void SortOrder(int first, int last);

    // Scroll ranges and pages for the current rows, columns and client size;
    // the positions are held within the new limits.
    void UpdateScrollExtents(BOOL bRedrawPages);
    BrowseGeometry::ScrollExtents CurrentExtents() const;

    // The thumbnails of a pass (BrowseFetch.cpp): pictures far from the view
    // are let go, then at most one cell near it is fetched.
    void FetchNearView(const BrowseView& view, int cw, int ch);
    void ReleaseFarPictures(const BrowseRange& near);
    bool NeedsThumbnail(const CRgbImage& item) const;
    void FetchThumbnail(CRgbImage& item);
    void InvalidateFetchedCell(int x, int y, int cw, int ch);

    // Painting helpers (BrowsePaint.cpp).
    void DrawGrid(CDC& dc, const BrowseSpan& rowsInView, int cw, int ch);
    void DrawImageCell(CDC& dc, CRgbImage& item, int x, int y);
    void DrawPlaceholderCell(CDC& dc, const CRgbImage& item, int x, int y);
    void DrawEmptyCell(CDC& dc, int x, int y);
    void DrawLabel(CDC& dc, const CRgbImage& item, int x, int top);
    void DrawFrames(CDC& dc, int x, int y);

    // Commands helpers (BrowseCommands.cpp, BrowseZoom.cpp).
    // Display position under the point that holds an item, or -1.
    int HitPosition(CPoint point) const;
    int CountSelected() const;
    void SetFileSelection(bool selected);
    // The owner's handler or, without one, the message and the default close.
    void Report(int count);
    void ClearList();
    void ApplyZoom();

    // Display positions whose file items may hold pictures: the neighbourhood
    // of the last pass. Outside it no file item holds one.
    BrowseRange m_held;

    DECLARE_MESSAGE_MAP()
};
