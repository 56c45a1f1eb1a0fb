#include "platform/DocTemplate.h"

#include "platform/Document.h"
#include "platform/FrameWnd.h"
#include "platform/MessageBox.h"
#include "platform/Resource.h"
#include "platform/RuntimeClass.h"
#include "platform/View.h"
#include "platform/WinApp.h"

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(std::string& rString, DocStringIndex index) const
{
    rString.clear();
    std::string all;
    if (!AfxLoadString(m_nIDResource, all))
        return FALSE;
    size_t start = 0;
    for (int i = 0; i < (int)index; ++i) {
        start = all.find('\n', start);
        if (start == std::string::npos)
            return FALSE;
        ++start;
    }
    const size_t end = all.find('\n', start);
    rString = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return TRUE;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(const char* lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    CDocument* doc = GetOnlyDocument();
    if (doc && lpszPathName && doc->GetPathName() == lpszPathName) {
        rpDocMatch = doc;
        return yesAlreadyOpen;
    }
    return yesAttemptNative;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CCmdTarget* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    CDocument* doc = dynamic_cast<CDocument*>(object);
    if (!doc) {
        delete object;
        return nullptr;
    }
    doc->m_pDocTemplate = this;
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd*)
{
    CCmdTarget* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        // A frame that failed to create has deleted itself.
        return nullptr;
    }
    return frame;
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    std::string title;
    if (!GetDocString(title, docName) || title.empty())
        AfxLoadString(AFX_IDS_UNTITLED, title);
    pDocument->SetTitle(title.c_str());
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* lpszPathName, BOOL bMakeVisible)
{
    CDocument* doc = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (doc) {
        if (!doc->SaveModified())
            return nullptr;
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = doc->GetNextView(pos);
        frame = view ? view->GetParentFrame() : nullptr;
    } else {
        doc = CreateNewDocument();
        if (!doc) {
            AfxMessageBox("Failed to create empty document.", MB_OK | MB_ICONEXCLAMATION);
            return nullptr;
        }
        m_pOnlyDoc = doc;
        created = true;
        frame = CreateNewFrame(doc, nullptr);
        if (!frame) {
            AfxMessageBox("Failed to create empty document.", MB_OK | MB_ICONEXCLAMATION);
            m_pOnlyDoc = nullptr;
            delete doc;
            return nullptr;
        }
    }

    if (!lpszPathName) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            if (created)
                frame->DestroyWindow();
            return nullptr;
        }
    } else {
        const BOOL wasModified = doc->IsModified();
        if (!doc->OnOpenDocument(lpszPathName)) {
            // The message has been shown; the document stays as it was.
            if (created) {
                frame->DestroyWindow();
            } else {
                doc->SetModifiedFlag(wasModified);
            }
            return nullptr;
        }
        doc->SetPathName(lpszPathName);
    }

    CWinApp* app = AfxGetApp();
    if (created && app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    if (frame)
        frame->InitialUpdateFrame(doc, bMakeVisible);
    return doc;
}
