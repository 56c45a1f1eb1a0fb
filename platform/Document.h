#pragma once
// CDocument: the data side of document/view. Has a title, the path of the
// file it was opened from and its views. Opening a file runs Serialize with
// a loading archive on it. The framework never writes documents: there is no
// save command (see README.md).

#include <string>
#include <vector>

#include "platform/CmdTarget.h"
#include "platform/RuntimeClass.h"

class CArchive;
class CDocTemplate;
class CView;

typedef struct PositionTag* POSITION;

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    const std::string& GetTitle() const { return m_strTitle; }
    // Sets the title and the main-window titles of the document's frames.
    virtual void SetTitle(const char* lpszTitle);
    const std::string& GetPathName() const { return m_strPathName; }
    // Keeps the full path, titles the document with the file's name and
    // adds the path to the recent-file list.
    virtual void SetPathName(const char* lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;

    // Empties the path name; a new document keeps its title from the
    // template ("Untitled").
    virtual BOOL OnNewDocument();
    // Opens the file for reading and runs Serialize on a loading archive.
    // FALSE, after a message, when the file can't be opened.
    virtual BOOL OnOpenDocument(const char* lpszPathName);
    // Destroys the frames of the views and then the document.
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    virtual void Serialize(CArchive& ar);
    virtual BOOL SaveModified();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;

protected:
    std::string m_strTitle;
    std::string m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;
};
