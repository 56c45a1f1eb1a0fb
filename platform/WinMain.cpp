// AfxWinMain, the program's entry into the framework: checks for a display,
// makes the Qt application, takes a desktop request off the command line,
// runs InitInstance and the event loop.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "platform/AfxRes.h"
#include "platform/QtMessageBox.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"

static bool g_bCreatingApplication = false;

// While the Qt application is made, Qt's own warnings are held back and a
// fatal failure (no usable platform plugin) ends the process with one line
// instead of an abort.
static void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtFatalMsg && g_bCreatingApplication) {
        fprintf(stderr, "pixmoor: cannot open the display (no usable Qt platform plugin)\n");
        fflush(stderr);
        _exit(1);
    }
}

static bool HaveDisplayEnvironment()
{
    const char* qpa = getenv("QT_QPA_PLATFORM");
    const char* x11 = getenv("DISPLAY");
    const char* wayland = getenv("WAYLAND_DISPLAY");
    return (qpa && *qpa) || (x11 && *x11) || (wayland && *wayland);
}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    if (!HaveDisplayEnvironment()) {
        fprintf(stderr, "pixmoor: no display (set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen)\n");
        return 1;
    }
    g_bCreatingApplication = true;
    QtMessageHandler previous = qInstallMessageHandler(StartupMessageHandler);
    QApplication qapp(argc, argv);
    qInstallMessageHandler(previous);
    g_bCreatingApplication = false;

    if (app->m_strAppName.empty())
        AfxLoadString(AFX_IDS_APP_TITLE, app->m_strAppName);
    QApplication::setApplicationName(QString::fromUtf8(app->m_strAppName.c_str()));
    InstallQtMessageBoxes();
    // Qt has taken its own options out of argv by now; the request comes
    // out of a copy, leaving Qt's arguments alone.
    std::vector<char*> args(argv, argv + argc + 1);
    int appArgc = argc;
    app->m_shellRequest = TakeShellRequest(&appArgc, args.data());
    app->m_argc = appArgc;
    app->m_argv = args.data();
    if (!app->InitInstance()) {
        // A forwarding process writes nothing back (its recent-file list
        // would overwrite the one the running viewer has just changed).
        if (app->m_bShellForwarded)
            return 0;
        app->ExitInstance();
        return 1;
    }
    app->ServeShellRequestOfCommandLine();
    return app->Run();
}
