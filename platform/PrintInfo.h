#pragma once
// What a print or print preview job tells the view's printing handlers.

#include "platform/Win32Types.h"

struct PrinterState;  // the chosen printer, kept by the window layer

class CPrintInfo {
public:
    CPrintInfo() = default;
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    void SetMinPage(UINT n) { m_nMinPage = n; }
    void SetMaxPage(UINT n) { m_nMaxPage = n; }

    BOOL m_bPreview = FALSE;   // print preview, not the printer
    BOOL m_bDirect = FALSE;    // print without the print dialog
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 0;  // 0: the settings' choice
    RECT m_rectDraw = { 0, 0, 0, 0 };
    PrinterState* m_pPrinter = nullptr;

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 1;  // one page unless the view says otherwise
};
