// A new window's first paint: Win32 puts its frame and erased background on
// the screen before its first WM_PAINT runs, so a first paint that works long
// (the viewer decoding the photo named on its command line) does not leave
// the window empty meanwhile. Here the first pass ends after the erase and
// is shown; the window's own paint comes in the next pass.
#include <gtest/gtest.h>

#include <QEvent>
#include <QImage>
#include <QObject>
#include <vector>

#include "platform/Dc.h"
#include "platform/FrameWnd.h"
#include "platform/WndImpl.h"
#include "platform/WndTester.h"

namespace {

const COLORREF kErase = RGB(0, 0, 255);
const COLORREF kPaint = RGB(255, 0, 0);

// Counts the paint passes that reach a widget.
class CPassCounter : public QObject {
public:
    int m_nPasses = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++m_nPasses;
        return false;
    }
};

// Notes in which pass each erase and each paint ran.
class CPassFrame : public CFrameWnd {
public:
    BOOL OnEraseBkgnd(CDC* pDC) override
    {
        RECT box;
        pDC->GetClipBox(&box);
        pDC->FillSolidRect(&box, kErase);
        m_erasePasses.push_back(m_counter.m_nPasses);
        return TRUE;
    }
    void OnPaint() override
    {
        CPaintDC dc(this);
        RECT box;
        dc.GetClipBox(&box);
        dc.FillSolidRect(&box, kPaint);
        m_paintPasses.push_back(m_counter.m_nPasses);
    }

    CPassCounter m_counter;
    std::vector<int> m_erasePasses, m_paintPasses;
};

QRgb Rgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

class FirstPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new CPassFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, "First paint", WS_OVERLAPPEDWINDOW, CRect(10, 10, 410, 310)));
        ClientWidgetOf(m_frame)->installEventFilter(&m_frame->m_counter);
        m_frame->ShowWindow(SW_SHOW);
        m_frame->UpdateWindow();
        ASSERT_TRUE(WndTester::ShowAndWait(m_frame));
    }
    void TearDown() override { delete m_frame; }
    CPassFrame* m_frame = nullptr;
};

// Fault caught: the first paint's work delays every pixel of a new window.
TEST_F(FirstPaintTest, FirstPassShowsTheEraseAndThePaintComesInTheNext)
{
    ASSERT_FALSE(m_frame->m_erasePasses.empty());
    ASSERT_FALSE(m_frame->m_paintPasses.empty());
    EXPECT_EQ(m_frame->m_erasePasses.front(), 1);
    EXPECT_EQ(m_frame->m_paintPasses.front(), 2);
    const QImage screen = WndTester::ScreenOfClient(m_frame);
    EXPECT_EQ(screen.pixel(5, 5), Rgb(kPaint));
    EXPECT_EQ(screen.pixel(screen.width() - 1, screen.height() - 1), Rgb(kPaint));
}

// Fault caught: every paint split in two, so each later update shows its
// erase first and flickers.
TEST_F(FirstPaintTest, LaterPassesEraseAndPaintTogether)
{
    for (BOOL erase : { TRUE, FALSE }) {
        const size_t erases = m_frame->m_erasePasses.size(), paints = m_frame->m_paintPasses.size();
        m_frame->InvalidateRect(nullptr, erase);
        m_frame->UpdateWindow();
        ASSERT_EQ(m_frame->m_paintPasses.size(), paints + 1) << "erase " << erase;
        ASSERT_EQ(m_frame->m_erasePasses.size(), erases + (erase ? 1 : 0));
        if (erase) {
            EXPECT_EQ(m_frame->m_erasePasses.back(), m_frame->m_paintPasses.back());
        }
        EXPECT_EQ(WndTester::ScreenOfClient(m_frame).pixel(5, 5), Rgb(kPaint));
    }
}

// Fault caught: a window shown again after hiding has its paint held back
// once more (only a window's very first pass shows the erase alone).
TEST_F(FirstPaintTest, ShownAgainAfterHidingErasesAndPaintsInOnePass)
{
    m_frame->ShowWindow(SW_HIDE);
    WndTester::ProcessEvents();
    const size_t paints = m_frame->m_paintPasses.size();
    ASSERT_TRUE(WndTester::ShowAndWait(m_frame));
    ASSERT_GT(m_frame->m_paintPasses.size(), paints);
    EXPECT_EQ(m_frame->m_erasePasses.back(), m_frame->m_paintPasses.back());
}

}  // namespace
