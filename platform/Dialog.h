#pragma once
// CDialog: a modal dialog built from a dialog template (Resource.h). The
// template's dialog units become pixels through the template font's
// average character size, as on Win32. DoModal runs through AfxRunModal
// (ModalRunner.h) so tests never block.

#include "platform/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // IDOK or IDCANCEL; -1 when the template is missing.
    virtual int DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate;

protected:
    void CreateWidget(const CREATESTRUCT& cs) override;
    int m_nResult = IDCANCEL;
    CWnd* m_pDlgParent;  // the window the dialog is modal to
};
