#pragma once
// CButton: a push button in a window's client area. A click sends the
// button's ID as a command to its parent window.

#include "platform/Wnd.h"

class CButton : public CWnd {
public:
    CButton();
    ~CButton() override;

    BOOL Create(const char* lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

protected:
    void CreateWidget(const CREATESTRUCT& cs) override;
};
