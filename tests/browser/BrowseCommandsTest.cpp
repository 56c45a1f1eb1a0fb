// Clicks, double clicks and the buttons, as a user gives them: selection in
// both modes, choosing, entering and leaving directories, zoom, closing
// with and without an owner.
#include "BrowseTestSupport.h"
#include "platform/WndImpl.h"
#include "platform/WndTester.h"

namespace {

const char kNoHandler[] = "Need to call CBrowse::SetCallBack() to register handler for close";

class CommandsTest : public BrowseTest {
protected:
    // C:/P/ with `files` photos named f00.jpg, f01.jpg, ... and `dirs`
    // sub-directories d0, d1, ...: the way up and the sub-directories take
    // positions 0 to dirs, the files follow in name order.
    void MakeTree(int dirs, int files)
    {
        MakeDir("P");
        for (int i = 0; i < dirs; ++i)
            MakeDir("P/d" + std::to_string(i));
        for (int i = 0; i < files; ++i) {
            char name[32];
            snprintf(name, sizeof name, "P/f%02d.jpg", i);
            WritePhoto(name, 16, 16);
        }
    }
    std::vector<int> SelectedPositions() const
    {
        std::vector<int> out;
        for (int p = 0; p < m_browse->m_count; ++p) {
            if (m_browse->m_items[m_browse->m_order[p].slot].m_nFlags & BROWSE_SELECTED)
                out.push_back(p);
        }
        return out;
    }
};

TEST_F(CommandsTest, ChooseOnClickSelectsExactlyTheFileAndReportsOne)
{
    MakeTree(0, 3);
    Create("C:/P/");
    m_browse->SetChooseOnClick(1);
    m_browse->ShowWindow(SW_SHOW);
    ASSERT_TRUE(WndTester::ShowAndWait(m_browse));
    Settle();
    ClickPosition(2);
    EXPECT_EQ(g_owner.counts, std::vector<int>{ 1 });
    EXPECT_EQ(g_owner.chosen, std::vector<std::string>{ "C:/P/f01.jpg" });
    EXPECT_EQ(SelectedPositions(), std::vector<int>{ 2 });
    // The browser neither hides nor closes itself.
    EXPECT_TRUE(m_browse->IsWindowVisible());
    EXPECT_FALSE(m_browse->IsIconic());
    ClickPosition(3);
    EXPECT_EQ(g_owner.counts, (std::vector<int>{ 1, 1 }));
    EXPECT_EQ(g_owner.chosen.back(), "C:/P/f02.jpg");
    EXPECT_EQ(SelectedPositions(), std::vector<int>{ 3 });
}

TEST_F(CommandsTest, SingleSelectionWithoutChooseOnClick)
{
    MakeTree(0, 3);
    Open("C:/P/");
    ClickPosition(1);
    EXPECT_EQ(SelectedPositions(), std::vector<int>{ 1 });
    ClickPosition(2);
    EXPECT_EQ(SelectedPositions(), std::vector<int>{ 2 });
    // The clearing comes before the toggle: a second click keeps it.
    ClickPosition(2);
    EXPECT_EQ(SelectedPositions(), std::vector<int>{ 2 });
    EXPECT_TRUE(g_owner.counts.empty());
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_okButton));
    EXPECT_EQ(g_owner.counts, std::vector<int>{ 1 });
    EXPECT_EQ(g_owner.chosen.back(), "C:/P/f01.jpg");
    // A click on an empty cell clears the selection; OK then reports 0.
    ClickPosition(5);
    EXPECT_TRUE(SelectedPositions().empty());
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_okButton));
    EXPECT_EQ(g_owner.counts.back(), 0);
    EXPECT_EQ(g_owner.chosen.back(), "");
    // Right of the last column: nothing hit, the selection is cleared too.
    ClickPosition(1);
    const int cw = m_browse->m_clientWidth;
    ASSERT_GT(cw, 886);
    WndTester::Click(m_browse, 886, 100);
    EXPECT_TRUE(SelectedPositions().empty());
}

// A click on the bar (beside the buttons) is no click on the grid.
TEST_F(CommandsTest, ClickOnTheBarChangesNothing)
{
    MakeTree(0, 2);
    Open("C:/P/");
    ClickPosition(1);
    WndTester::Click(m_browse, 800, 25);
    EXPECT_EQ(SelectedPositions(), std::vector<int>{ 1 });
    WndTester::DoubleClick(m_browse, 800, 25);
    EXPECT_TRUE(g_owner.counts.empty());
}

TEST_F(CommandsTest, ClickOnADirectoryEntersItAndNeverSelectsIt)
{
    MakeTree(2, 2);
    Open("C:/P/");
    ClickPosition(3);  // f00.jpg
    ASSERT_EQ(SelectedPositions(), std::vector<int>{ 3 });
    ClickPosition(1);  // d0
    EXPECT_STREQ(m_browse->m_path, "C:/P/d0/");
    Settle();
    EXPECT_EQ(m_browse->GetWindowText(), "C:/P/d0/");
    EXPECT_EQ(Shown(), std::vector<std::string>{ ".. (Up Directory)" });
    EXPECT_TRUE(SelectedPositions().empty());
    EXPECT_EQ(m_browse->m_scrollY, 0);
}

TEST_F(CommandsTest, GoingUpAndIntoDrives)
{
    MakeDir("Photos");
    Open("C:/Photos/");
    ASSERT_EQ(Shown()[0], ".. (Up Directory)");
    ClickPosition(0);
    Settle();
    EXPECT_STREQ(m_browse->m_path, "C:/");
    EXPECT_EQ(m_browse->GetWindowText(), "C:/");
    EXPECT_EQ(Shown(), (std::vector<std::string>{ ".. (Up Directory)", "Photos" }));
    ClickPosition(0);
    Settle();
    EXPECT_STREQ(m_browse->m_path, "");
    EXPECT_EQ(m_browse->GetWindowText(), "");
    EXPECT_EQ(Shown(), std::vector<std::string>{ "C:" });
    ClickPosition(0);
    Settle();
    EXPECT_STREQ(m_browse->m_path, "C:/");
    // A double click on a directory enters it as well.
    const QPoint at = CellCentre(1);
    WndTester::DoubleClick(m_browse, at.x(), at.y());
    Settle();
    EXPECT_STREQ(m_browse->m_path, "C:/Photos/");
}

TEST_F(CommandsTest, DoubleClickOnAFileChoosesIt)
{
    MakeTree(0, 2);
    Open("C:/P/");
    const QPoint at = CellCentre(2);
    WndTester::DoubleClick(m_browse, at.x(), at.y());
    ASSERT_EQ(g_owner.counts, std::vector<int>{ 1 });
    EXPECT_EQ(g_owner.chosen[0], "C:/P/f01.jpg");
}

// Directory group at positions 0 to 3, files from 4 on.
TEST_F(CommandsTest, ShiftClickExtendsBackToTheNearestSelectionOrTheDirectoryGroup)
{
    MakeTree(3, 12);
    Open("C:/P/");
    m_browse->SetMultiSelect(1);
    ASSERT_EQ(m_browse->m_dirCount, 4);
    ClickPosition(6);
    ASSERT_EQ(SelectedPositions(), std::vector<int>{ 6 });
    ClickPosition(10, Qt::ShiftModifier);
    EXPECT_EQ(SelectedPositions(), (std::vector<int>{ 6, 7, 8, 9, 10 }));
    ClickPosition(5, Qt::ShiftModifier);
    EXPECT_EQ(SelectedPositions(), (std::vector<int>{ 4, 5, 6, 7, 8, 9, 10 }));
    // Multiple selection: clicks toggle on their own.
    ClickPosition(8);
    EXPECT_EQ(SelectedPositions(), (std::vector<int>{ 4, 5, 6, 7, 9, 10 }));
    // Shift-clicking a selected file clears it and still walks back.
    ClickPosition(12);
    ClickPosition(14, Qt::ShiftModifier);
    ClickPosition(14, Qt::ShiftModifier);
    EXPECT_EQ(SelectedPositions(), (std::vector<int>{ 4, 5, 6, 7, 9, 10, 12, 13 }));
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_okButton));
    EXPECT_EQ(g_owner.counts, std::vector<int>{ 8 });
}

// The first selected file in slot order (search order), not display order.
TEST_F(CommandsTest, SelectedFileIsTheFirstInSlotOrder)
{
    MakeTree(0, 6);
    Open("C:/P/");
    m_browse->SetMultiSelect(1);
    ClickPosition(2);
    ClickPosition(5);
    const int slot2 = m_browse->m_order[2].slot;
    const int slot5 = m_browse->m_order[5].slot;
    const char* expected = m_browse->m_items[std::min(slot2, slot5)].GetName();
    ASSERT_NE(m_browse->GetSelectedFile(), nullptr);
    EXPECT_STREQ(m_browse->GetSelectedFile(), expected);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_selectNoneButton));
    EXPECT_EQ(m_browse->GetSelectedFile(), nullptr);
}

TEST_F(CommandsTest, SelectAllOnlyInMultipleSelectionAndSelectNoneInBoth)
{
    MakeTree(2, 4);
    Open("C:/P/");
    ClickPosition(4);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_selectAllButton));
    EXPECT_EQ(SelectedPositions(), std::vector<int>{ 4 }) << "single selection: Select All does nothing";
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_selectNoneButton));
    EXPECT_TRUE(SelectedPositions().empty());

    m_browse->SetMultiSelect(1);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_selectAllButton));
    EXPECT_EQ(SelectedPositions(), (std::vector<int>{ 3, 4, 5, 6 }));
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(m_browse->m_items[m_browse->m_order[p].slot].m_nFlags, (uint32_t)BROWSE_DIR);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_okButton));
    EXPECT_EQ(g_owner.counts.back(), 4);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_selectNoneButton));
    EXPECT_TRUE(SelectedPositions().empty());
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(m_browse->m_items[m_browse->m_order[p].slot].m_nFlags, (uint32_t)BROWSE_DIR);
}

TEST_F(CommandsTest, CloseBoxAndCancelReportZeroEvenWithASelection)
{
    MakeTree(0, 2);
    Open("C:/P/");
    ClickPosition(1);
    WndTester::CloseBox(m_browse);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_cancelButton));
    EXPECT_EQ(g_owner.counts, (std::vector<int>{ 0, 0 }));
    EXPECT_FALSE(m_deleted);
    EXPECT_TRUE(m_browse->IsWindowCreated());
    EXPECT_TRUE(g_messages.empty());
}

// Without an owner every way out shows the message and destroys the window
// together with its object.
TEST_F(CommandsTest, WithoutHandlerEveryExitShowsTheMessageAndDestroysTheWindow)
{
    MakeTree(0, 1);
    enum How { kCloseBox, kCancel, kOk, kChooseOnClick };
    for (How how : { kCloseBox, kCancel, kOk, kChooseOnClick }) {
        g_messages.clear();
        Create("C:/P/", false);
        if (how == kChooseOnClick)
            m_browse->SetChooseOnClick(1);
        m_browse->ShowWindow(SW_SHOW);
        ASSERT_TRUE(WndTester::ShowAndWait(m_browse));
        Settle();
        switch (how) {
        case kCloseBox: WndTester::CloseBox(m_browse); break;
        case kCancel: WndTester::ClickButton(&m_browse->m_cancelButton); break;
        case kOk: WndTester::ClickButton(&m_browse->m_okButton); break;
        case kChooseOnClick: ClickPosition(1); break;
        }
        WndTester::ProcessEvents();
        EXPECT_EQ(g_messages, std::vector<std::string>{ kNoHandler }) << how;
        EXPECT_TRUE(m_deleted) << how;
        m_browse = nullptr;
    }
}

TEST_F(CommandsTest, ZoomStepsThroughTheButtons)
{
    MakeTree(1, 2);
    Open("C:/P/");
    ClickPosition(2);
    m_browse->OnVScroll(SB_LINEDOWN, 0, nullptr);
    struct Step {
        CButton* button;
        int w, h, l, tenths, icon;
    };
    CButton* in = &m_browse->m_zoomInButton;
    CButton* out = &m_browse->m_zoomOutButton;
    const Step steps[] = {
        { in, 172, 150, 20, 100, 130 },
        { in, 258, 225, 20, 100, 205 },
        { in, 387, 337, 20, 100, 317 },
        { in, 387, 337, 20, 100, 317 },  // no further
        { out, 258, 224, 20, 100, 204 },
        { out, 172, 149, 20, 100, 129 },
        { out, 114, 99, 15, 75, 84 },
        { out, 76, 66, 10, 50, 56 },
        { out, 50, 44, 10, 50, 34 },
        { out, 33, 29, 10, 50, 19 },
        { out, 33, 29, 10, 50, 19 },  // no further
        { in, 49, 43, 10, 50, 33 },
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(WndTester::ClickButton(s.button));
        Settle();
        EXPECT_EQ(m_browse->m_cellWidth, s.w);
        EXPECT_EQ(m_browse->m_cellHeight, s.h);
        EXPECT_EQ(m_browse->m_labelHeight, s.l);
        EXPECT_EQ(m_browse->m_font.GetPointSizeTenths(), s.tenths);
        EXPECT_STREQ(m_browse->m_font.GetFaceName(), "Arial");
        // Listed again at the new size: icons remade, selection gone.
        ASSERT_EQ(m_browse->m_count, 4);
        EXPECT_EQ(m_browse->m_items[0].GetWidth(), s.icon) << s.w << "x" << s.h;
        EXPECT_TRUE(SelectedPositions().empty());
        EXPECT_EQ(m_browse->m_scrollY, 0);
    }
}

TEST_F(CommandsTest, ColumnsAfterZoomFollowAClientWidthOf890)
{
    Open("C:/");
    const int extra = 910 - m_browse->m_clientWidth;
    m_browse->MoveWindow(10, 10, 890 + extra, 700);
    WndTester::ProcessEvents();
    ASSERT_EQ(m_browse->m_clientWidth, 890);
    EXPECT_EQ(m_browse->m_columns, 7);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_zoomInButton));
    EXPECT_EQ(m_browse->m_columns, 4);
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_zoomOutButton));  // 114 x 99
    ASSERT_TRUE(WndTester::ClickButton(&m_browse->m_zoomOutButton));  // 76 x 66
    EXPECT_EQ(m_browse->m_cellWidth, 76);
    EXPECT_EQ(m_browse->m_columns, 10);
}

}  // namespace
