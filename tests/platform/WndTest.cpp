// The window core: creation geometry, Win32 paint semantics (opaque paints,
// update-region clipping, erase on request), scroll bars that move only when
// the handler says so, mouse input, child buttons and closing.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/Button.h"
#include "platform/Dc.h"
#include "platform/FrameWnd.h"
#include "platform/WndTester.h"

namespace {

const COLORREF kErase = RGB(0, 0, 255);

class CTestFrame : public CFrameWnd {
public:
    explicit CTestFrame(bool* deleted = nullptr) : m_pDeleted(deleted) {}
    ~CTestFrame() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }

    int OnCreate(LPCREATESTRUCT lpcs) override
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        m_button.Create("Press", WS_CHILD | WS_VISIBLE, CRect(10, 10, 120, 40), this, 1023);
        SCROLLINFO si = { sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 1000, 100, 0, 0 };
        SetScrollInfo(SB_VERT, &si, TRUE);
        SetScrollRange(SB_HORZ, 0, 0, TRUE);
        ++m_nCreates;
        return 0;
    }
    void OnSize(UINT nType, int cx, int cy) override
    {
        CFrameWnd::OnSize(nType, cx, cy);
        m_lastSize = CSize(cx, cy);
    }
    BOOL OnEraseBkgnd(CDC* pDC) override
    {
        RECT box;
        pDC->GetClipBox(&box);
        pDC->FillSolidRect(&box, kErase);
        ++m_nErases;
        return TRUE;
    }
    void OnPaint() override
    {
        CPaintDC dc(this);
        RECT box;
        dc.GetClipBox(&box);
        m_lastClip = box;
        if (m_bPaint)
            dc.FillSolidRect(&box, m_paintColor);
        ++m_nPaints;
    }
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) override
    {
        m_scrollCodes.push_back((int)nSBCode);
        m_lastPos = nPos;
        if (nSBCode == SB_LINEDOWN && m_bFollow)
            SetScrollPos(SB_VERT, GetScrollPos(SB_VERT) + 10);
    }
    void OnLButtonDown(UINT nFlags, CPoint point) override
    {
        m_clickFlags = nFlags;
        m_clickPoint = point;
        ++m_nClicks;
    }
    void OnLButtonDblClk(UINT, CPoint) override { ++m_nDoubleClicks; }
    void OnClose() override
    {
        ++m_nCloses;
        if (m_bDestroyOnClose)
            CFrameWnd::OnClose();
        else
            ShowWindow(SW_MINIMIZE);
    }
    void OnPress() { ++m_nPresses; }

    CButton m_button;
    bool* m_pDeleted;
    int m_nCreates = 0, m_nErases = 0, m_nPaints = 0, m_nClicks = 0, m_nDoubleClicks = 0;
    int m_nCloses = 0, m_nPresses = 0;
    bool m_bPaint = true, m_bFollow = true, m_bDestroyOnClose = false;
    COLORREF m_paintColor = RGB(255, 0, 0);
    CSize m_lastSize;
    RECT m_lastClip = { 0, 0, 0, 0 };
    std::vector<int> m_scrollCodes;
    UINT m_lastPos = 0;
    UINT m_clickFlags = 0;
    CPoint m_clickPoint;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(1023, OnPress)
END_MESSAGE_MAP()

const DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                     WS_VSCROLL | WS_HSCROLL;

QRgb Rgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

class WndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new CTestFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, "Visual Browser", kStyle, CRect(10, 10, 920, 710)));
        m_frame->ShowWindow(SW_SHOW);
        m_frame->UpdateWindow();
        ASSERT_TRUE(WndTester::ShowAndWait(m_frame));
    }
    void TearDown() override { delete m_frame; }
    CTestFrame* m_frame = nullptr;
};

TEST_F(WndTest, TopLevelFrameTakesTheRectangleAndTitle)
{
    RECT r;
    m_frame->GetWindowRect(&r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right - r.left, 910);
    EXPECT_EQ(r.bottom - r.top, 700);
    EXPECT_EQ(m_frame->GetWindowText(), "Visual Browser");
    EXPECT_EQ(m_frame->m_nCreates, 1);
}

TEST_F(WndTest, ClientAreaIsInsideTheShownScrollBarOnly)
{
    // Vertical range 0..1000 with page 100 shows; horizontal 0..0 does not.
    EXPECT_TRUE(m_frame->IsScrollBarShown(SB_VERT));
    EXPECT_FALSE(m_frame->IsScrollBarShown(SB_HORZ));
    RECT client;
    m_frame->GetClientRect(&client);
    EXPECT_LT(client.right, 910);
    EXPECT_GT(client.right, 880);
    EXPECT_EQ(client.bottom, 700);
    EXPECT_EQ(m_frame->m_lastSize.cx, client.right);
    EXPECT_EQ(m_frame->m_lastSize.cy, client.bottom);
}

TEST_F(WndTest, FirstShowErasesThenPaintsWholeClient)
{
    EXPECT_GE(m_frame->m_nErases, 1);
    const QImage screen = WndTester::ScreenOfClient(m_frame);
    ASSERT_FALSE(screen.isNull());
    EXPECT_EQ(screen.pixel(300, 300), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(screen.pixel(screen.width() - 1, screen.height() - 1), Rgb(RGB(255, 0, 0)));
}

// A paint that leaves pixels alone must not wipe them: what was on the
// screen stays, as with a Win32 window without class background.
TEST_F(WndTest, InvalidateWithoutEraseRepaintsOnlyTheRectangleAndKeepsTheRest)
{
    const int erases = m_frame->m_nErases;
    m_frame->m_paintColor = RGB(0, 255, 0);
    RECT r = { 200, 100, 260, 150 };
    m_frame->InvalidateRect(&r, FALSE);
    const QImage screen = WndTester::ScreenOfClient(m_frame);
    EXPECT_EQ(m_frame->m_nErases, erases);
    EXPECT_EQ(m_frame->m_lastClip.left, 200);
    EXPECT_EQ(m_frame->m_lastClip.top, 100);
    EXPECT_EQ(m_frame->m_lastClip.right, 260);
    EXPECT_EQ(m_frame->m_lastClip.bottom, 150);
    EXPECT_EQ(screen.pixel(200, 100), Rgb(RGB(0, 255, 0)));
    EXPECT_EQ(screen.pixel(259, 149), Rgb(RGB(0, 255, 0)));
    EXPECT_EQ(screen.pixel(260, 150), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(screen.pixel(199, 100), Rgb(RGB(255, 0, 0)));
}

TEST_F(WndTest, InvalidateWithEraseCallsEraseBeforePaint)
{
    const int erases = m_frame->m_nErases;
    m_frame->m_bPaint = false;
    RECT r = { 0, 300, 50, 320 };
    m_frame->InvalidateRect(&r, TRUE);
    const QImage screen = WndTester::ScreenOfClient(m_frame);
    EXPECT_EQ(m_frame->m_nErases, erases + 1);
    EXPECT_EQ(screen.pixel(10, 310), Rgb(kErase));
    EXPECT_EQ(screen.pixel(10, 330), Rgb(RGB(255, 0, 0)));
}

TEST_F(WndTest, UpdateWindowPaintsAtOnce)
{
    const int paints = m_frame->m_nPaints;
    m_frame->Invalidate(FALSE);
    m_frame->UpdateWindow();
    EXPECT_EQ(m_frame->m_nPaints, paints + 1);
}

// The bar reports the user's action; only the handler moves it.
TEST_F(WndTest, ScrollBarActionsReachTheHandlerAndTheBarFollowsOnlyTheHandler)
{
    WndTester::ScrollBarAction(m_frame, SB_VERT, QAbstractSlider::SliderSingleStepAdd);
    ASSERT_FALSE(m_frame->m_scrollCodes.empty());
    EXPECT_EQ(m_frame->m_scrollCodes.back(), SB_LINEDOWN);
    EXPECT_EQ(m_frame->GetScrollPos(SB_VERT), 10);

    m_frame->m_bFollow = false;
    WndTester::ScrollBarAction(m_frame, SB_VERT, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_frame->GetScrollPos(SB_VERT), 10);
    WndTester::ScrollBarAction(m_frame, SB_VERT, QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_frame->m_scrollCodes.back(), SB_PAGEDOWN);
    WndTester::ScrollBarAction(m_frame, SB_VERT, QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_frame->m_scrollCodes.back(), SB_PAGEUP);
    WndTester::ScrollBarAction(m_frame, SB_VERT, QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(m_frame->m_scrollCodes.back(), SB_LINEUP);
    EXPECT_EQ(m_frame->GetScrollPos(SB_VERT), 10);
}

TEST_F(WndTest, DraggingTheThumbSendsThumbTrackWithThePosition)
{
    m_frame->m_scrollCodes.clear();
    WndTester::DragThumb(m_frame, SB_VERT, 400);
    ASSERT_FALSE(m_frame->m_scrollCodes.empty());
    EXPECT_EQ(m_frame->m_scrollCodes.front(), SB_THUMBTRACK);
    EXPECT_EQ(m_frame->GetScrollPos(SB_VERT), 0);
}

TEST_F(WndTest, ScrollInfoRoundTripsAndPositionStaysInRange)
{
    SCROLLINFO si = { sizeof si, SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(m_frame->GetScrollInfo(SB_VERT, &si));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 1000);
    EXPECT_EQ(si.nPage, 100u);
    // The last position is max - page + 1, as on Win32.
    m_frame->SetScrollPos(SB_VERT, 5000);
    EXPECT_EQ(m_frame->GetScrollPos(SB_VERT), 901);
    m_frame->SetScrollPos(SB_VERT, -5);
    EXPECT_EQ(m_frame->GetScrollPos(SB_VERT), 0);
    // A page as large as the range hides the bar.
    si.fMask = SIF_PAGE;
    si.nPage = 1001;
    m_frame->SetScrollInfo(SB_VERT, &si, TRUE);
    WndTester::ProcessEvents();
    EXPECT_FALSE(m_frame->IsScrollBarShown(SB_VERT));
    RECT client;
    m_frame->GetClientRect(&client);
    EXPECT_EQ(client.right, 910);
}

TEST_F(WndTest, ClicksArriveInClientCoordinatesWithShiftState)
{
    WndTester::Click(m_frame, 300, 200, Qt::ShiftModifier);
    EXPECT_EQ(m_frame->m_nClicks, 1);
    EXPECT_EQ(m_frame->m_clickPoint.x, 300);
    EXPECT_EQ(m_frame->m_clickPoint.y, 200);
    EXPECT_TRUE(m_frame->m_clickFlags & MK_SHIFT);
    WndTester::Click(m_frame, 5, 6);
    EXPECT_FALSE(m_frame->m_clickFlags & MK_SHIFT);
    WndTester::DoubleClick(m_frame, 300, 200);
    EXPECT_EQ(m_frame->m_nDoubleClicks, 1);
}

TEST_F(WndTest, ChildButtonSendsItsIdAsCommandToTheParent)
{
    EXPECT_EQ(m_frame->m_button.GetWindowText(), "Press");
    ASSERT_TRUE(WndTester::ClickButton(&m_frame->m_button));
    EXPECT_EQ(m_frame->m_nPresses, 1);
    // A click on the button is not a click on the client area.
    EXPECT_EQ(m_frame->m_nClicks, 0);
}

TEST_F(WndTest, CloseBoxCallsOnCloseAndTheHandlerMayOnlyMinimize)
{
    WndTester::CloseBox(m_frame);
    EXPECT_EQ(m_frame->m_nCloses, 1);
    EXPECT_TRUE(m_frame->IsWindowCreated());
    EXPECT_TRUE(m_frame->IsIconic());
    m_frame->ShowWindow(SW_SHOWNORMAL);
    WndTester::ProcessEvents();
    EXPECT_FALSE(m_frame->IsIconic());
    EXPECT_TRUE(m_frame->IsWindowVisible());
}

TEST(WndCloseTest, DefaultCloseOfASecondaryFrameDestroysAndDeletesIt)
{
    bool deleted = false;
    CTestFrame* frame = new CTestFrame(&deleted);
    ASSERT_TRUE(frame->Create(nullptr, "Other", kStyle, CRect(0, 0, 300, 200)));
    frame->m_bDestroyOnClose = true;
    ASSERT_TRUE(WndTester::ShowAndWait(frame));
    WndTester::CloseBox(frame);
    EXPECT_TRUE(deleted);
}

}  // namespace
