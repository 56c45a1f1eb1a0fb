#pragma once
// Document templates: what the framework creates for a document. A
// single-document template keeps one document, one frame and one view and
// reuses them for every file opened.

#include <string>

#include "platform/Win32Types.h"

class CDocument;
class CFrameWnd;
struct CRuntimeClass;

class CDocTemplate {
public:
    // Fields of the document string (resource string nIDResource).
    enum DocStringIndex {
        windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName
    };
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign,
                      yesAttemptNative, yesAlreadyOpen };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    virtual ~CDocTemplate();

    BOOL GetDocString(std::string& rString, DocStringIndex index) const;
    // yesAlreadyOpen (and the document) when a document holds that path.
    virtual Confidence MatchDocType(const char* lpszPathName, CDocument*& rpDocMatch);
    // Null path: a new, untitled document. Otherwise opens the file; null
    // when it can't be opened.
    virtual CDocument* OpenDocumentFile(const char* lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void RemoveDocument(CDocument* pDoc) = 0;
    virtual CDocument* GetOnlyDocument() const = 0;

    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    void SetDefaultTitle(CDocument* pDocument);

    UINT m_nIDResource;

protected:
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(const char* lpszPathName, BOOL bMakeVisible = TRUE) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* GetOnlyDocument() const override { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};
