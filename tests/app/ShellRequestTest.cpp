// The desktop's open and print requests, over a real session bus and to a
// real print server that this test binary starts: forwarded by a second
// start to the running viewer (this process), served by a viewer started
// for them, and ignored as before when there is no bus.

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <QUrl>
#include <csignal>
#include <functional>
#include <memory>

#include "platform/PrinterState.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestServices.h"

namespace {

const char kBusName[] = "com.QuillonWorks.pixmoor";
const char kProgram[] = PIXMOOR_BUILD_DIR "/app/pixmoor";

std::unique_ptr<QTemporaryDir> g_home;
std::unique_ptr<TestSessionBus> g_bus;
std::unique_ptr<TestPrintServer> g_printer;

// Runs the event loop (this process may be the viewer a request goes to)
// until `done` or `ms` milliseconds have passed.
bool PumpUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        WndTester::ProcessEvents();
        QThread::msleep(5);
    }
    return true;
}

std::vector<std::string> RecentFiles()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Quillon Works", "pixmoor");
    std::vector<std::string> files;
    for (int i = 1; i <= 4; ++i) {
        const QString f = settings.value(QString("Recent File List/File%1").arg(i)).toString();
        if (!f.isEmpty())
            files.push_back(f.toStdString());
    }
    return files;
}

// This test's own connection to the bus, whatever the environment says.
QDBusConnection TestBus()
{
    return QDBusConnection::connectToBus(g_bus->Address(), "shell-test");
}

bool NameHasOwner()
{
    const QDBusReply<bool> owned = TestBus().interface()->isServiceRegistered(kBusName);
    EXPECT_TRUE(owned.isValid()) << "the test's bus does not answer";
    return owned.value();
}

class ShellRequestTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        ASSERT_FALSE(g_bus->Address().isEmpty()) << "dbus-daemon did not start";
        qputenv("DBUS_SESSION_BUS_ADDRESS", g_bus->Address().toLocal8Bit());
    }
    void TearDown() override
    {
        for (QProcess* p : m_children) {
            if (p->state() != QProcess::NotRunning) {
                kill((pid_t)p->processId(), SIGTERM);
                p->waitForFinished(10000);
            }
            delete p;
        }
        ViewerTest::TearDown();
    }

    // Starts the real program; the bus is left out of its environment when
    // `withBus` is false.
    QProcess* Run(const QStringList& args, bool withBus = true)
    {
        QProcess* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!withBus)
            env.remove("DBUS_SESSION_BUS_ADDRESS");
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(kProgram, args);
        p->waitForStarted(10000);
        m_children.push_back(p);
        return p;
    }
    // Waits for a forwarding start to end, serving its request meanwhile.
    int ExitCodeOf(QProcess* p)
    {
        if (!PumpUntil([p]() { return p->state() == QProcess::NotRunning; }, 20000))
            return -1;
        return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -2;
    }

    std::vector<QProcess*> m_children;
};

// Catches requests that start a second viewer, go the command-line road
// (title "Untitled", no recent file) or leave the forwarding process
// running: each start exits 0 and the running viewer opens the file as its
// document, or shows the framework's message for a file that is not there.
TEST_F(ShellRequestTest, SecondStartHandsItsOpenRequestToTheRunningViewer)
{
    const std::string a = WriteTestPhoto(m_dir.path(), "first.jpg", 64, 48);
    const std::string b = WriteTestPhoto(m_dir.path(), "second shot.jpg", 40, 30, qRgb(20, 200, 40));
    Start();
    ASSERT_TRUE(PumpUntil(NameHasOwner, 10000));

    const struct {
        QStringList args;
        std::string title;
        int width;
        std::vector<std::string> recent;
        std::vector<std::string> messages;
    } steps[] = {
        {{"--open", QString::fromStdString(a)}, "first.jpg - Pixmoor", 64, {a}, {}},
        // A file:// URI as a launcher passes it, with an escaped space.
        {{"--open", QUrl::fromLocalFile(QString::fromStdString(b)).toString(QUrl::FullyEncoded)},
         "second shot.jpg - Pixmoor", 40, {b, a}, {}},
        {{"--open", m_dir.path() + "/missing.jpg"}, "second shot.jpg - Pixmoor", 40, {b, a},
         {(m_dir.path() + "/missing.jpg\nCannot find this file.\nPlease verify that the correct path "
                          "and file name are given.").toStdString()}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.args.join(' ').toStdString());
        QProcess* forwarder = Run(step.args);
        EXPECT_EQ(ExitCodeOf(forwarder), 0);
        PumpUntil([&]() { return Title() == step.title && s_messages.size() == step.messages.size(); }, 10000);
        EXPECT_EQ(Title(), step.title);
        EXPECT_EQ(m_view->GetImage().GetFullWidth(), step.width);
        EXPECT_EQ(RecentFiles(), step.recent);
        EXPECT_EQ(s_messages, step.messages);
        s_messages.clear();
    }
    EXPECT_TRUE(m_dialogTitles.empty());
}

// Catches a print request that shows the print dialog, prints nothing or
// more than one page, or does not open the file first.
TEST_F(ShellRequestTest, PrintRequestPrintsOnePageOnTheDefaultPrinterWithoutADialog)
{
    ASSERT_FALSE(g_printer->Socket().isEmpty()) << "cupsd did not start";
    const std::string photo = WriteTestPhoto(m_dir.path(), "print me.jpg", 300, 200);
    QFile::remove(g_printer->OutputFile());
    Start();
    ASSERT_TRUE(PumpUntil(NameHasOwner, 10000));
    EXPECT_EQ(ExitCodeOf(Run({"--print", QString::fromStdString(photo)})), 0);
    ASSERT_TRUE(PumpUntil([]() { return QFile::exists(g_printer->OutputFile()); }, 30000))
        << "no job reached the printer";
    QFile pdf(g_printer->OutputFile());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
    EXPECT_GE(bytes.count("/Subtype /Image"), 1);
    EXPECT_TRUE(m_dialogTitles.empty());
    EXPECT_TRUE(s_messages.empty());
    EXPECT_EQ(Title(), "print me.jpg - Pixmoor");
    EXPECT_EQ(RecentFiles(), std::vector<std::string>{photo});
}

// Catches a failed print that is silent or leaves the picture unopened.
TEST_F(ShellRequestTest, PrintRequestWithoutAnyPrinterGivesTheMessage)
{
    ASSERT_FALSE(g_printer->Socket().isEmpty());
    const std::string photo = WriteTestPhoto(m_dir.path(), "p.jpg", 30, 20);
    ASSERT_EQ(g_printer->Admin({"-x", TestPrintServer::kPrinter}), 0);
    AfxGetPrinterState()->printer.setPrinterName(QString());
    Start();
    ASSERT_TRUE(PumpUntil(NameHasOwner, 10000));
    EXPECT_EQ(ExitCodeOf(Run({"--print", QString::fromStdString(photo)})), 0);
    PumpUntil([]() { return !s_messages.empty(); }, 10000);
    EXPECT_EQ(s_messages, std::vector<std::string>{"Failed to start print job."});
    EXPECT_TRUE(m_dialogTitles.empty());
    EXPECT_EQ(Title(), "p.jpg - Pixmoor");
}

// Catches a request that nobody serves when no viewer runs: a start with a
// request becomes the viewer itself, later starts hand theirs to it, and
// once it has ended a launcher's call over the bus starts one through the
// service file.
TEST_F(ShellRequestTest, WithoutARunningViewerTheRequestStartsOne)
{
    const std::string p1 = WriteTestPhoto(m_dir.path(), "one.jpg", 20, 20);
    const std::string p2 = WriteTestPhoto(m_dir.path(), "two.jpg", 20, 20);
    const std::string p3 = WriteTestPhoto(m_dir.path(), "three.jpg", 20, 20);
    ASSERT_FALSE(NameHasOwner());
    QProcess* viewer = Run({"--open", QString::fromStdString(p1)});
    ASSERT_TRUE(PumpUntil([]() { return RecentFiles().size() == 1; }, 20000));
    EXPECT_EQ(RecentFiles(), std::vector<std::string>{p1});
    EXPECT_TRUE(NameHasOwner());
    EXPECT_EQ(viewer->state(), QProcess::Running);

    EXPECT_EQ(ExitCodeOf(Run({"--open", QString::fromStdString(p2)})), 0);
    ASSERT_TRUE(PumpUntil([]() { return RecentFiles().size() == 2; }, 10000));
    EXPECT_EQ(RecentFiles(), (std::vector<std::string>{p2, p1}));

    kill((pid_t)viewer->processId(), SIGTERM);
    ASSERT_TRUE(viewer->waitForFinished(10000));
    ASSERT_TRUE(PumpUntil([]() { return !NameHasOwner(); }, 10000));
    // What a D-Bus launcher (gio open) sends.
    QDBusMessage open = QDBusMessage::createMethodCall(kBusName, "/com/QuillonWorks/pixmoor",
                                                      "org.freedesktop.Application", "Open");
    open << QStringList{QUrl::fromLocalFile(QString::fromStdString(p3)).toString()} << QVariantMap();
    const QDBusMessage reply = TestBus().call(open, QDBus::Block, 20000);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    ASSERT_TRUE(PumpUntil([]() { return RecentFiles().size() == 3; }, 20000));
    EXPECT_EQ(RecentFiles().front(), p3);
    QDBusReply<uint> pid = TestBus().interface()->servicePid(kBusName);
    ASSERT_TRUE(pid.isValid());
    kill((pid_t)pid.value(), SIGTERM);
}

// Catches a start that needs the bus: without one the command line keeps
// its road (title "Untitled", not in the recent list, no message), nothing
// is served on the bus, and a start with a request runs on its own.
TEST_F(ShellRequestTest, WithoutABusEveryStartRunsOnItsOwn)
{
    const std::string photo = WriteTestPhoto(m_dir.path(), "alone.jpg", 50, 40);
    qputenv("DBUS_SESSION_BUS_ADDRESS", "");
    Start({photo});
    EXPECT_EQ(Title(), "Untitled - Pixmoor");
    EXPECT_EQ(m_view->GetImage().GetFullWidth(), 50);
    EXPECT_TRUE(RecentFiles().empty());
    EXPECT_TRUE(s_messages.empty());
    EXPECT_FALSE(NameHasOwner());

    QProcess* own = Run({"--open", QString::fromStdString(photo)}, false);
    ASSERT_TRUE(PumpUntil([]() { return RecentFiles().size() == 1; }, 20000));
    EXPECT_EQ(own->state(), QProcess::Running);
    EXPECT_FALSE(NameHasOwner());
}

}  // namespace

// The services live for the whole run, and the bus's address and the print
// server are in the environment before Qt can look at either.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    g_home = std::make_unique<QTemporaryDir>();
    const QString home = g_home->path();
    qputenv("XDG_CONFIG_HOME", (home + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + "/data").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home + "/cache").toLocal8Bit());
    qputenv("PIXMOOR_DRIVES", ("C=" + home).toLocal8Bit());
    g_bus = std::make_unique<TestSessionBus>(home);
    g_printer = std::make_unique<TestPrintServer>(home);
    qputenv("CUPS_SERVER", g_printer->Socket().toLocal8Bit());
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const int result = RUN_ALL_TESTS();
    QDBusConnection::disconnectFromBus("shell-test");
    g_printer.reset();
    g_bus.reset();
    return result;
}
