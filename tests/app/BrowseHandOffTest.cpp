// The view's side of the Visual Browser in the real main window: opening
// the browser once and restoring it, choosing a picture with one click,
// the window title, the remembered directory, and closing the browser.
#include <QDir>
#include <QFile>

#include "app/BrowseHandOff.h"
#include "app/res/Resource.h"
#include "browser/Browse.h"
#include "platform/DriveTable.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"

namespace {

const QRgb kRed = qRgb(200, 40, 40);

class HandOffTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        CDriveTable::Instance().Clear();
        CDriveTable::Instance().SetDrive('C', m_dir.path().toStdString());
        QDir(m_dir.path()).mkpath("Photos");
        WriteTestPhoto(m_dir.path(), "Photos/a.jpg", 400, 300, kRed);
    }
    CBrowse* Browser() const { return m_view->GetBrowser(); }
    // Runs the event loop until the browser's paint passes are over.
    void Settle()
    {
        for (int i = 0; i < 20; ++i)
            WndTester::ProcessEvents();
    }
    // Display position of the item named `name` (or with that file name).
    int PositionOf(const char* name) const
    {
        CBrowse* b = Browser();
        for (int p = 0; p < b->m_count; ++p) {
            const CRgbImage& item = b->m_items[b->m_order[p].slot];
            if (!strcmp(item.GetName(), name) || !strcmp(item.GetFileName(), name))
                return p;
        }
        return -1;
    }
    // A click in the middle of the cell of display position p.
    void ClickItem(const char* name)
    {
        const int p = PositionOf(name);
        ASSERT_GE(p, 0) << name;
        const BrowseMetrics m = Browser()->Metrics();
        const int x = BrowseGeometry::ColumnOrigin(m, p % m.columns) + m.margin + m.cellWidth / 2;
        const int y = BrowseGeometry::RowOrigin(m, p / m.columns) + m.margin + 30;
        WndTester::Click(Browser(), x, y);
        Settle();
    }
    std::string StoredPath() const { return m_app->GetProfileString("General", "Path", "(none)"); }
    void OpenBrowser()
    {
        Command(ID_FILE_VISUAL_BROWSE);
        Settle();
    }
};

TEST_F(HandOffTest, FirstStartOpensTheBrowserAtCRootAsASeparateWindow)
{
    Start();
    EXPECT_EQ(Browser(), nullptr);
    OpenBrowser();
    ASSERT_NE(Browser(), nullptr);
    EXPECT_EQ(g_pBrowseView, m_view);
    EXPECT_TRUE(Browser()->IsWindowVisible());
    EXPECT_EQ(Browser()->GetParent(), nullptr);
    RECT r;
    Browser()->GetWindowRect(&r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right - r.left, 910);
    EXPECT_EQ(r.bottom - r.top, 700);
    EXPECT_STREQ(Browser()->m_path, "C:/");
    EXPECT_EQ(Browser()->GetWindowText(), "C:/");
    EXPECT_EQ(Browser()->m_multiSelect, 0);
    EXPECT_EQ(Browser()->m_chooseOnClick, 1);
    EXPECT_EQ(Browser()->m_callback, &BrowseCallback);
    EXPECT_GE(PositionOf("Photos"), 0);
}

TEST_F(HandOffTest, ClickOnAThumbnailShowsThePictureTitlesTheWindowAndRemembersTheFolder)
{
    Start();
    SetClientSize(400, 300);
    OpenBrowser();
    ClickItem("Photos");
    ASSERT_STREQ(Browser()->m_path, "C:/Photos/");
    ClickItem("a.jpg");
    EXPECT_TRUE(Browser()->IsIconic());
    EXPECT_TRUE(Browser()->IsWindowCreated());
    ASSERT_NE(m_view->GetImage().GetName(), nullptr);
    EXPECT_STREQ(m_view->GetImage().GetName(), "C:/Photos/a.jpg");
    EXPECT_EQ(m_view->GetImageWidth(), 400);
    // Fit mode: the 400 x 300 picture fills the 400 x 300 client area.
    EXPECT_EQ(m_view->GetImage().GetWidth(), 400);
    EXPECT_TRUE(Near(Screen().pixel(200, 150), kRed));
    EXPECT_EQ(Title(), "C:/Photos/a.jpg - Pixmoor");
    EXPECT_EQ(StoredPath(), "C:/Photos/");
    EXPECT_EQ(m_view->GetBrowsePath(), "C:/Photos/");
    EXPECT_TRUE(s_messages.empty());
    // The framework's idle updates leave that title alone...
    WndTester::ProcessEvents();
    EXPECT_EQ(Title(), "C:/Photos/a.jpg - Pixmoor");
    // The main window has the keyboard without a click: the next photo of
    // the folder is one key away, named the way the browser named it.
    WriteTestPhoto(m_dir.path(), "Photos/b.jpg", 40, 30);
    ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_Space)));
    EXPECT_EQ(Title(), "C:/Photos/b.jpg - Pixmoor");
    EXPECT_STREQ(m_view->GetImage().GetName(), "C:/Photos/b.jpg");
    // ...and Ctrl+N replaces it, while the picture stays.
    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    EXPECT_STREQ(m_view->GetImage().GetName(), "C:/Photos/b.jpg");
}

TEST_F(HandOffTest, UndecodableFileOnlyMinimizesTheBrowser)
{
    QFile bad(m_dir.path() + "/Photos/bad.jpg");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is no JPEG stream");
    bad.close();
    Start();
    const std::string title = Title();
    OpenBrowser();
    ClickItem("Photos");
    ClickItem("bad.jpg");
    EXPECT_TRUE(Browser()->IsIconic());
    EXPECT_EQ(m_view->GetImage().GetName(), nullptr);
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(StoredPath(), "(none)");
    EXPECT_EQ(m_view->GetBrowsePath(), "C:/");
    EXPECT_TRUE(s_messages.empty());
}

// A folder of more photos than the browser once listed (999 items): the
// photo that sorts last is listed, can be scrolled to and chosen, and shows
// in the main window.
TEST_F(HandOffTest, TheLastPhotoOfABigFolderCanBeScrolledToAndChosen)
{
    QDir(m_dir.path()).mkpath("Card");
    for (int i = 0; i < 1500; ++i) {
        char name[32];
        snprintf(name, sizeof name, "Card/IMG_%04d.jpg", i);
        WriteTestPhoto(m_dir.path(), name, 16, 12, qRgb(40, 40, 200));
    }
    WriteTestPhoto(m_dir.path(), "Card/IMG_1500.jpg", 400, 300, kRed);
    Start();
    SetClientSize(400, 300);
    OpenBrowser();
    ClickItem("Card");
    ASSERT_EQ(Browser()->m_count, 1502);
    ASSERT_EQ(PositionOf("IMG_1500.jpg"), 1501);
    WndTester::DragThumb(Browser(), SB_VERT, 1 << 24);
    Settle();
    // The cell is inside the browser's client area, below the button bar.
    const BrowseMetrics m = Browser()->Metrics();
    const int top = BrowseGeometry::RowOrigin(m, 1501 / m.columns) + m.margin;
    EXPECT_GE(top, m.barHeight);
    EXPECT_LE(top + m.cellHeight, Browser()->m_clientHeight);
    ClickItem("IMG_1500.jpg");
    ASSERT_NE(m_view->GetImage().GetName(), nullptr);
    EXPECT_STREQ(m_view->GetImage().GetName(), "C:/Card/IMG_1500.jpg");
    EXPECT_TRUE(Near(Screen().pixel(200, 150), kRed));
    EXPECT_EQ(Title(), "C:/Card/IMG_1500.jpg - Pixmoor");
    EXPECT_EQ(StoredPath(), "C:/Card/");
}

// Made once: the menu item and the toolbar button restore the same window
// where the user left it, not in the remembered folder.
TEST_F(HandOffTest, BrowserIsCreatedOnceAndRestoredWhereTheUserLeftIt)
{
    QDir(m_dir.path()).mkpath("Other");
    Start();
    OpenBrowser();
    CBrowse* first = Browser();
    ClickItem("Photos");
    ClickItem("a.jpg");
    ASSERT_TRUE(first->IsIconic());
    ClickItem(".. (Up Directory)");  // the minimized browser still takes clicks in tests
    ClickItem("Other");
    ASSERT_STREQ(first->m_path, "C:/Other/");
    WndTester::CloseBox(first);
    EXPECT_TRUE(first->IsIconic());
    ASSERT_TRUE(WndTester::ClickToolbarButton(m_frame, ID_FILE_VISUAL_BROWSE));
    Settle();
    EXPECT_EQ(Browser(), first);
    EXPECT_FALSE(first->IsIconic());
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_STREQ(first->m_path, "C:/Other/");
    // Cancel only minimizes, too.
    ASSERT_TRUE(WndTester::ClickButton(&first->m_cancelButton));
    EXPECT_TRUE(first->IsIconic());
    OpenBrowser();
    EXPECT_EQ(Browser(), first);
    EXPECT_FALSE(first->IsIconic());
    EXPECT_TRUE(s_messages.empty());
}

TEST_F(HandOffTest, NextRunStartsInTheRememberedFolder)
{
    Start();
    OpenBrowser();
    ClickItem("Photos");
    ClickItem("a.jpg");
    ASSERT_EQ(StoredPath(), "C:/Photos/");
    CloseApp();
    // The browser went with the view, and so did the view's pointer.
    EXPECT_EQ(g_pBrowseView, nullptr);
    Start();
    EXPECT_EQ(m_view->GetBrowsePath(), "C:/Photos/");
    OpenBrowser();
    EXPECT_STREQ(Browser()->m_path, "C:/Photos/");
    EXPECT_EQ(Browser()->GetWindowText(), "C:/Photos/");
}

// The browser never reports a count without a selected file; if it did,
// the view would otherwise read a null path.
TEST_F(HandOffTest, CountWithoutASelectedFileIsTakenAsCancel)
{
    Start();
    OpenBrowser();
    const std::string title = Title();
    m_view->OnBrowserDone(1);
    EXPECT_TRUE(Browser()->IsIconic());
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(m_view->GetImage().GetName(), nullptr);
    EXPECT_EQ(StoredPath(), "(none)");
}

}  // namespace
