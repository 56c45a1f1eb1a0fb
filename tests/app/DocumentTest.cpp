// Opening files through the document: File Open, the recent-file list,
// new documents, and Ctrl+S, which must never write a file.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QThread>

#include "app/res/Resource.h"
#include "codec/JpegConverter.h"
#include "platform/CmdUI.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"

namespace {

class DocumentTest : public ViewerTest {
protected:
    // Answers the next File Open dialog with this path.
    void OpenThroughDialog(const std::string& path)
    {
        m_onDialog = [path](QDialog& dialog) {
            QFileDialog* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files)
                return (int)QDialog::Rejected;
            files->selectFile(QString::fromStdString(path));
            return (int)QDialog::Accepted;
        };
        WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+O")));
        m_onDialog = nullptr;
    }
    CPixmoorDoc* Doc() const { return m_view->GetDocument(); }
};

TEST_F(DocumentTest, FileOpenShowsTheFileAndTitlesTheWindowWithItsName)
{
    const std::string photo = WriteTestPhoto(m_dir.path(), "a.jpg", 300, 200);
    Start();
    OpenThroughDialog(photo);
    ASSERT_FALSE(m_dialogTitles.empty());
    EXPECT_EQ(m_dialogTitles.back(), "Open");
    EXPECT_EQ(Title(), "a.jpg - Pixmoor");
    EXPECT_EQ(m_view->GetImageWidth(), 300);
    EXPECT_EQ(Doc()->GetFilePath(), photo);
    EXPECT_STREQ(m_view->GetImage().GetName(), photo.c_str());
    ASSERT_EQ(m_app->GetRecentFiles().size(), 1u);
    EXPECT_EQ(m_app->GetRecentFiles()[0], photo);
    const QString item = WndTester::MenuItemText(m_frame, ID_FILE_MRU_FILE1);
    EXPECT_TRUE(item.startsWith("&1 ")) << item.toStdString();
    EXPECT_TRUE(item.endsWith("/a.jpg")) << item.toStdString();
}

TEST_F(DocumentTest, FileOpenDialogOffersJpegAndAllFiles)
{
    Start();
    QStringList filters;
    m_onDialog = [&](QDialog& dialog) {
        if (QFileDialog* files = qobject_cast<QFileDialog*>(&dialog))
            filters = files->nameFilters();
        return (int)QDialog::Rejected;
    };
    Command(ID_FILE_OPEN);
    EXPECT_EQ(filters, QStringList({ "JPEG Files (*.jpg)", "All Files (*)" }));
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
}

// The framework finds the document already open and reads nothing: a
// rotation made since stays on the screen.
TEST_F(DocumentTest, OpeningTheFileAlreadyHeldDecodesNothing)
{
    const std::string photo = WriteTestPhoto(m_dir.path(), "a.jpg", 300, 200);
    Start();
    OpenThroughDialog(photo);
    Command(ID_VIEW_SCALE_100);
    Command(ID_VIEW_ROTATE_RIGHT);
    ASSERT_EQ(m_view->GetImage().GetWidth(), 200);
    OpenThroughDialog(photo);
    EXPECT_EQ(m_view->GetImage().GetWidth(), 200);
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_view->GetImage().GetWidth(), 200);
    EXPECT_EQ(Title(), "a.jpg - Pixmoor");
}

TEST_F(DocumentTest, RecentListKeepsFourNewestFirstInMenuAndSettings)
{
    Start();
    std::vector<std::string> photos;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "p" + std::to_string(i) + ".jpg";
        photos.push_back(WriteTestPhoto(m_dir.path(), name.c_str(), 40 + i, 30));
        OpenThroughDialog(photos.back());
    }
    const std::vector<std::string> expected = { photos[4], photos[3], photos[2], photos[1] };
    EXPECT_EQ(m_app->GetRecentFiles(), expected);
    const QStringList items = WndTester::MenuItemTexts(m_frame, 0);
    int recent = 0;
    for (const QString& item : items)
        recent += item.startsWith("&1 ") || item.startsWith("&2 ") || item.startsWith("&3 ") || item.startsWith("&4 ") ||
                  item.startsWith("&5 ");
    EXPECT_EQ(recent, 4);
    EXPECT_FALSE(items.contains("Recent File"));
    for (int i = 0; i < 4; ++i) {
        const std::string key = "File" + std::to_string(i + 1);
        EXPECT_EQ(m_app->GetProfileString("Recent File List", key.c_str(), ""), expected[(size_t)i]);
    }
    EXPECT_EQ(m_app->GetProfileString("Recent File List", "File5", "none"), "none");
}

TEST_F(DocumentTest, RecentEntryOpensItsFile)
{
    const std::string a = WriteTestPhoto(m_dir.path(), "a.jpg", 300, 200);
    const std::string b = WriteTestPhoto(m_dir.path(), "b.jpg", 100, 50);
    Start();
    OpenThroughDialog(a);
    OpenThroughDialog(b);
    EXPECT_EQ(Title(), "b.jpg - Pixmoor");
    Command(ID_FILE_MRU_FILE2);
    EXPECT_EQ(Title(), "a.jpg - Pixmoor");
    EXPECT_EQ(m_view->GetImageWidth(), 300);
    EXPECT_EQ(m_app->GetRecentFiles()[0], a);
}

TEST_F(DocumentTest, MissingRecentFileIsReportedAndLeavesTheList)
{
    const std::string a = WriteTestPhoto(m_dir.path(), "a.jpg", 300, 200);
    const std::string b = WriteTestPhoto(m_dir.path(), "b.jpg", 100, 50);
    Start();
    OpenThroughDialog(a);
    OpenThroughDialog(b);
    QFile::remove(QString::fromStdString(a));
    Command(ID_FILE_MRU_FILE2);
    ASSERT_EQ(s_messages.size(), 1u);
    EXPECT_EQ(s_messages[0],
              a + "\nCannot find this file.\nPlease verify that the correct path and file name are given.");
    EXPECT_EQ(m_app->GetRecentFiles(), std::vector<std::string>({ b }));
    EXPECT_EQ(Title(), "b.jpg - Pixmoor");
    EXPECT_EQ(m_view->GetImageWidth(), 100);
}

// A file that opens but does not decode still becomes the document, and the
// screen keeps the picture it had. No message.
TEST_F(DocumentTest, UndecodableFileBecomesTheDocumentButThePictureStays)
{
    const std::string a = WriteTestPhoto(m_dir.path(), "a.jpg", 300, 200);
    const std::string bad = (m_dir.path() + "/bad.jpg").toStdString();
    QFile file(QString::fromStdString(bad));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("no picture here");
    file.close();
    Start({ a });
    OpenThroughDialog(bad);
    EXPECT_EQ(Title(), "bad.jpg - Pixmoor");
    EXPECT_EQ(m_app->GetRecentFiles()[0], bad);
    EXPECT_EQ(m_view->GetImageWidth(), 300);
    EXPECT_STREQ(m_view->GetImage().GetName(), a.c_str());
    EXPECT_TRUE(s_messages.empty());
}

TEST_F(DocumentTest, NewDocumentKeepsThePictureAndRenamesTheTitle)
{
    const std::string a = WriteTestPhoto(m_dir.path(), "a.jpg", 300, 200);
    Start();
    OpenThroughDialog(a);
    ASSERT_EQ(Title(), "a.jpg - Pixmoor");
    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    EXPECT_EQ(Doc()->GetPathName(), "");
    EXPECT_EQ(m_view->GetImageWidth(), 300);
    EXPECT_EQ(m_view->GetImage().GetHeight() > 0, true);
}

TEST_F(DocumentTest, OpeningAnotherFileKeepsTheScaleMode)
{
    const std::string a = WriteTestPhoto(m_dir.path(), "a.jpg", 400, 300);
    Start();
    Command(ID_VIEW_SCALE_50);
    OpenThroughDialog(a);
    EXPECT_EQ(m_view->GetImage().GetWidth(), 200);
    EXPECT_EQ(m_view->GetImage().GetHeight(), 150);
}

// The framework's own save would replace the photo by an empty file. Here
// Ctrl+S has no handler: the photo's bytes and time stay as they were.
TEST_F(DocumentTest, CtrlSNeverWritesThePhoto)
{
    const std::string a = WriteTestPhoto(m_dir.path(), "a.jpg", 300, 200);
    QFile file(QString::fromStdString(a));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    const QDateTime mtime = QFileInfo(file).lastModified();
    QThread::msleep(20);
    Start({ a });  // shown, no document yet
    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+S")));
    OpenThroughDialog(a);  // now the document holds it
    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+S")));
    CCmdUI state(ID_FILE_SAVE);
    state.DoUpdate(m_frame, TRUE);
    EXPECT_FALSE(state.m_bEnabled);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
    EXPECT_EQ(QFileInfo(file).lastModified(), mtime);
    EXPECT_EQ(m_dialogTitles, std::vector<std::string>({ "Open" }));  // no Save As dialog
    EXPECT_TRUE(s_messages.empty());
}

TEST_F(DocumentTest, ExitClosesTheMainWindow)
{
    Start();
    Command(ID_APP_EXIT);
    WndTester::ProcessEvents();
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
}

}  // namespace

namespace {

// The loading step copies the path into a buffer of 1000 characters; a
// longer path cut to fit would name another file. It is not loaded.
TEST_F(DocumentTest, PathTooLongForTheLoadingBufferIsNotCutIntoAnotherFile)
{
    QString dir = m_dir.path();
    while (dir.size() < 1000)
        dir += "/" + QString(200, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(dir));
    const std::string shown = WriteTestPhoto(m_dir.path(), "shown.jpg", 300, 200);
    const std::string deep = WriteTestPhoto(dir, "deep.jpg", 100, 50);
    {
        // The decoder itself reads the file by that path.
        CJpegConverter converter;
        unsigned char* pixels = converter.LoadFile(deep.c_str());
        ASSERT_NE(pixels, nullptr);
        free(pixels);
    }
    Start({ shown });
    OpenThroughDialog(deep);
    EXPECT_EQ(Title(), "deep.jpg - Pixmoor");
    EXPECT_EQ(Doc()->GetFilePath(), deep);
    EXPECT_EQ(m_view->GetImageWidth(), 300);
    EXPECT_STREQ(m_view->GetImage().GetName(), shown.c_str());
}

}  // namespace
