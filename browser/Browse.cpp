#include "browser/Browse.h"

#include <cstring>

IMPLEMENT_DYNCREATE(CBrowse, CFrameWnd)

BEGIN_MESSAGE_MAP(CBrowse, CFrameWnd)
    ON_COMMAND(IDC_BROWSE_OK, OnOK)
    ON_COMMAND(IDC_BROWSE_CANCEL, OnClose)
    ON_COMMAND(IDC_BROWSE_ZOOM_IN, OnZoomIn)
    ON_COMMAND(IDC_BROWSE_ZOOM_OUT, OnZoomOut)
    ON_COMMAND(IDC_BROWSE_SELECT_ALL, OnSelectAll)
    ON_COMMAND(IDC_BROWSE_SELECT_NONE, OnSelectNone)
END_MESSAGE_MAP()

namespace {

const COLORREF kGrey = RGB(192, 192, 192);
const COLORREF kLight = RGB(225, 225, 225);
const COLORREF kShadow = RGB(128, 128, 128);

struct ButtonSpec {
    const char* caption;
    int left;
    UINT id;
};

// Every button is 110 x 30 at y 10 to 40.
const ButtonSpec kButtons[] = {
    { "OK", 10, IDC_BROWSE_OK },
    { "Cancel", 130, IDC_BROWSE_CANCEL },
    { "Zoom +", 250, IDC_BROWSE_ZOOM_IN },
    { "Zoom -", 370, IDC_BROWSE_ZOOM_OUT },
    { "Select All", 490, IDC_BROWSE_SELECT_ALL },
    { "Select None", 610, IDC_BROWSE_SELECT_NONE },
};

}  // namespace

CBrowse::CBrowse()
{
    // The start values belong to PreCreateWindow; they are given here too so
    // that an object that never gets a window is still consistent.
    ResetMembers();
}

CBrowse::~CBrowse() = default;

void CBrowse::ResetMembers()
{
    m_callback = nullptr;
    m_path[0] = '\0';
    m_items.clear();
    m_scrollX = 0;
    m_scrollY = 0;
    m_cellWidth = 115;
    m_cellHeight = 100;
    m_labelHeight = 20;
    m_margin = 10;
    m_count = 0;
    m_dirCount = 0;
    m_rows = 4;
    m_columns = 7;
    m_barHeight = 50;
    m_clientWidth = 1;
    m_clientHeight = 1;
    m_multiSelect = 0;
    m_chooseOnClick = 0;
    m_font.DeleteObject();
    m_font.CreatePointFont(100, "Arial");
    m_order.clear();
    m_held = BrowseRange{ 0, 0 };
    ResetCache();
}

BOOL CBrowse::PreCreateWindow(CREATESTRUCT& cs)
{
    ResetMembers();
    return CFrameWnd::PreCreateWindow(cs);
}

int CBrowse::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CButton* inOrder[] = { &m_okButton, &m_cancelButton, &m_zoomInButton,
                           &m_zoomOutButton, &m_selectAllButton, &m_selectNoneButton };
    for (int i = 0; i < 6; ++i) {
        const ButtonSpec& b = kButtons[i];
        inOrder[i]->Create(b.caption, WS_CHILD | WS_VISIBLE, CRect(b.left, 10, b.left + 110, 40), this,
                           b.id);
    }
    // Provisional until the first listing sets the grid's own ranges.
    SetScrollRange(SB_VERT, 0, BROWSE_PROVISIONAL_RANGE, TRUE);
    SetScrollRange(SB_HORZ, 0, BROWSE_PROVISIONAL_RANGE, TRUE);
    SCROLLINFO si = { sizeof si, SIF_PAGE, 0, 0, BROWSE_PROVISIONAL_RANGE, 0, 0 };
    SetScrollInfo(SB_VERT, &si, TRUE);
    SetScrollInfo(SB_HORZ, &si, TRUE);
    return 0;
}

// Only the button bar: the paint pass covers the grid area itself.
BOOL CBrowse::OnEraseBkgnd(CDC* pDC)
{
    RECT client;
    GetClientRect(&client);
    const int w = client.right;
    const int t = m_barHeight;
    pDC->FillSolidRect(2, 2, w - 4, t - 4, kGrey);
    const RECT inner = { 1, 1, w - 1, t - 1 };
    pDC->Draw3dRect(&inner, kLight, kShadow);
    const RECT outer = { 0, 0, w, t };
    pDC->Draw3dRect(&outer, RGB(255, 255, 255), RGB(0, 0, 0));
    return 0;
}

BrowseMetrics CBrowse::Metrics() const
{
    return BrowseMetrics{ m_cellWidth, m_cellHeight, m_labelHeight, m_margin, m_columns,
                          m_rows, m_barHeight, m_scrollX, m_scrollY };
}

void CBrowse::SetPath(const char* path)
{
    BrowsePath::Copy(m_path, path);
}
