#include "platform/Dialog.h"

#include <QDialog>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "platform/ModalRunner.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/WndImpl.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pDlgParent(pParentWnd)
{
}

CDialog::~CDialog() = default;

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    m_nResult = IDOK;
    if (QDialog* dialog = qobject_cast<QDialog*>(RootWidgetOf(this)))
        dialog->accept();
}

void CDialog::OnCancel()
{
    m_nResult = IDCANCEL;
    if (QDialog* dialog = qobject_cast<QDialog*>(RootWidgetOf(this)))
        dialog->reject();
}

// The template font: the Win32 dialog font maps to the sans-serif family
// the desktop has (Liberation Sans on Debian).
static QFont TemplateFont(const DIALOG_RESOURCE& res)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(res.nPointSize > 0 ? res.nPointSize : 8);
    return font;
}

void CDialog::CreateWidget(const CREATESTRUCT&)
{
    const DIALOG_RESOURCE* res = AfxFindDialog(m_nIDTemplate);
    CWnd* owner = m_pDlgParent;
    if (!owner && AfxGetApp())
        owner = AfxGetApp()->m_pMainWnd;
    QWidget* parent = owner ? RootWidgetOf(owner) : nullptr;
    QDialog* dialog = new QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                              Qt::WindowCloseButtonHint);
    m_pImpl->root = dialog;
    if (!res)
        return;
    const QFont font = TemplateFont(*res);
    dialog->setFont(font);
    // Dialog base units: average width of the alphabet and the font height.
    const QFontMetrics fm(font);
    const int baseX = (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int baseY = fm.height();
    auto px = [baseX](int dlu) { return dlu * baseX / 4; };
    auto py = [baseY](int dlu) { return dlu * baseY / 8; };
    dialog->setWindowTitle(QString::fromUtf8(res->lpszCaption ? res->lpszCaption : ""));
    dialog->setFixedSize(px(res->cx), py(res->cy));
    for (int i = 0; i < res->nItems; ++i) {
        const DIALOG_ITEM& item = res->pItems[i];
        const QRect r(px(item.x), py(item.y), px(item.cx), py(item.cy));
        const QString text = QString::fromUtf8(item.lpszText ? item.lpszText : "");
        switch (item.kind) {
        case DLG_ICON: {
            QLabel* label = new QLabel(dialog);
            label->setObjectName(QStringLiteral("icon%1").arg(item.nID));
            const ICON_RESOURCE* icon = AfxFindIcon(item.nID);
            if (icon && icon->pfnDraw) {
                QImage image(32, 32, QImage::Format_ARGB32);
                icon->pfnDraw(32, reinterpret_cast<uint32_t*>(image.bits()));
                label->setPixmap(QPixmap::fromImage(image));
            }
            label->setGeometry(r.x(), r.y(), 32, 32);
            break;
        }
        case DLG_LTEXT: {
            QLabel* label = new QLabel(text, dialog);
            label->setGeometry(r);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            break;
        }
        case DLG_PUSHBUTTON:
        case DLG_DEFPUSHBUTTON: {
            QPushButton* button = new QPushButton(text, dialog);
            button->setGeometry(r);
            button->setDefault(item.kind == DLG_DEFPUSHBUTTON);
            const UINT id = item.nID;
            QObject::connect(button, &QPushButton::clicked, dialog, [this, id]() {
                if (id == IDOK)
                    OnOK();
                else if (id == IDCANCEL)
                    OnCancel();
                else
                    OnCommand(id, TRUE);
            });
            break;
        }
        }
    }
}

int CDialog::DoModal()
{
    if (!AfxFindDialog(m_nIDTemplate))
        return -1;
    m_nResult = IDCANCEL;
    if (!CreateEx(0, "#32770", nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU, CRect(0, 0, 0, 0), nullptr, 0))
        return -1;
    QDialog* dialog = qobject_cast<QDialog*>(RootWidgetOf(this));
    OnInitDialog();
    const int result = AfxRunModal(*dialog);
    if (result == QDialog::Accepted)
        m_nResult = IDOK;
    DestroyWindow();
    return m_nResult;
}
