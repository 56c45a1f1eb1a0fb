#include "platform/WinApp.h"

#include <QApplication>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/AfxRes.h"
#include "platform/DocTemplate.h"
#include "platform/Document.h"
#include "platform/DriveTable.h"
#include "platform/FileSystem.h"
#include "platform/FrameWnd.h"
#include "platform/ModalRunner.h"
#include "platform/PrinterState.h"
#include "platform/RecentFileList.h"
#include "platform/Resource.h"
#include "platform/ShellService.h"
#include "platform/View.h"
#include "platform/WndImpl.h"

struct CWinApp::Impl {
    QSettings* settings = nullptr;
    int batch = 0;  // open BeginProfileBatch calls

    // Writes what changed to the file, unless a batch is open.
    BOOL Flush()
    {
        if (batch > 0)
            return TRUE;
        settings->sync();
        return settings->status() == QSettings::NoError;
    }
};

static CWinApp* g_pApp = nullptr;

CWinApp* AfxGetApp()
{
    return g_pApp;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, OnOpenRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* lpszAppName) : m_pAppImpl(new Impl)
{
    if (lpszAppName)
        m_strAppName = lpszAppName;
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    StopShellService();
    for (CDocTemplate* t : m_templates)
        delete t;
    delete m_pRecentFileList;
    delete m_pAppImpl->settings;
    delete m_pAppImpl;
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList(this);
    if (m_pAppImpl->settings)
        m_pAppImpl->settings->sync();
    return 0;
}

int CWinApp::Run()
{
    if (!m_bQuit && m_pMainWnd)
        QApplication::exec();
    return ExitInstance();
}

void CWinApp::PostQuit()
{
    m_bQuit = true;
    if (QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), []() { QCoreApplication::quit(); });
}

// ---------------------------------------------------------------------------
// Settings

void CWinApp::SetRegistryKey(const char* lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : "";
    if (m_strAppName.empty())
        AfxLoadString(AFX_IDS_APP_TITLE, m_strAppName);
    delete m_pAppImpl->settings;
    m_pAppImpl->settings = new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                         QString::fromUtf8(m_strRegistryKey.c_str()),
                                         QString::fromUtf8(m_strAppName.c_str()));
}

// Qt's INI files keep keys outside any group in the section [General], so
// the section "General" maps to those keys and reads as [General] in the file.
static bool IsGeneral(const char* section)
{
    return strcmp(section, "General") == 0;
}

static QString Key(const char* section, const char* entry)
{
    if (IsGeneral(section))
        return QString::fromUtf8(entry);
    return QString::fromUtf8(section) + QLatin1Char('/') + QString::fromUtf8(entry);
}

std::string CWinApp::GetProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszDefault)
{
    const std::string fallback = lpszDefault ? lpszDefault : "";
    QSettings* s = m_pAppImpl->settings;
    if (!s || !lpszSection || !lpszEntry)
        return fallback;
    const QVariant v = s->value(Key(lpszSection, lpszEntry));
    if (!v.isValid())
        return fallback;
    return v.toString().toLocal8Bit().toStdString();
}

BOOL CWinApp::WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue)
{
    QSettings* s = m_pAppImpl->settings;
    if (!s || !lpszSection)
        return FALSE;
    if (!lpszEntry && IsGeneral(lpszSection)) {
        for (const QString& key : s->childKeys())
            s->remove(key);
    } else if (!lpszEntry) {
        s->remove(QString::fromUtf8(lpszSection));
    } else if (!lpszValue) {
        s->remove(Key(lpszSection, lpszEntry));
    } else {
        s->setValue(Key(lpszSection, lpszEntry), QString::fromLocal8Bit(lpszValue));
    }
    return m_pAppImpl->Flush();
}

void CWinApp::BeginProfileBatch()
{
    m_pAppImpl->batch++;
}

BOOL CWinApp::EndProfileBatch()
{
    if (m_pAppImpl->batch > 0)
        m_pAppImpl->batch--;
    return m_pAppImpl->settings ? m_pAppImpl->Flush() : FALSE;
}

UINT CWinApp::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault)
{
    QSettings* s = m_pAppImpl->settings;
    if (!s || !lpszSection || !lpszEntry)
        return (UINT)nDefault;
    bool ok = false;
    const int value = s->value(Key(lpszSection, lpszEntry)).toInt(&ok);
    return (UINT)(ok ? value : nDefault);
}

BOOL CWinApp::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue)
{
    QSettings* s = m_pAppImpl->settings;
    if (!s || !lpszSection || !lpszEntry)
        return FALSE;
    s->setValue(Key(lpszSection, lpszEntry), nValue);
    return m_pAppImpl->Flush();
}

void CWinApp::ApplyDriveSettings()
{
    QSettings* s = m_pAppImpl->settings;
    if (!s)
        return;
    CDriveTable& drives = CDriveTable::Instance();
    s->beginGroup(QStringLiteral("Drives"));
    const QStringList keys = s->childKeys();
    for (const QString& key : keys) {
        if (key.size() == 1)
            drives.SetDrive(key.at(0).toLatin1(), s->value(key).toString().toLocal8Bit().toStdString());
    }
    s->endGroup();
    if (const char* env = getenv("PIXMOOR_DRIVES"))
        drives.Apply(env);
}

// ---------------------------------------------------------------------------
// Documents

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", (int)nMaxMRU);
    m_pRecentFileList->ReadList(this);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.push_back(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(const char* lpszFileName)
{
    if (m_templates.empty() || !lpszFileName)
        return nullptr;
    const std::string path = PlatformFullPath(lpszFileName);
    CDocTemplate* pTemplate = m_templates.front();
    CDocument* match = nullptr;
    if (pTemplate->MatchDocType(path.c_str(), match) == CDocTemplate::yesAlreadyOpen) {
        // Already open: only bring its window forward, nothing is read.
        POSITION pos = match->GetFirstViewPosition();
        if (CView* view = match->GetNextView(pos)) {
            if (CFrameWnd* frame = view->GetParentFrame())
                frame->ActivateFrame();
        }
        return match;
    }
    return pTemplate->OpenDocumentFile(path.c_str());
}

void CWinApp::AddToRecentFileList(const char* lpszPathName)
{
    if (!m_pRecentFileList)
        return;
    m_pRecentFileList->Add(lpszPathName);
    m_pRecentFileList->WriteList(this);
}

std::vector<std::string> CWinApp::GetRecentFiles() const
{
    return m_pRecentFileList ? m_pRecentFileList->GetNames() : std::vector<std::string>();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (int i = 1; i < m_argc; ++i) {
        const char* arg = m_argv[i];
        const bool flag = CCommandLineInfo::IsSwitch(arg);
        rCmdInfo.ParseParam(flag ? arg + 1 : arg, flag, i + 1 == m_argc);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    // The desktop's request went to the viewer that runs: nothing to start.
    if (m_bShellForwarded)
        return FALSE;
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName.c_str()) != nullptr;
    default:
        // Printing, DDE and unregistering from the command line are not
        // served on this platform.
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Commands

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    if (m_templates.empty())
        return;
    std::string filterName, filterExt, allFilter, title;
    m_templates.front()->GetDocString(filterName, CDocTemplate::filterName);
    m_templates.front()->GetDocString(filterExt, CDocTemplate::filterExt);
    AfxLoadString(AFX_IDS_ALLFILTER, allFilter);
    AfxLoadString(AFX_IDS_OPENFILE, title);
    QStringList filters;
    if (!filterName.empty())
        filters << QString::fromUtf8(filterName.substr(0, filterName.find(" (")).c_str()) +
                       QStringLiteral(" (*%1)").arg(QString::fromUtf8(filterExt.c_str()));
    filters << QString::fromUtf8(allFilter.substr(0, allFilter.find(" (")).c_str()) + QStringLiteral(" (*)");
    QFileDialog dialog(RootWidgetOf(m_pMainWnd), QString::fromUtf8(title.c_str()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (AfxRunModal(dialog) != QDialog::Accepted)
        return;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return;
    OpenDocumentFile(files.first().toLocal8Bit().constData());
}

void CWinApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(&AfxGetPrinterState()->printer, RootWidgetOf(m_pMainWnd));
    AfxRunModal(dialog);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->OnClose();
}

void CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList)
        return;
    const int index = (int)(nID - ID_FILE_MRU_FILE1);
    const std::vector<std::string>& names = m_pRecentFileList->GetNames();
    if (index < 0 || index >= (int)names.size())
        return;
    const std::string path = names[(size_t)index];
    if (!OpenDocumentFile(path.c_str())) {
        // A file that can no longer be opened leaves the list.
        m_pRecentFileList->Remove(index);
        m_pRecentFileList->WriteList(this);
    }
}
