// The viewer only reads pictures: a whole session of opening, rotating,
// zooming, printing, browsing, Ctrl+S, Ctrl+N and exit leaves every photo's
// bytes and modification time as they were, and creates or removes no file
// but the thumbnail cache (in the user's cache folder, none in drive C:), the
// settings file, the desktop entry and the PDF the user printed to.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>

#include "app/BrowseHandOff.h"
#include "app/res/Resource.h"
#include "browser/Browse.h"
#include "platform/DriveTable.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"

namespace {

struct PhotoState {
    QByteArray bytes;
    timespec mtime {};
};

struct WatchedFolder {
    QString root;
    QString label;
};

timespec ModificationTime(const QString& path)
{
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return timespec {};
    return st.st_mtim;
}

class PhotosNeverWrittenTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        ASSERT_TRUE(m_pdfDir.isValid());
        CDriveTable::Instance().Clear();
        CDriveTable::Instance().SetDrive('C', m_dir.path().toStdString());
        QDir(m_dir.path()).mkpath("Photos/2001");
        const struct {
            const char* name;
            int w, h;
            QRgb color;
        } photos[] = { { "Photos/a.jpg", 400, 300, qRgb(200, 40, 40) },
                       { "Photos/b.jpg", 320, 480, qRgb(40, 160, 60) },
                       { "Photos/2001/c.jpg", 640, 480, qRgb(40, 60, 200) },
                       { "Photos/2001/d.jpg", 200, 200, qRgb(220, 200, 40) } };
        for (const auto& p : photos) {
            const QString path = QString::fromStdString(WriteTestPhoto(m_dir.path(), p.name, p.w, p.h, p.color));
            // An old time: a write of any kind, even of the same bytes, moves it.
            const timespec old[2] = { { 978307200, 0 }, { 978307200, 0 } };
            ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, 0), 0) << p.name;
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << p.name;
            PhotoState state { file.readAll(), ModificationTime(path) };
            ASSERT_GT(state.bytes.size(), 100) << p.name;
            m_photos[path] = state;
        }
        m_watched = { { m_dir.path(), "C:" },
                      { qEnvironmentVariable("XDG_CONFIG_HOME"), "config" },
                      { qEnvironmentVariable("XDG_DATA_HOME"), "data" },
                      { qEnvironmentVariable("XDG_CACHE_HOME"), "cache" },
                      { m_pdfDir.path(), "pdf" } };
        m_before = Listing();
    }

    // Every file and folder below the watched roots, as "label/relative path".
    std::set<std::string> Listing() const
    {
        std::set<std::string> names;
        for (const WatchedFolder& folder : m_watched) {
            if (folder.root.isEmpty())
                continue;
            QDirIterator it(folder.root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                names.insert((folder.label + "/" + QDir(folder.root).relativeFilePath(path)).toStdString());
            }
        }
        return names;
    }

    // The files the viewer may make, and the folders that hold them.
    // QtProject.conf is Qt's file dialog keeping its own history.
    static bool MayBeCreated(const std::string& name)
    {
        static const std::set<std::string> exact = { "cache/pixmoor",
                                                     "cache/pixmoor/ThumbNails.bin",
                                                     "config/Quillon Works",
                                                     "config/Quillon Works/pixmoor.conf",
                                                     "config/QtProject.conf",
                                                     "data/applications",
                                                     "data/dbus-1",
                                                     "data/dbus-1/services",
                                                     "data/dbus-1/services/com.QuillonWorks.pixmoor.service",
                                                     "pdf/out.pdf" };
        if (exact.count(name))
            return true;
        const std::string entries = "data/applications/";
        const std::string suffix = ".desktop";
        return name.compare(0, entries.size(), entries) == 0 && name.size() > entries.size() + suffix.size() &&
               name.find('/', entries.size()) == std::string::npos &&
               name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    }

    CBrowse* Browser() const { return m_view->GetBrowser(); }
    void Settle()
    {
        for (int i = 0; i < 20; ++i)
            WndTester::ProcessEvents();
    }
    void ClickItem(const char* name)
    {
        CBrowse* b = Browser();
        int p = 0;
        while (p < b->m_count) {
            const CRgbImage& item = b->m_items[b->m_order[p].slot];
            if (!strcmp(item.GetName(), name) || !strcmp(item.GetFileName(), name))
                break;
            ++p;
        }
        ASSERT_LT(p, b->m_count) << name << " is not shown in " << b->m_path;
        const BrowseMetrics m = b->Metrics();
        const int x = BrowseGeometry::ColumnOrigin(m, p % m.columns) + m.margin + m.cellWidth / 2;
        const int y = BrowseGeometry::RowOrigin(m, p / m.columns) + m.margin + 30;
        WndTester::Click(b, x, y);
        Settle();
    }

    QTemporaryDir m_pdfDir;
    std::map<QString, PhotoState> m_photos;
    std::vector<WatchedFolder> m_watched;
    std::set<std::string> m_before;
};

TEST_F(PhotosNeverWrittenTest, AWholeSessionLeavesEveryPhotoAsItWasAndMakesOnlyTheViewersOwnFiles)
{
    const QString a = m_dir.path() + "/Photos/a.jpg";
    const QString pdf = m_pdfDir.path() + "/out.pdf";
    Start();
    SetClientSize(400, 300);

    // File Open, answered through the dialog.
    m_onDialog = [&](QDialog& dialog) {
        QFileDialog* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files)
            return (int)QDialog::Rejected;
        files->selectFile(a);
        return (int)QDialog::Accepted;
    };
    Command(ID_FILE_OPEN);
    ASSERT_EQ(m_view->GetImageWidth(), 400);
    EXPECT_EQ(Title(), "a.jpg - Pixmoor");

    // Fit mode: the turned picture stands upright in the 400 x 300 area.
    Command(ID_VIEW_ROTATE_RIGHT);
    EXPECT_LT(m_view->GetImage().GetWidth(), m_view->GetImage().GetHeight());
    Command(ID_VIEW_ROTATE_LEFT);
    EXPECT_EQ(m_view->GetImage().GetWidth(), 400);
    for (UINT id : { ID_VIEW_SCALE_25, ID_VIEW_SCALE_50, ID_VIEW_SCALE_100, ID_VIEW_SCALE_200, ID_VIEW_SCALE_400,
                     ID_VIEW_SCALE_FIT })
        Command(id);
    // Rotated once more, so that a picture held rotated at exit is on the table too.
    Command(ID_VIEW_ROTATE_RIGHT);

    // Printing to a PDF outside the photo tree.
    PrintToPdfOnDialog(pdf, 300);
    Command(ID_FILE_PRINT);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);

    int previews = 0;
    m_onDialog = [&](QDialog& dialog) {
        if (!qobject_cast<QPrintPreviewDialog*>(&dialog))
            return (int)QDialog::Rejected;
        ++previews;
        dialog.show();
        WndTester::ProcessEvents();
        dialog.close();
        return (int)QDialog::Accepted;
    };
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(previews, 1);
    m_onDialog = nullptr;

    // The Visual Browser: into 2001 and back up, then a thumbnail chosen.
    Command(ID_FILE_VISUAL_BROWSE);
    Settle();
    ASSERT_NE(Browser(), nullptr);
    if (!strcmp(Browser()->m_path, "C:/"))
        ClickItem("Photos");
    ASSERT_STREQ(Browser()->m_path, "C:/Photos/");
    ClickItem("2001");
    ASSERT_STREQ(Browser()->m_path, "C:/Photos/2001/");
    ClickItem(".. (Up Directory)");
    ASSERT_STREQ(Browser()->m_path, "C:/Photos/");
    ClickItem("b.jpg");
    EXPECT_TRUE(Browser()->IsIconic());
    ASSERT_NE(m_view->GetImage().GetName(), nullptr);
    EXPECT_STREQ(m_view->GetImage().GetName(), "C:/Photos/b.jpg");
    Command(ID_VIEW_ROTATE_LEFT);

    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+S")));
    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Title(), "Untitled - Pixmoor");

    // Exit from the menu, then the application object goes as the program's does.
    Command(ID_APP_EXIT);
    WndTester::ProcessEvents();
    CloseApp();

    for (const auto& [path, state] : m_photos) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << path.toStdString() << " is gone";
            continue;
        }
        EXPECT_TRUE(file.readAll() == state.bytes) << path.toStdString() << " was rewritten";
        const timespec now = ModificationTime(path);
        EXPECT_EQ(now.tv_sec, state.mtime.tv_sec) << path.toStdString() << " was written to";
        EXPECT_EQ(now.tv_nsec, state.mtime.tv_nsec) << path.toStdString() << " was written to";
    }
    const std::set<std::string> after = Listing();
    for (const std::string& name : after) {
        if (!m_before.count(name)) {
            EXPECT_TRUE(MayBeCreated(name)) << "created: " << name;
        }
    }
    for (const std::string& name : m_before) {
        EXPECT_TRUE(after.count(name)) << "removed: " << name;
    }
    // The session did reach the browser's cache and the printer.
    EXPECT_TRUE(after.count("cache/pixmoor/ThumbNails.bin"));
    EXPECT_TRUE(after.count("pdf/out.pdf"));
    EXPECT_TRUE(s_messages.empty()) << (s_messages.empty() ? "" : s_messages.front());
}

}  // namespace
