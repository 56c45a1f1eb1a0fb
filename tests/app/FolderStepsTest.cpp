// Flipping through the shown photo's folder from the main window, full
// screen, Ctrl + wheel zoom, dragging a large picture and dropping a file,
// all sent as a user sends them.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <string>
#include <vector>

#include "app/ScaleGeometry.h"
#include "app/res/Resource.h"
#include "platform/WndImpl.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"

namespace {

// The folder, in byte order: punctuation before capitals before small
// letters. Each photo has a colour of its own.
struct Photo {
    const char* name;
    QRgb colour;
};
const Photo kPhotos[] = {
    { "(1).jpg", qRgb(200, 40, 40) },  { "B.jpg", qRgb(40, 200, 40) },   { "Z.jpg", qRgb(40, 40, 200) },
    { "a-1.jpg", qRgb(200, 200, 40) }, { "a.JPG", qRgb(40, 200, 200) },  { "a_2.jpg", qRgb(200, 40, 200) },
    { "b.jpg", qRgb(120, 120, 40) },
};

class FolderStepsTest : public ViewerTest {
protected:
    std::string Path(const std::string& name) const { return m_dir.path().toStdString() + "/" + name; }
    void MakeFolder()
    {
        for (const Photo& p : kPhotos)
            WriteTestPhoto(m_dir.path(), p.name, 80, 60, p.colour);
        // Not photos of the sequence: another ending, no JPEG at all, a
        // directory with a JPEG name; and a JPEG name that does not decode.
        WriteTestPhoto(m_dir.path(), "c.jpeg", 80, 60);
        WriteFile("notes.txt", "not a picture");
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("sub.jpg"));
        WriteFile("c-broken.jpg", "broken");
    }
    void WriteFile(const char* name, const char* text)
    {
        QFile f(QString::fromStdString(Path(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    bool Enabled(UINT id) { return WndTester::IsMenuItemEnabled(m_frame, id); }
    QRgb Middle() { return Screen().pixel(40, 30); }
};

const UINT kSteps[] = { ID_VIEW_NEXT_PICTURE, ID_VIEW_PREV_PICTURE, ID_VIEW_FIRST_PICTURE, ID_VIEW_LAST_PICTURE };

// One row: the key, the photo then shown (null: the picture stays), the
// message box (null: none), and which of Next, Previous, First, Last are
// enabled afterwards.
struct StepRow {
    const char* key;
    const char* shown;
    const char* brokenMessage;
    bool next, previous, first, last;
};

TEST_F(FolderStepsTest, KeysStepThroughTheFolderInBrowserOrder)
{
    MakeFolder();
    Start({ Path("Z.jpg") });
    SetClientSize(400, 300);
    Command(ID_VIEW_SCALE_100);
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    const std::vector<std::string> recentBefore = m_app->GetRecentFiles();

    const StepRow rows[] = {
        { "Home", "(1).jpg", nullptr, true, false, false, true },
        { "PgDown", "B.jpg", nullptr, true, true, true, true },
        { "Space", "Z.jpg", nullptr, true, true, true, true },
        { "Right", "a-1.jpg", nullptr, true, true, true, true },
        { "PgDown", "a.JPG", nullptr, true, true, true, true },
        { "PgDown", "a_2.jpg", nullptr, true, true, true, true },
        { "End", nullptr, "c-broken.jpg", false, true, true, false },
        // Nothing after the last: the key does nothing.
        { "PgDown", nullptr, nullptr, false, true, true, false },
        { "Backspace", "b.jpg", nullptr, true, true, true, true },
        { "Left", "a_2.jpg", nullptr, true, true, true, true },
        { "PgUp", "a.JPG", nullptr, true, true, true, true },
    };
    std::string shown = "Z.jpg";
    for (const StepRow& row : rows) {
        SCOPED_TRACE(row.key);
        s_messages.clear();
        ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(QString::fromLatin1(row.key))));
        if (row.shown)
            shown = row.shown;
        if (row.brokenMessage) {
            ASSERT_EQ(s_messages.size(), 1u);
            EXPECT_EQ(s_messages[0], "Can't open " + Path(row.brokenMessage) + " for read\n");
        } else {
            EXPECT_TRUE(s_messages.empty());
        }
        if (row.shown) {
            EXPECT_EQ(Title(), Path(shown) + " - Pixmoor");
        }
        for (const Photo& p : kPhotos) {
            if (shown == p.name) {
                EXPECT_TRUE(Near(Middle(), p.colour, 12)) << shown;
            }
        }
        EXPECT_EQ(m_view->GetImage().GetWidth(), 80);  // 100 % stays
        const bool expected[] = { row.next, row.previous, row.first, row.last };
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Enabled(kSteps[i]), expected[i]) << kSteps[i];
        EXPECT_EQ(WndTester::IsToolbarButtonEnabled(m_frame, ID_VIEW_NEXT_PICTURE), row.next);
        EXPECT_EQ(WndTester::IsToolbarButtonEnabled(m_frame, ID_VIEW_PREV_PICTURE), row.previous);
    }
    EXPECT_EQ(m_app->GetRecentFiles(), recentBefore);
    EXPECT_EQ(m_app->GetProfileString("General", "Path", ""), m_dir.path().toStdString() + "/");

    // A file added at the end counts at the next step.
    Command(ID_VIEW_LAST_PICTURE);
    ASSERT_FALSE(Enabled(ID_VIEW_NEXT_PICTURE));
    WriteTestPhoto(m_dir.path(), "zz.jpg", 80, 60, qRgb(250, 250, 250));
    EXPECT_TRUE(Enabled(ID_VIEW_NEXT_PICTURE));
    s_messages.clear();
    ASSERT_TRUE(WndTester::ClickToolbarButton(m_frame, ID_VIEW_NEXT_PICTURE));
    EXPECT_EQ(Title(), Path("zz.jpg") + " - Pixmoor");
    EXPECT_FALSE(Enabled(ID_VIEW_NEXT_PICTURE));
}

TEST_F(FolderStepsTest, WithoutAPictureAllStepsAreGreyed)
{
    MakeFolder();
    Start();
    for (UINT id : kSteps)
        EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_PageDown)));
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
}

// A photo named without a directory steps through the working directory,
// and the titles keep the names as they were given.
TEST_F(FolderStepsTest, ABareNameStepsThroughTheWorkingDirectory)
{
    MakeFolder();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    Start({ "B.jpg" });
    ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_PageDown)));
    EXPECT_EQ(Title(), "Z.jpg - Pixmoor");
    EXPECT_TRUE(Near(Screen().pixel(5, 5), kPhotos[2].colour, 12));
    QDir::setCurrent(before);
}

TEST_F(FolderStepsTest, FullScreenShowsTheViewAloneAndComesBackAsItWas)
{
    MakeFolder();
    Start({ Path("B.jpg") });
    SetClientSize(400, 300);
    Command(ID_VIEW_SCALE_FIT);
    QWidget* window = RootWidgetOf(m_frame);
    const QRect before = window->geometry();
    const QSize screen = window->screen()->geometry().size();
    ASSERT_EQ(m_view->GetImage().GetWidth(), 400);  // 80 x 60 fitted to 400 x 300

    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        // In: F11, the menu item, a double click on the picture.
        if (way == 0)
            ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_F11)));
        else if (way == 1)
            Command(ID_VIEW_FULL_SCREEN);
        else
            WndTester::DoubleClick(m_view, 50, 50);
        WndTester::ProcessEvents();
        EXPECT_TRUE(window->isFullScreen());
        EXPECT_FALSE(WndTester::IsToolbarVisible(m_frame));
        EXPECT_EQ(ClientWidgetOf(m_view)->size(), screen);
        // Fit mode fits the screen; the keys still step.
        const DisplaySize fitted = FitScaleSize(80, 60, screen.width(), screen.height());
        EXPECT_EQ(m_view->GetImage().GetWidth(), fitted.width);
        EXPECT_EQ(m_view->GetImage().GetHeight(), fitted.height);
        ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_PageDown)));
        EXPECT_EQ(Title(), Path("Z.jpg") + " - Pixmoor");
        ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_PageUp)));
        // Out: Esc, F11, a double click.
        if (way == 0)
            ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_Escape)));
        else if (way == 1)
            ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_F11)));
        else
            WndTester::DoubleClick(m_view, 50, 50);
        WndTester::ProcessEvents();
        EXPECT_FALSE(window->isFullScreen());
        EXPECT_EQ(window->geometry(), before);
        EXPECT_TRUE(WndTester::IsToolbarVisible(m_frame));
        EXPECT_EQ(m_view->GetImage().GetWidth(), 400);
        EXPECT_EQ(m_view->GetImage().GetHeight(), 300);
    }
}

// Wheel up from fit goes to the smallest step above the fitted scale;
// Ctrl + wheel never passes 25 or 400 %.
TEST_F(FolderStepsTest, CtrlWheelStepsThroughTheScales)
{
    WriteTestPhoto(m_dir.path(), "big.jpg", 800, 600);
    Start({ Path("big.jpg") });
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_FIT);  // 533 x 400: two thirds
    struct Turn {
        int delta;
        ScaleMode mode;
    };
    const Turn turns[] = {
        { 120, ScaleFull }, { 120, ScaleDouble }, { 120, ScaleQuadruple }, { 120, ScaleQuadruple },
        { -120, ScaleDouble }, { -120, ScaleFull }, { -120, ScaleHalf }, { -120, ScaleQuarter },
        { -120, ScaleQuarter }, { 60, ScaleQuarter }, { 60, ScaleHalf },
    };
    for (const Turn& t : turns) {
        WndTester::Wheel(m_view, 10, 10, t.delta, Qt::ControlModifier);
        EXPECT_EQ(m_view->GetScaleMode(), t.mode) << t.delta;
    }
    Command(ID_VIEW_SCALE_FIT);
    WndTester::Wheel(m_view, 10, 10, -120, Qt::ControlModifier);
    EXPECT_EQ(m_view->GetScaleMode(), ScaleHalf);

    // The point under the mouse stays put: (150, 100) of the 100 % picture
    // at the mouse (100, 50) is (300, 200) at 200 %, still under it.
    Command(ID_VIEW_SCALE_100);
    m_view->ScrollToPosition(CPoint(50, 50));
    WndTester::Wheel(m_view, 100, 50, 120, Qt::ControlModifier);
    EXPECT_EQ(m_view->GetScaleMode(), ScaleDouble);
    EXPECT_EQ(m_view->GetScrollPosition().x, 200);
    EXPECT_EQ(m_view->GetScrollPosition().y, 150);
    // The plain wheel scrolls.
    WndTester::Wheel(m_view, 100, 50, -120);
    EXPECT_GT(m_view->GetScrollPosition().y, 150);
}

TEST_F(FolderStepsTest, ALargePictureIsDraggedWithTheHand)
{
    WriteTestPhoto(m_dir.path(), "big.jpg", 800, 600);
    Start({ Path("big.jpg") });
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_FIT);
    EXPECT_EQ(WndTester::ClientCursor(m_view), Qt::ArrowCursor);  // fitted: nothing to drag
    Command(ID_VIEW_SCALE_200);
    EXPECT_EQ(WndTester::ClientCursor(m_view), Qt::OpenHandCursor);
    m_view->ScrollToPosition(CPoint(300, 300));
    WndTester::Drag(m_view, QPoint(300, 200), QPoint(200, 150));
    EXPECT_EQ(m_view->GetScrollPosition().x, 400);
    EXPECT_EQ(m_view->GetScrollPosition().y, 350);
    EXPECT_EQ(WndTester::ClientCursor(m_view), Qt::OpenHandCursor);
    // Past the end it stops at the end of the range.
    WndTester::Drag(m_view, QPoint(550, 350), QPoint(0, 0));
    WndTester::Drag(m_view, QPoint(550, 350), QPoint(0, 0));
    EXPECT_EQ(m_view->GetScrollPosition().x, 1600 - ClientWidgetOf(m_view)->width());
    EXPECT_EQ(m_view->GetScrollPosition().y, 1200 - ClientWidgetOf(m_view)->height());
}

TEST_F(FolderStepsTest, ADroppedPhotoOpensAsADocumentAndOtherDragsAreRefused)
{
    MakeFolder();
    Start();
    EXPECT_FALSE(WndTester::DropFiles(m_frame, { QString::fromStdString(Path("notes.txt")) }));
    EXPECT_FALSE(WndTester::DropFiles(m_frame, { QString::fromStdString(Path("c.jpeg")) }));
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    ASSERT_TRUE(WndTester::DropFiles(
        m_frame, { QString::fromStdString(Path("B.jpg")), QString::fromStdString(Path("Z.jpg")) }));
    EXPECT_EQ(Title(), "B.jpg - Pixmoor");
    ASSERT_EQ(m_app->GetRecentFiles().size(), 1u);
    EXPECT_EQ(m_app->GetRecentFiles()[0], Path("B.jpg"));
    EXPECT_TRUE(Near(Screen().pixel(5, 5), kPhotos[1].colour, 12));
    // The keys work at once.
    ASSERT_TRUE(WndTester::KeyToActiveWindow(QKeySequence(Qt::Key_Right)));
    EXPECT_EQ(Title(), Path("Z.jpg") + " - Pixmoor");
}

}  // namespace
