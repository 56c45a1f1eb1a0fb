// The browser window: creation, the six buttons, the button bar's
// background, scrolling with its steps and bounds, and resizing.
#include <QWidget>

#include "BrowseTestSupport.h"
#include "platform/WndImpl.h"
#include "platform/WndTester.h"

namespace {

const QRgb kGreyPx = qRgb(192, 192, 192);

class WindowTest : public BrowseTest {};

TEST_F(WindowTest, TopLevelFrameAtItsRectangleTitledWithThePathAfterListing)
{
    Create("C:/");
    EXPECT_EQ(m_browse->GetWindowText(), "Visual Browser");
    EXPECT_FALSE(m_browse->IsWindowVisible());
    EXPECT_EQ(m_browse->GetParent(), nullptr);
    m_browse->ShowWindow(SW_SHOW);
    ASSERT_TRUE(WndTester::ShowAndWait(m_browse));
    Settle();
    RECT r;
    m_browse->GetWindowRect(&r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, 920);
    EXPECT_EQ(r.bottom, 710);
    EXPECT_EQ(m_browse->GetWindowText(), "C:/");
}

TEST_F(WindowTest, SixButtonsWithCaptionsIdsAndRectangles)
{
    Open("C:/");
    struct Expected {
        CButton* button;
        const char* caption;
        UINT id;
        int left;
    } buttons[] = {
        { &m_browse->m_okButton, "OK", 1023, 10 },
        { &m_browse->m_cancelButton, "Cancel", 1022, 130 },
        { &m_browse->m_zoomInButton, "Zoom +", 1021, 250 },
        { &m_browse->m_zoomOutButton, "Zoom -", 1020, 370 },
        { &m_browse->m_selectAllButton, "Select All", 1019, 490 },
        { &m_browse->m_selectNoneButton, "Select None", 1018, 610 },
    };
    for (const Expected& e : buttons) {
        EXPECT_EQ(e.button->GetWindowText(), e.caption);
        EXPECT_EQ(e.button->GetDlgCtrlID(), e.id);
        EXPECT_TRUE(e.button->IsWindowVisible()) << e.caption;
        QWidget* w = RootWidgetOf(e.button);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), QRect(e.left, 10, 110, 30)) << e.caption;
        EXPECT_TRUE(w->isEnabled()) << e.caption;
    }
}

// The bar: grey inside two frames, light/shadow inside white/black.
TEST_F(WindowTest, ButtonBarBackgroundAndFrames)
{
    Open("C:/");
    const QImage s = Screen();
    const int w = s.width();
    struct Px {
        int x, y;
        COLORREF c;
        const char* what;
    } px[] = {
        { 0, 0, RGB(255, 255, 255), "outer top-left" },
        { w - 2, 0, RGB(255, 255, 255), "outer top" },
        { 0, 48, RGB(255, 255, 255), "outer left" },
        { w - 1, 0, RGB(0, 0, 0), "outer right" },
        { 0, 49, RGB(0, 0, 0), "outer bottom" },
        { w - 1, 49, RGB(0, 0, 0), "outer bottom-right" },
        { 1, 1, RGB(225, 225, 225), "inner top-left" },
        { w - 3, 1, RGB(225, 225, 225), "inner top" },
        { 1, 47, RGB(225, 225, 225), "inner left" },
        { w - 2, 1, RGB(128, 128, 128), "inner right" },
        { 1, 48, RGB(128, 128, 128), "inner bottom" },
        { 2, 2, RGB(192, 192, 192), "fill corner" },
        { 5, 25, RGB(192, 192, 192), "left of OK" },
        { 125, 25, RGB(192, 192, 192), "between OK and Cancel" },
        { w - 3, 47, RGB(192, 192, 192), "fill bottom-right" },
        { 800, 25, RGB(192, 192, 192), "right of the buttons" },
    };
    for (const Px& p : px)
        EXPECT_EQ(s.pixel(p.x, p.y), Rgb(p.c)) << p.what;
}

TEST_F(WindowTest, ScrollBarsStepByTenAndHundredAndFollowTheThumb)
{
    MakeDir("P");
    for (int i = 0; i < 60; ++i)
        Touch("P/" + std::to_string(i) + ".jpg");
    Open("C:/P/");
    WndTester::ScrollBarAction(m_browse, SB_VERT, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_browse->m_scrollY, 10);
    WndTester::ScrollBarAction(m_browse, SB_VERT, QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_browse->m_scrollY, 110);
    EXPECT_EQ(m_browse->GetScrollPos(SB_VERT), 110);
    WndTester::ScrollBarAction(m_browse, SB_VERT, QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(m_browse->m_scrollY, 100);
    WndTester::DragThumb(m_browse, SB_VERT, 300);
    EXPECT_EQ(m_browse->m_scrollY, 300);
    WndTester::ScrollBarAction(m_browse, SB_VERT, QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_browse->m_scrollY, 200);
    WndTester::ScrollBarAction(m_browse, SB_VERT, QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(m_browse->m_scrollY, 200) << "SB_TOP does nothing";
    // Narrower than the grid, so that it scrolls sideways.
    m_browse->MoveWindow(10, 10, 500, 710);
    WndTester::ProcessEvents();
    WndTester::ScrollBarAction(m_browse, SB_HORZ, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_browse->m_scrollX, 10);
    WndTester::ScrollBarAction(m_browse, SB_HORZ, QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_browse->m_scrollX, 0);
}

// Positions run from 0 to the range less the page: the last row can be
// reached and no further, a grid that fits does not scroll, and a resize
// holds the position within the new bound.
TEST_F(WindowTest, ScrollPositionsStayWithinTheRangeLessThePage)
{
    Open("C:/");
    m_browse->OnVScroll(SB_LINEDOWN, 0, nullptr);
    m_browse->OnHScroll(SB_THUMBTRACK, 70000, nullptr);
    EXPECT_EQ(m_browse->m_scrollY, 0) << "one row fits the window";
    EXPECT_EQ(m_browse->m_scrollX, 0) << "seven columns fit the window";

    MakeDir("P");
    for (int i = 0; i < 200; ++i)
        Touch("P/" + std::to_string(i) + ".jpg");
    m_browse->SetPath("C:/P/");
    m_browse->ListDirectory();
    Settle();
    ASSERT_EQ(m_browse->m_count, 201);  // 29 rows of 110 pixels
    int lo = 0, hi = 0;
    m_browse->GetScrollRange(SB_VERT, &lo, &hi);
    SCROLLINFO si = { sizeof si, SIF_ALL, 0, 0, 0, 0, 0 };
    m_browse->GetScrollInfo(SB_VERT, &si);
    const int limit = hi - (int)si.nPage;
    ASSERT_GT(limit, 0) << "the grid is taller than a page";
    for (int i = 0; i < 200; ++i)
        m_browse->OnVScroll(SB_PAGEDOWN, 0, nullptr);
    EXPECT_EQ(m_browse->m_scrollY, limit);
    m_browse->OnVScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(m_browse->m_scrollY, limit);
    m_browse->OnVScroll(SB_THUMBTRACK, 90000, nullptr);
    EXPECT_EQ(m_browse->m_scrollY, limit);
    EXPECT_EQ(m_browse->GetScrollPos(SB_VERT), limit);
    Settle();
    // The last row's box ends one margin above the bottom of the client.
    const QPoint last = CellCentre(200);
    EXPECT_EQ(last.y() + 60, m_browse->m_clientHeight - 10);
    EXPECT_EQ(Shown()[200], "C:/P/99.jpg");

    // A taller window shows more: the position comes down with the bound.
    m_browse->MoveWindow(10, 10, 910, 900);
    WndTester::ProcessEvents();
    m_browse->GetScrollInfo(SB_VERT, &si);
    EXPECT_EQ(m_browse->m_scrollY, si.nMax - (int)si.nPage);
    EXPECT_EQ(m_browse->GetScrollPos(SB_VERT), m_browse->m_scrollY);
    EXPECT_LT(m_browse->m_scrollY, limit);
}

TEST_F(WindowTest, ResizingChangesScrollPagesButNotTheColumnCount)
{
    Open("C:/");
    SCROLLINFO si = { sizeof si, SIF_ALL, 0, 0, 0, 0, 0 };
    m_browse->GetScrollInfo(SB_HORZ, &si);
    const UINT wide = si.nPage;
    m_browse->MoveWindow(10, 10, 400, 300);
    WndTester::ProcessEvents();
    EXPECT_EQ(m_browse->m_columns, 7);
    EXPECT_EQ(m_browse->m_clientWidth, ClientWidgetOf(m_browse)->width());
    m_browse->GetScrollInfo(SB_HORZ, &si);
    EXPECT_LT(si.nPage, wide);
    EXPECT_EQ(si.nPage, (UINT)m_browse->m_clientWidth);
    m_browse->GetScrollInfo(SB_VERT, &si);
    EXPECT_EQ(si.nPage, std::min((UINT)(m_browse->m_clientHeight - 50), (UINT)si.nMax));
}

}  // namespace
