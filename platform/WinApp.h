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
    // FALSE when the store could not be written.
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue);
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
    void EnableShellOpen();
    // Writes the desktop entry that offers this program for the document
    // type's files (see README.md); failures are ignored.
    void RegisterShellFileTypes(BOOL bCompat = FALSE);

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
