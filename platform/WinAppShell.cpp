// CWinApp's side of the desktop: the desktop entry and D-Bus service file
// that offer the program for the document type, and the open and print
// requests the desktop sends to the running viewer.

#include <QCoreApplication>
#include <QTimer>

#include "platform/AfxRes.h"
#include "platform/DesktopEntry.h"
#include "platform/DocTemplate.h"
#include "platform/FrameWnd.h"
#include "platform/ShellService.h"
#include "platform/WinApp.h"

// The desktop entry's name before it became the bus name.
static const char kEarlierEntryId[] = "pixmoor";

static std::string BusNameOf(const CWinApp& app)
{
    return ShellBusName(app.m_strRegistryKey, app.m_strAppName.empty() ? "pixmoor" : app.m_strAppName);
}

void CWinApp::EnableShellOpen()
{
    const std::string name = BusNameOf(*this);
    if (m_shellRequest.kind != ShellRequest::kNone && ForwardShellRequest(name, m_shellRequest) == 0) {
        m_bShellForwarded = TRUE;
        return;
    }
    StartShellService(name, [this](const ShellRequest& request) { OnShellRequest(request); });
}

void CWinApp::RegisterShellFileTypes(BOOL)
{
    if (m_templates.empty())
        return;
    DesktopEntry entry;
    std::string ext;
    m_templates.front()->GetDocString(entry.name, CDocTemplate::windowTitle);
    m_templates.front()->GetDocString(entry.comment, CDocTemplate::regFileTypeName);
    m_templates.front()->GetDocString(ext, CDocTemplate::filterExt);
    entry.id = BusNameOf(*this);
    entry.icon = m_strAppName.empty() ? "pixmoor" : m_strAppName;
    entry.mimeType = MimeTypeOfExtension(ext.c_str());
    entry.executable = QCoreApplication::applicationFilePath().toLocal8Bit().toStdString();
    entry.dbusActivatable = true;
    WriteDesktopEntry(entry, kEarlierEntryId);
}

void CWinApp::OnShellRequest(const ShellRequest& request)
{
    for (const std::string& file : request.files) {
        const std::string path = ShellRequestPath(file);
        if (path.empty())
            continue;
        CDocument* doc = OpenDocumentFile(path.c_str());
        if (doc && request.kind == ShellRequest::kPrint && m_pMainWnd)
            m_pMainWnd->OnCommand(ID_FILE_PRINT_DIRECT);
    }
    if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->ActivateFrame();
}

void CWinApp::ServeShellRequestOfCommandLine()
{
    if (m_shellRequest.kind == ShellRequest::kNone || !QCoreApplication::instance())
        return;
    const ShellRequest request = m_shellRequest;
    QTimer::singleShot(0, QCoreApplication::instance(), [this, request]() { OnShellRequest(request); });
}
