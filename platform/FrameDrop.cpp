// Files dropped on a frame from a file manager: the drag's URL list, of
// which only local files count. The first item decides whether the drop
// cursor accepts the drag.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "platform/FrameWndImpl.h"
#include "platform/WinApp.h"

namespace {

std::vector<std::string> LocalFiles(const QMimeData* mime)
{
    std::vector<std::string> paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            break;  // the list counts up to its first item that is no file
        paths.push_back(url.toLocalFile().toLocal8Bit().toStdString());
    }
    return paths;
}

// Accepts the drag or drop when the frame wants its first local file, and
// returns that file list; ignores it (and returns nothing) otherwise.
std::vector<std::string> Answer(CFrameWnd* frame, QDropEvent* e)
{
    std::vector<std::string> paths = frame ? LocalFiles(e->mimeData()) : std::vector<std::string>();
    if (paths.empty() || !frame->OnQueryDropFile(paths.front().c_str())) {
        e->ignore();
        return {};
    }
    e->acceptProposedAction();
    return paths;
}

}  // namespace

void CFrameWidget::dragEnterEvent(QDragEnterEvent* e)
{
    Answer(m_frame, e);
}

void CFrameWidget::dragMoveEvent(QDragMoveEvent* e)
{
    Answer(m_frame, e);
}

void CFrameWidget::dropEvent(QDropEvent* e)
{
    const std::vector<std::string> paths = Answer(m_frame, e);
    if (!paths.empty())
        m_frame->OnDropFiles(paths);
}

void CFrameWnd::DragAcceptFiles(BOOL bAccept)
{
    if (m_pFrame->window)
        m_pFrame->window->setAcceptDrops(bAccept != FALSE);
}

BOOL CFrameWnd::OnQueryDropFile(const char*)
{
    return TRUE;
}

// One document at a time: the first file is opened, the rest are left.
void CFrameWnd::OnDropFiles(const std::vector<std::string>& paths)
{
    CWinApp* app = AfxGetApp();
    if (paths.empty() || !app)
        return;
    ActivateFrame();
    app->OpenDocumentFile(paths.front().c_str());
}
