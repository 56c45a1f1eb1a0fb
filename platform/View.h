#pragma once
// CView: a child window of a frame that shows a document. Paints through
// OnPrepareDC + OnDraw; prints and previews through the same OnDraw with a
// printer device context (IsPrinting() true).

#include "platform/PrintInfo.h"
#include "platform/RuntimeClass.h"
#include "platform/Wnd.h"

class CDocument;
class CDC;

class CView : public CWnd {
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    // Printing: OnPreparePrinting (usually DoPreparePrinting, the print
    // dialog), OnBeginPrinting, per page OnPrepareDC + OnPrint (OnDraw),
    // OnEndPrinting.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Shows the print dialog unless the job is direct or a preview. FALSE
    // when the user cancelled.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);

    void OnFilePrint();
    void OnFilePrintPreview();

    void OnPaint() override;
    int OnCreate(LPCREATESTRUCT lpcs) override;
    void PostNcDestroy() override;

protected:
    void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);
    void OnNextPaneCmd(UINT nID);

    CDocument* m_pDocument = nullptr;
    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};
