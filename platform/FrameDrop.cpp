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

bool Acceptable(CFrameWnd* frame, const QMimeData* mime)
{
    if (!frame)
        return false;
    const std::vector<std::string> paths = LocalFiles(mime);
    return !paths.empty() && frame->OnQueryDropFile(paths.front().c_str());
}

}  // namespace

void CFrameWidget::dragEnterEvent(QDragEnterEvent* e)
{
    if (Acceptable(m_frame, e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void CFrameWidget::dragMoveEvent(QDragMoveEvent* e)
{
    if (Acceptable(m_frame, e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void CFrameWidget::dropEvent(QDropEvent* e)
{
    if (!Acceptable(m_frame, e->mimeData())) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    m_frame->OnDropFiles(LocalFiles(e->mimeData()));
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
