#pragma once
// CWinApp: the application object. Holds the settings store, the
// recent-file list and the document templates, runs start-up
// (InitInstance), the event loop and the framework's file commands.
//
// Settings live in Qt's per-user store (an INI file under
// $XDG_CONFIG_HOME/<registry key>/<application name>.conf) once
// SetRegistryKey has named the company; before that nothing is stored.

#include <string>
#include <vector>

#include "platform/CmdTarget.h"
#include "platform/CommandLineInfo.h"
#include "platform/ShellRequest.h"

class CDocTemplate;
class CDocument;
class CRecentFileList;
class CWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the event loop until the main window is gone.
    virtual int Run();

    // --- settings -----------------------------------------------------------
    void SetRegistryKey(const char* lpszRegistryKey);
    std::string GetProfileString(const char* lpszSection, const char* lpszEntry,
                                 const char* lpszDefault = nullptr);
    // A null value removes the entry; a null entry removes the section.
    // FALSE when the store could not be written. Each write reaches the
    // file at once (a lock, two syncs and a rename), except between
    // BeginProfileBatch and EndProfileBatch, which writes them in one go.
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue);
    void BeginProfileBatch();
    BOOL EndProfileBatch();
    UINT GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault);
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue);
    // Maps drive letters from the settings section "Drives" (keys "C",
    // "D"...: native directories), then applies PIXMOOR_DRIVES again so the
    // environment wins.
    void ApplyDriveSettings();

    // --- documents and files ------------------------------------------------
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void AddDocTemplate(CDocTemplate* pTemplate);
    virtual CDocument* OpenDocumentFile(const char* lpszFileName);
    virtual void AddToRecentFileList(const char* lpszPathName);
    std::vector<std::string> GetRecentFiles() const;
    void Enable3dControlsStatic() {}

    // --- the desktop's requests (WinAppShell.cpp) ---------------------------
    // Serves the desktop's open and print requests from now on, over the
    // session bus (README.md). When this process was started with such a
    // request and a viewer runs already, hands it over instead and sets
    // m_bShellForwarded: ProcessShellCommand then creates nothing and the
    // process ends with 0.
    void EnableShellOpen();
    // Writes the desktop entry that offers this program for the document
    // type's files, and its D-Bus service file (see README.md); failures
    // are ignored.
    void RegisterShellFileTypes(BOOL bCompat = FALSE);
    // A request from the desktop: each file opened as the document (the
    // framework's message when it can't be), a print request printing each
    // one opened at once without the print dialog (ID_FILE_PRINT_DIRECT),
    // then the main window raised.
    virtual void OnShellRequest(const ShellRequest& request);
    // Serves the request this process was started with, once the event loop
    // runs, when it was not handed over.
    void ServeShellRequestOfCommandLine();

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // --- framework commands -------------------------------------------------
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnOpenRecentFile(UINT nID);

    // Ends the event loop (the main window is gone).
    void PostQuit();

    CWnd* m_pMainWnd = nullptr;
    std::string m_strAppName;      // settings and message-box caption
    std::string m_strRegistryKey;  // company
    int m_argc = 0;
    char** m_argv = nullptr;
    CRecentFileList* m_pRecentFileList = nullptr;
    ShellRequest m_shellRequest;  // from "--open" / "--print" on the command line
    BOOL m_bShellForwarded = FALSE;

    struct Impl;

protected:
    std::vector<CDocTemplate*> m_templates;
    bool m_bQuit = false;
    Impl* m_pAppImpl;

    DECLARE_MESSAGE_MAP()
};

// The application object, or null before one is constructed.
CWinApp* AfxGetApp();

// Entry point: checks for a display, makes the Qt application, runs
// InitInstance and the event loop. Returns the process's exit code.
int AfxWinMain(int argc, char** argv);
