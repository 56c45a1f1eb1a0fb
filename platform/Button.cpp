#include "platform/Button.h"

#include <QPushButton>

#include "platform/WndImpl.h"

CButton::CButton() = default;

CButton::~CButton() = default;

BOOL CButton::Create(const char* lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!pParentWnd || !pParentWnd->GetImpl())
        return FALSE;
    return CWnd::CreateEx(0, "BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::CreateWidget(const CREATESTRUCT& cs)
{
    QWidget* parent = ClientWidgetOf(m_pParentWnd);
    QPushButton* button = new QPushButton(QString::fromLocal8Bit(cs.lpszName ? cs.lpszName : ""), parent);
    button->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    button->setDefault((cs.style & BS_DEFPUSHBUTTON) != 0);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->hide();
    CWnd* parentWnd = m_pParentWnd;
    const UINT id = m_nID;
    QObject::connect(button, &QPushButton::clicked, button, [parentWnd, id]() { parentWnd->OnCommand(id, TRUE); });
    m_pImpl->root = button;
}
