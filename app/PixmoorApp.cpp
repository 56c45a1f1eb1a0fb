#include "app/PixmoorApp.h"

#include <cstdio>

#include "app/AboutDialog.h"
#include "app/MainFrm.h"
#include "app/PixmoorDoc.h"
#include "app/PixmoorView.h"
#include "app/StartupFile.h"
#include "app/res/Resource.h"
#include "platform/DocTemplate.h"
#include "platform/MessageBox.h"
#include "platform/Resource.h"

const char* const kPixmoorVersionText = "pixmoor Version 1.9.6\n";
const char* const kPixmoorHelpText =
    "Usage: pixmoor [FILE.jpg]\n"
    "A JPEG photo viewer with a thumbnail browser.\n"
    "\n"
    "  FILE.jpg    the photo to show (a native path or a drive path such as C:/Photos/a.jpg)\n"
    "  /p, /pt     print requests are ignored; the file is shown\n"
    "  --open FILE...   the desktop's open request: handed to the running viewer,\n"
    "                   which opens the files as its document (or served here)\n"
    "  --print FILE...  the same, then each file is printed on the default printer\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Environment: PIXMOOR_DRIVES=\"C=/dir;D=/other\" maps drive letters to directories.\n";

BEGIN_MESSAGE_MAP(CPixmoorApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CPixmoorApp::CPixmoorApp() : CWinApp(nullptr)
{
    AfxSetResources(PixmoorResources());
}

BOOL CPixmoorApp::InitInstance()
{
    Enable3dControlsStatic();
    SetRegistryKey("Quillon Works");
    ApplyDriveSettings();
    LoadStdProfileSettings(4);

    CSingleDocTemplate* pDocTemplate = new CSingleDocTemplate(
        IDR_MAINFRAME, RUNTIME_CLASS(CPixmoorDoc), RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CPixmoorView));
    AddDocTemplate(pDocTemplate);

    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // A name too long for the start-up buffer is refused, not cut.
    const bool tooLong = SetStartupFile(cmdInfo.m_strFileName.c_str()) != 0;
    // Print, print-to and DDE requests are ignored; the file is still shown.
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    if (tooLong) {
        char text[2000];
        snprintf(text, sizeof text, "Can't open %s for read\n", cmdInfo.m_strFileName.c_str());
        AfxMessageBox(text, MB_OK);
    }
    return TRUE;
}

void CPixmoorApp::OnAppAbout()
{
    CAboutDialog aboutDlg;
    aboutDlg.DoModal();
}
