#include "platform/View.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/AfxRes.h"
#include "platform/CmdUI.h"
#include "platform/Dc.h"
#include "platform/Document.h"
#include "platform/FrameWnd.h"
#include "platform/MessageBox.h"
#include "platform/ModalRunner.h"
#include "platform/PrinterState.h"
#include "platform/QtDc.h"
#include "platform/WinApp.h"
#include "platform/WndImpl.h"

PrinterState* AfxGetPrinterState()
{
    static PrinterState state;
    return &state;
}

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateNextPaneMenu)
    ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateNextPaneMenu)
    ON_COMMAND_RANGE(ID_NEXT_PANE, ID_PREV_PANE, OnNextPaneCmd)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnInitialUpdate()
{
    Invalidate(TRUE);
}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    if (pInfo)
        pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= pInfo->GetMaxPage();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CView::OnPreparePrinting(CPrintInfo*)
{
    return TRUE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*)
{
}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*)
{
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (!pInfo->m_pPrinter)
        pInfo->m_pPrinter = AfxGetPrinterState();
    if (pInfo->m_bPreview || pInfo->m_bDirect)
        return TRUE;
    QPrintDialog dialog(&pInfo->m_pPrinter->printer, RootWidgetOf(GetParentFrame()));
    dialog.setMinMax((int)pInfo->GetMinPage(), (int)pInfo->GetMaxPage());
    return AfxRunModal(dialog) == QDialog::Accepted;
}

// One print or preview pass over the pages, with a printer context at the
// printer's resolution. False when the printer would not start.
static bool RunPrintJob(CView* view, QPrinter& printer, CPrintInfo& info)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int dpi = printer.resolution();
    CDC dc(NewDcImpl(&painter, true, dpi, dpi));
    view->OnBeginPrinting(&dc, &info);
    for (UINT page = info.GetMinPage(); page <= info.GetMaxPage(); ++page) {
        info.m_nCurPage = page;
        const QRect r = printer.pageLayout().paintRectPixels(dpi);
        info.m_rectDraw = RECT{ 0, 0, r.width(), r.height() };
        view->OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (page > info.GetMinPage())
            printer.newPage();
        view->OnPrint(&dc, &info);
    }
    view->OnEndPrinting(&dc, &info);
    painter.end();
    return true;
}

// Printing without the dialog goes to the default printer as it is now: one
// may have been set up since the printer object was made.
static void AimAtDefaultPrinter(QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.isValid())
        return;
    const QPrinterInfo fallback = QPrinterInfo::defaultPrinter();
    if (!fallback.isNull())
        printer.setPrinterName(fallback.printerName());
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    info.m_bDirect = CWnd::GetCurrentCommand() == ID_FILE_PRINT_DIRECT;
    info.m_pPrinter = AfxGetPrinterState();
    if (!OnPreparePrinting(&info))
        return;
    if (info.m_bDirect)
        AimAtDefaultPrinter(info.m_pPrinter->printer);
    BeginWaitCursor();
    const bool printed = RunPrintJob(this, info.m_pPrinter->printer, info);
    EndWaitCursor();
    // No printer at all, or one that refused the job.
    if (!printed)
        AfxMessageBox("Failed to start print job.", MB_OK | MB_ICONEXCLAMATION);
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    info.m_pPrinter = AfxGetPrinterState();
    if (!OnPreparePrinting(&info))
        return;
    QPrintPreviewDialog dialog(&info.m_pPrinter->printer, RootWidgetOf(GetParentFrame()));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this, &info](QPrinter* printer) { RunPrintJob(this, *printer, info); });
    // Pages side by side: "Settings"/"PreviewPages" (2: two pages).
    CWinApp* app = AfxGetApp();
    const UINT pages = app ? app->GetProfileInt("Settings", "PreviewPages", 0) : 0;
    QPrintPreviewWidget* widget = dialog.findChild<QPrintPreviewWidget*>();
    if (widget && pages == 2)
        widget->setViewMode(QPrintPreviewWidget::FacingPagesView);
    AfxRunModal(dialog);
    if (widget && app) {
        const UINT shown = widget->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1;
        if (shown != (pages == 2 ? 2u : 1u))
            app->WriteProfileInt("Settings", "PreviewPages", (int)shown);
    }
}

void CView::OnUpdateNextPaneMenu(CCmdUI* pCmdUI)
{
    // One pane only: there is no other pane to go to.
    pCmdUI->Enable(FALSE);
}

void CView::OnNextPaneCmd(UINT)
{
}
