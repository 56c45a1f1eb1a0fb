#pragma once
// CToolBar: a row of image buttons on a frame, each sending its command ID.
// Buttons are greyed when their command is disabled and show the text after
// the newline of the command's prompt string as their tooltip.

#include "platform/FrameWnd.h"
#include "platform/Wnd.h"

enum : DWORD { TBSTYLE_FLAT = 0x0800 };

class CToolBar : public CWnd {
public:
    CToolBar();
    ~CToolBar() override;

    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = 0xE800);
    // Buttons and images of toolbar resource nIDResource. FALSE when there
    // is no such resource or its bitmap can't be read.
    BOOL LoadToolBar(UINT nIDResource);
    void EnableDocking(DWORD dwDockStyle);

    // Number of buttons, separators included, and the command of one.
    int GetCount() const;
    UINT GetItemID(int nIndex) const;

protected:
    void CreateWidget(const CREATESTRUCT& cs) override;

private:
    DWORD m_dwCtrlStyle = 0;
    DWORD m_dwBarStyle = 0;
};
