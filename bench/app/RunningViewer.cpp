#include "bench/app/RunningViewer.h"

#include <QCoreApplication>

#include "app/FirstPaintProbe.h"
#include "app/PixmoorApp.h"
#include "bench/common/BenchClock.h"
#include "platform/Wnd.h"
#include "platform/WndTester.h"

namespace {

const double kFrameTimeoutSeconds = 60;

}  // namespace

CRunningViewer::~CRunningViewer()
{
    if (!m_app)
        return;
    if (m_app->m_pMainWnd)
        m_app->m_pMainWnd->OnClose();
    WndTester::ProcessEvents();
    m_app->ExitInstance();
    delete m_app;
    WndTester::ProcessEvents();
}

bool CRunningViewer::Start()
{
    static char name[] = "pixmoor";
    static char* argv[] = { name, nullptr };
    m_app = new CPixmoorApp;
    m_app->m_argc = 1;
    m_app->m_argv = argv;
    if (!m_app->InitInstance() || !m_app->m_pMainWnd)
        return false;
    return WndTester::ShowAndWait(m_app->m_pMainWnd);
}

double CRunningViewer::OpenMs(const std::string& path)
{
    const long before = PicturePaintCount();
    const double start = Now();
    if (!m_app->OpenDocumentFile(path.c_str()))
        return -1;
    return UntilPictureDrawn(before, start);
}

double CRunningViewer::CommandMs(UINT id)
{
    const long before = PicturePaintCount();
    const double start = Now();
    m_app->m_pMainWnd->OnCommand(id);
    return UntilPictureDrawn(before, start);
}

double CRunningViewer::UntilPictureDrawn(long before, double start)
{
    while (PicturePaintCount() == before) {
        if (Now() - start > kFrameTimeoutSeconds)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    const double ms = (Now() - start) * 1e3;
    // The passes the load asked for besides (scroll bars, the erase) run
    // before the next measurement starts.
    WndTester::ProcessEvents();
    return ms;
}
