#include "platform/Document.h"

#include <algorithm>

#include "platform/Archive.h"
#include "platform/DocTemplate.h"
#include "platform/FileSystem.h"
#include "platform/FrameWnd.h"
#include "platform/MessageBox.h"
#include "platform/View.h"
#include "platform/WinApp.h"

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const char* lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    // The frames show the new title at once (the framework's next title update).
    for (CView* view : m_viewList) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle(TRUE);
    }
}

static std::string FileTitle(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void CDocument::SetPathName(const char* lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = lpszPathName ? lpszPathName : "";
    SetTitle(FileTitle(m_strPathName).c_str());
    CWinApp* app = AfxGetApp();
    if (bAddToMRU && app)
        app->AddToRecentFileList(m_strPathName.c_str());
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_viewList.begin(), m_viewList.end(), pView) == m_viewList.end())
        m_viewList.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    m_viewList.erase(std::remove(m_viewList.begin(), m_viewList.end(), pView), m_viewList.end());
    pView->m_pDocument = nullptr;
}

// A position is the index of the next view plus one (null: no more views).
POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.empty() ? nullptr : reinterpret_cast<POSITION>((uintptr_t)1);
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    const size_t index = (size_t)reinterpret_cast<uintptr_t>(rPosition) - 1;
    if (!rPosition || index >= m_viewList.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    rPosition = index + 1 < m_viewList.size() ? reinterpret_cast<POSITION>((uintptr_t)(index + 2)) : nullptr;
    return m_viewList[index];
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* lpszPathName)
{
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite)) {
        CFileStatus status;
        std::string message;
        if (!CFile::GetStatus(lpszPathName, status))
            message = std::string(lpszPathName) +
                      "\nCannot find this file.\nPlease verify that the correct path and file name are given.";
        else
            message = "Failed to open document.";
        AfxMessageBox(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(FALSE);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = this;
    Serialize(ar);
    file.Close();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying a frame deletes its views; keep our own list of frames.
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_viewList) {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;  // views going away must not delete us mid-way
    for (CFrameWnd* frame : frames)
        frame->DestroyWindow();
    DeleteContents();
    if (autoDelete)
        delete this;
}

void CDocument::DeleteContents()
{
}

void CDocument::Serialize(CArchive&)
{
}

BOOL CDocument::SaveModified()
{
    // Documents are never modified here, so there is nothing to ask.
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
