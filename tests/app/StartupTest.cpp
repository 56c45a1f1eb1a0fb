// Start-up, main frame, menus, toolbar, accelerators, About box, message
// boxes, the desktop entry and the program's own command line.
#include <QCoreApplication>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <utility>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <sys/resource.h>

#include "app/StartupFile.h"
#include "app/res/Resource.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"
#include "platform/ModalRunner.h"
#include "platform/QtMessageBox.h"
#include "platform/Resource.h"
#include "platform/WndImpl.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"

namespace {

const UINT kScaleIds[] = { ID_VIEW_SCALE_400, ID_VIEW_SCALE_200, ID_VIEW_SCALE_100,
                           ID_VIEW_SCALE_50, ID_VIEW_SCALE_25, ID_VIEW_SCALE_FIT };

bool AllPixels(const QImage& image, QRgb color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != color)
                return false;
    return !image.isNull();
}

TEST_F(ViewerTest, WithoutFileTitleIsUntitledAndViewIsAllGrey)
{
    Start();
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    // The view knows its real client size (a scroll bar shown and hidden
    // during start-up must not leave it with a stale one).
    RECT client;
    m_view->GetClientRect(&client);
    EXPECT_EQ(m_view->GetClientWidth(), client.right);
    EXPECT_EQ(m_view->GetClientHeight(), client.bottom);
    EXPECT_TRUE(AllPixels(Screen(), kViewGrey));
    EXPECT_TRUE(s_messages.empty());
}

TEST_F(ViewerTest, MainWindowIs1024By768)
{
    Start();
    RECT r;
    m_frame->GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 1024);
    EXPECT_EQ(r.bottom - r.top, 768);
}

// Without a picture the scale commands only move the check mark.
TEST_F(ViewerTest, ScaleCommandsMoveTheOneCheckMark)
{
    Start();
    EXPECT_TRUE(WndTester::IsMenuItemChecked(m_frame, ID_VIEW_SCALE_FIT));
    for (UINT chosen : kScaleIds) {
        Command(chosen);
        for (UINT id : kScaleIds) {
            EXPECT_EQ(WndTester::IsMenuItemChecked(m_frame, id), id == chosen) << "after " << chosen << " item " << id;
            EXPECT_TRUE(WndTester::IsMenuItemEnabled(m_frame, id));
        }
        EXPECT_EQ(m_view->GetImage().GetHeight(), 0);
        EXPECT_TRUE(AllPixels(Screen(), kViewGrey));
    }
}

TEST_F(ViewerTest, MenusHoldExactlyTheItems)
{
    Start();
    EXPECT_EQ(WndTester::MenuBarTitles(m_frame), QStringList({ "&File", "&Edit", "&View", "&Help" }));
    EXPECT_EQ(WndTester::MenuItemTexts(m_frame, 0),
              QStringList({ "Visually Browse ...", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "",
                            "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "", "Recent File", "",
                            "E&xit" }));
    EXPECT_EQ(WndTester::MenuItemTexts(m_frame, 1),
              QStringList({ "&Undo\tCtrl+Z", "", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V" }));
    EXPECT_EQ(WndTester::MenuItemTexts(m_frame, 2),
              QStringList({ "Scale to 400%", "Scale to 200%", "Scale to 100%", "Scale to 50%", "Scale to 25%", "",
                            "Scale to Fit", "", "Rotate Right 90 Degrees", "Rotate Left 90 Degrees", "",
                            "Next Picture\tPage Down", "Previous Picture\tPage Up", "First Picture\tHome",
                            "Last Picture\tEnd", "", "Full Screen\tF11", "", "Display Info", "", "&Toolbar" }));
    EXPECT_EQ(WndTester::MenuItemTexts(m_frame, 3), QStringList({ "&About pixmoor..." }));
}

TEST_F(ViewerTest, CommandsWithoutHandlerAreGreyedAndTheOthersEnabled)
{
    Start();
    for (UINT id : std::initializer_list<UINT>{ ID_FILE_SAVE_IMAGE, ID_FILE_SAVE_IMAGE_AS, ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY,
                     ID_EDIT_PASTE })
        EXPECT_FALSE(WndTester::IsMenuItemEnabled(m_frame, id)) << id;
    for (UINT id : std::initializer_list<UINT>{ ID_FILE_VISUAL_BROWSE, ID_FILE_OPEN, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
                     ID_FILE_PRINT_SETUP, ID_APP_EXIT, ID_VIEW_ROTATE_RIGHT, ID_VIEW_ROTATE_LEFT,
                     ID_VIEW_DISPLAY_INFO, ID_VIEW_TOOLBAR, ID_APP_ABOUT })
        EXPECT_TRUE(WndTester::IsMenuItemEnabled(m_frame, id)) << id;
    for (UINT id : std::initializer_list<UINT>{ ID_FILE_SAVE_IMAGE, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE })
        EXPECT_FALSE(WndTester::IsToolbarButtonEnabled(m_frame, id)) << id;
    for (UINT id : std::initializer_list<UINT>{ ID_FILE_VISUAL_BROWSE, ID_FILE_OPEN, ID_FILE_PRINT, ID_APP_ABOUT })
        EXPECT_TRUE(WndTester::IsToolbarButtonEnabled(m_frame, id)) << id;
}

TEST_F(ViewerTest, ToolbarButtonsInOrderWithTooltipsFromThePrompts)
{
    Start();
    EXPECT_EQ(WndTester::ToolbarButtons(m_frame),
              QList<UINT>({ ID_FILE_VISUAL_BROWSE, ID_FILE_OPEN, ID_FILE_SAVE_IMAGE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                            ID_EDIT_PASTE, 0, ID_FILE_PRINT, 0, ID_VIEW_PREV_PICTURE, ID_VIEW_NEXT_PICTURE, 0,
                            ID_APP_ABOUT }));
    const std::pair<UINT, const char*> tips[] = {
        { ID_FILE_OPEN, "Open" }, { ID_EDIT_CUT, "Cut" }, { ID_EDIT_COPY, "Copy" }, { ID_EDIT_PASTE, "Paste" },
        { ID_FILE_PRINT, "Print" }, { ID_APP_ABOUT, "About" }, { ID_VIEW_PREV_PICTURE, "Previous Picture" },
        { ID_VIEW_NEXT_PICTURE, "Next Picture" },
        // Prompts without a second line give no tooltip.
        { ID_FILE_VISUAL_BROWSE, "" }, { ID_FILE_SAVE_IMAGE, "" },
    };
    for (const auto& tip : tips)
        EXPECT_EQ(WndTester::ToolbarTooltip(m_frame, tip.first), tip.second) << tip.first;
    const QImage image = WndTester::ToolbarButtonImage(m_frame, ID_FILE_OPEN);
    EXPECT_EQ(image.size(), QSize(16, 15));
}

TEST_F(ViewerTest, ViewToolbarHidesAndShowsTheToolbarWithItsCheckMark)
{
    Start();
    EXPECT_TRUE(WndTester::IsToolbarVisible(m_frame));
    EXPECT_TRUE(WndTester::IsMenuItemChecked(m_frame, ID_VIEW_TOOLBAR));
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(WndTester::IsToolbarVisible(m_frame));
    EXPECT_FALSE(WndTester::IsMenuItemChecked(m_frame, ID_VIEW_TOOLBAR));
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(WndTester::IsToolbarVisible(m_frame));
    EXPECT_TRUE(WndTester::IsMenuItemChecked(m_frame, ID_VIEW_TOOLBAR));
}

// Keys of commands nobody serves do nothing; a served key (Ctrl+O) proves
// that keys reach the window.
TEST_F(ViewerTest, AcceleratorsOfDisabledCommandsDoNothing)
{
    const std::string photo = WriteTestPhoto(m_dir.path(), "a.jpg", 64, 48);
    Start({ photo });
    const QImage before = Screen();
    for (const char* keys : { "Ctrl+Z", "Ctrl+X", "Ctrl+C", "Ctrl+V", "Alt+Backspace", "Shift+Del", "Ctrl+Ins",
                              "Shift+Ins", "F6", "Shift+F6", "Ctrl+S" })
        WndTester::Key(m_frame, QKeySequence(QString::fromLatin1(keys)));
    EXPECT_TRUE(m_dialogTitles.empty());
    EXPECT_TRUE(s_messages.empty());
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    EXPECT_EQ(Screen(), before);
    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+O")));
    ASSERT_EQ(m_dialogTitles.size(), 1u);
    EXPECT_EQ(m_dialogTitles[0], "Open");
}

TEST_F(ViewerTest, AboutBoxShowsTitleVersionIconAndDefaultOk)
{
    Start();
    QString text;
    bool iconShown = false, okDefault = false;
    m_onDialog = [&](QDialog& dialog) {
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (!label->pixmap().isNull())
                iconShown = true;
            else
                text += label->text();
        }
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "OK") {
                okDefault = button->isDefault();
                button->click();
            }
        }
        return dialog.result();
    };
    WndTester::ClickToolbarButton(m_frame, ID_APP_ABOUT);
    ASSERT_EQ(m_dialogTitles.size(), 1u);
    EXPECT_EQ(m_dialogTitles[0], "About pixmoor");
    EXPECT_EQ(text, "pixmoor Version 1.9.6");
    EXPECT_TRUE(iconShown);
    EXPECT_TRUE(okDefault);
}

TEST_F(ViewerTest, DisplayInfoBeforeAnyPictureShowsEmptyNameAndZeroSizes)
{
    Start();
    Command(ID_VIEW_DISPLAY_INFO);
    ASSERT_EQ(s_messages.size(), 1u);
    EXPECT_EQ(s_messages[0], "Filename: \nWidth: 0\nHeight: 0");
}

TEST_F(ViewerTest, StartupFileIsShownWithUntitledTitleAndNotInRecentList)
{
    const std::string photo = WriteTestPhoto(m_dir.path(), "start.jpg", 320, 240);
    Start({ photo });
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    EXPECT_EQ(m_view->GetImageWidth(), 320);
    EXPECT_STREQ(m_view->GetImage().GetName(), photo.c_str());
    EXPECT_TRUE(m_app->GetRecentFiles().empty());
    EXPECT_STREQ(g_szStartupFile, "");
    EXPECT_TRUE(s_messages.empty());
}

// /p and /pt ask for printing from the shell: ignored, the file is shown.
TEST_F(ViewerTest, PrintSwitchesAreIgnoredButTheFileIsShown)
{
    const std::string photo = WriteTestPhoto(m_dir.path(), "p.jpg", 200, 100);
    for (const std::vector<std::string>& args :
         { std::vector<std::string>{ "/p", photo }, std::vector<std::string>{ "/pt", photo, "printer", "drv", "port" } }) {
        Start(args);
        EXPECT_EQ(Title(), "Untitled - Pixmoor");
        EXPECT_EQ(m_view->GetImageWidth(), 200);
        EXPECT_TRUE(m_dialogTitles.empty());  // no print dialog
        TearDown();
        SetUp();
    }
}

TEST_F(ViewerTest, StartupFileThatCannotBeDecodedReportsCantOpen)
{
    const std::string bad = (m_dir.path() + "/broken.jpg").toStdString();
    QFile file(QString::fromStdString(bad));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a jpeg");
    file.close();
    Start({ bad });
    WndTester::ProcessEvents();
    ASSERT_EQ(s_messages.size(), 1u);
    EXPECT_EQ(s_messages[0], "Can't open " + bad + " for read\n");
    EXPECT_EQ(m_view->GetImage().GetHeight(), 0);
    EXPECT_TRUE(AllPixels(Screen(), kViewGrey));
}

TEST_F(ViewerTest, StartupNameTooLongForTheBufferIsRefusedWithTheMessage)
{
    const std::string name = "/tmp/" + std::string(2100, 'x') + ".jpg";
    Start({ name });
    WndTester::ProcessEvents();
    ASSERT_EQ(s_messages.size(), 1u);
    EXPECT_EQ(s_messages[0].rfind("Can't open /tmp/xxx", 0), 0u);
    EXPECT_EQ(m_view->GetImage().GetHeight(), 0);
}

// The Qt handler that the program installs: modal, OK only, caption pixmoor.
TEST(QtMessageBoxTest, BoxIsCaptionedPixmoorWithOkOnly)
{
    InstallQtMessageBoxes();
    QString title, text;
    QMessageBox::StandardButtons buttons;
    SetModalRunner([&](QDialog& dialog) {
        QMessageBox* box = qobject_cast<QMessageBox*>(&dialog);
        if (box) {
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
        }
        return (int)QDialog::Accepted;
    });
    EXPECT_EQ(AfxMessageBox("Thumbnail image cache is corrupt or out of memory"), IDOK);
    SetModalRunner(nullptr);
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(title, "pixmoor");
    EXPECT_EQ(text, "Thumbnail image cache is corrupt or out of memory");
    EXPECT_EQ(buttons, QMessageBox::Ok);
}

TEST_F(ViewerTest, DesktopEntryOffersTheProgramWithoutTakingOverTheDefault)
{
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    QDir().mkpath(data + "/applications");
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    const QString mimeapps = qEnvironmentVariable("XDG_CONFIG_HOME") + "/mimeapps.list";
    const QByteArray userChoice = "[Default Applications]\nimage/jpeg=other-viewer.desktop\n";
    QFile list(mimeapps);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(userChoice);
    list.close();
    // An entry an earlier version wrote under the old name, and one of
    // somebody else's under it.
    const QByteArray earlier = "[Desktop Entry]\nType=Application\nName=Pixmoor\nComment=JPEG Document viewer\n"
                               "Exec=/old/pixmoor %f\nIcon=pixmoor\nMimeType=image/jpeg;\nTerminal=false\n"
                               "Categories=Graphics;Viewer;\n";
    QFile old(data + "/applications/pixmoor.desktop");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(earlier);
    old.close();
    Start();
    QFile entry(data + "/applications/com.QuillonWorks.pixmoor.desktop");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nMimeType=image/jpeg;\n"));
    EXPECT_TRUE(text.contains("\nIcon=pixmoor\n"));
    EXPECT_TRUE(text.contains("\nExec=" + program + " --open %F\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nDBusActivatable=true\n"));
    EXPECT_TRUE(text.contains("\nActions=Print;\n\n[Desktop Action Print]\nName=Print\nExec=" + program +
                              " --print %F\n"));
    QFile service(data + "/dbus-1/services/com.QuillonWorks.pixmoor.service");
    ASSERT_TRUE(service.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(service.readAll()),
              "[D-BUS Service]\nName=com.QuillonWorks.pixmoor\nExec='" + program + "' /dde\n");
    // The earlier entry hands its files to this program and is not listed.
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QString retired = QString::fromUtf8(old.readAll());
    old.close();
    EXPECT_TRUE(retired.contains("\nExec=" + program + " --open %F\n")) << retired.toStdString();
    EXPECT_TRUE(retired.endsWith("\nNoDisplay=true\n"));
    EXPECT_FALSE(retired.contains("DBusActivatable"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), userChoice);
    list.close();

    // Somebody else's entry under the old name is left alone.
    CloseApp();
    const QByteArray foreign = "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\n";
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(foreign);
    old.close();
    Start();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), foreign);
}

TEST_F(ViewerTest, FailedDesktopEntryIsIgnored)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    // A plain file where the folder should be: the entry cannot be written.
    const QString blocker = m_dir.path() + "/blocker";
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", blocker.toLocal8Bit());
    Start();
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    EXPECT_TRUE(s_messages.empty());
}

// Settings section "Drives" maps letters; PIXMOOR_DRIVES wins over it.
TEST_F(ViewerTest, DriveSettingsApplyAndTheEnvironmentWins)
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillon Works";
    QDir().mkpath(config);
    QFile conf(config + "/pixmoor.conf");
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(("[Drives]\nD=" + m_dir.path() + "/d\nE=" + m_dir.path() + "/e\n").toUtf8());
    conf.close();
    qputenv("PIXMOOR_DRIVES", ("E=" + m_dir.path() + "/env").toLocal8Bit());
    Start();
    qunsetenv("PIXMOOR_DRIVES");
    EXPECT_EQ(NativePath("D:/a.jpg"), (m_dir.path() + "/d/a.jpg").toStdString());
    EXPECT_EQ(NativePath("E:/a.jpg"), (m_dir.path() + "/env/a.jpg").toStdString());
    CDriveTable::Instance().SetDrive('D', "");
    CDriveTable::Instance().SetDrive('E', "");
}

// --- the program itself --------------------------------------------------

QString Program()
{
    return QStringLiteral(PIXMOOR_BUILD_DIR "/app/pixmoor");
}

TEST(ProgramTest, WithoutDisplayPrintsOneLineAndFails)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(env);
    process.start(Program(), {});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(process.exitCode(), 0);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("display")) << err.toStdString();
}

TEST(ProgramTest, UnusablePlatformPluginFailsWithOneLineNotACrash)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "no-such-platform");
    process.setProcessEnvironment(env);
    process.start(Program(), {});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
}

// The program ignores SIGXFSZ from its first line on: under a file-size
// limit of 0 its version text sent to a file is a short write, not the
// signal that would end the process.
TEST(ProgramTest, WritePastTheFileSizeLimitIsAShortWriteNotTheEnd)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.txt");
    QProcess process;
    process.setStandardOutputFile(out);
    process.setChildProcessModifier([] {
        struct rlimit none = {0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
    });
    process.start(Program(), { "--version" });
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QFileInfo(out).size(), 0);
}

TEST(ProgramTest, VersionAndHelpPrintAndSucceedWithoutDisplay)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    process.setProcessEnvironment(env);
    process.start(Program(), { "--version" });
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput(), "pixmoor Version 1.9.6\n");
    process.start(Program(), { "--help" });
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("Usage: pixmoor"));
}

}  // namespace

namespace {

// The browser's start directory comes from "General"/"Path", "C:/" unless set.
TEST_F(ViewerTest, ViewReadsTheBrowsePathFromTheSettings)
{
    Start();
    EXPECT_EQ(m_view->GetBrowsePath(), "C:/");
    ASSERT_TRUE(m_app->WriteProfileString("General", "Path", "C:/Photos/2001/"));
    // Stored where a reader of the settings file looks for it.
    QFile stored(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillon Works/pixmoor.conf");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_TRUE(stored.readAll().contains("[General]\nPath=C:/Photos/2001/\n"));
    TearDown();
    SetUp();
    // SetUp empties the settings; write them again before the next start.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillon Works";
    QDir().mkpath(config);
    QFile conf(config + "/pixmoor.conf");
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\nPath=C:/Photos/2001/\n");
    conf.close();
    Start();
    EXPECT_EQ(m_view->GetBrowsePath(), "C:/Photos/2001/");
}

}  // namespace

namespace {

// Without its toolbar the main frame is not created; start-up says so and
// fails without leaving a window.
TEST_F(ViewerTest, MissingToolbarFailsStartupWithTheFrameworkMessage)
{
    AFX_RESOURCES broken = *PixmoorResources();
    broken.nToolbars = 0;
    m_app = new CPixmoorApp;
    AfxSetResources(&broken);
    char name[] = "pixmoor";
    char* argv[] = { name, nullptr };
    m_app->m_argc = 1;
    m_app->m_argv = argv;
    EXPECT_FALSE(m_app->InitInstance());
    AfxSetResources(PixmoorResources());
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    ASSERT_EQ(s_messages.size(), 1u);
    EXPECT_EQ(s_messages[0], "Failed to create empty document.");
    WndTester::ProcessEvents();
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return w->isVisible(); }));
}

}  // namespace
