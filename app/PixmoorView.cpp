#include "app/PixmoorView.h"

#include <cstdio>
#include <cstdlib>

#include "app/FirstPaintProbe.h"
#include "app/PixmoorDoc.h"
#include "app/StartupFile.h"
#include "app/res/Resource.h"
#include "codec/JpegConverter.h"
#include "image/Orientation.h"
#include "platform/CmdUI.h"
#include "platform/Dc.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"

namespace {
const COLORREF kGrey = RGB(192, 192, 192);
}

IMPLEMENT_DYNCREATE(CPixmoorView, CScrollView)

BEGIN_MESSAGE_MAP(CPixmoorView, CScrollView)
    ON_COMMAND(ID_VIEW_SCALE_100, OnScale100)
    ON_COMMAND(ID_VIEW_SCALE_200, OnScale200)
    ON_COMMAND(ID_VIEW_SCALE_25, OnScale25)
    ON_COMMAND(ID_VIEW_SCALE_400, OnScale400)
    ON_COMMAND(ID_VIEW_SCALE_50, OnScale50)
    ON_COMMAND(ID_VIEW_SCALE_FIT, OnScaleFit)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SCALE_25, OnUpdateScale25)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SCALE_50, OnUpdateScale50)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SCALE_100, OnUpdateScale100)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SCALE_200, OnUpdateScale200)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SCALE_400, OnUpdateScale400)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SCALE_FIT, OnUpdateScaleFit)
    ON_COMMAND(ID_VIEW_ROTATE_LEFT, OnRotateLeft)
    ON_COMMAND(ID_VIEW_ROTATE_RIGHT, OnRotateRight)
    ON_COMMAND(ID_VIEW_DISPLAY_INFO, OnDisplayInfo)
    ON_COMMAND(ID_FILE_VISUAL_BROWSE, OnVisualBrowse)
    ON_COMMAND(ID_VIEW_NEXT_PICTURE, OnNextPicture)
    ON_COMMAND(ID_VIEW_PREV_PICTURE, OnPrevPicture)
    ON_COMMAND(ID_VIEW_FIRST_PICTURE, OnFirstPicture)
    ON_COMMAND(ID_VIEW_LAST_PICTURE, OnLastPicture)
    ON_UPDATE_COMMAND_UI(ID_VIEW_NEXT_PICTURE, OnUpdateNextPicture)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PREV_PICTURE, OnUpdatePrevPicture)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FIRST_PICTURE, OnUpdateFirstPicture)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LAST_PICTURE, OnUpdateLastPicture)
    ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

CPixmoorView::CPixmoorView()
    : m_pBrowse(nullptr), m_nClientWidth(1), m_nClientHeight(1), m_nScaleMode(ScaleFit),
      m_nImageWidth(0), m_nImageHeight(0)
{
    CWinApp* app = AfxGetApp();
    m_strBrowsePath = app ? app->GetProfileString("General", "Path", "C:/") : "C:/";
}

CPixmoorView::~CPixmoorView()
{
    ReleaseBrowser();
}

CPixmoorDoc* CPixmoorView::GetDocument() const
{
    return static_cast<CPixmoorDoc*>(m_pDocument);
}

BOOL CPixmoorView::PreCreateWindow(CREATESTRUCT& cs)
{
    return CScrollView::PreCreateWindow(cs);
}

void CPixmoorView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(256, 256));
}

void CPixmoorView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    // Nothing is refitted here: fit mode keeps the size of the last fit,
    // except right after a full-screen change.
    m_nClientWidth = cx;
    m_nClientHeight = cy;
    RefitAfterFullScreen();
    UpdatePanCursor();
}

// Nothing is built here, so there is nothing to wait for: the display's
// tiles are made as they are drawn.
void CPixmoorView::ApplyScale()
{
    const int w = m_image.GetFullWidth();
    const int h = m_image.GetFullHeight();
    DisplaySize size = { 0, 0 };
    if (m_nScaleMode == ScaleFit) {
        // No picture: no size is derived from the undefined ratio 0 / 0.
        if (w > 0 && h > 0)
            size = FitScaleSize(w, h, m_nClientWidth, m_nClientHeight);
    } else {
        size = FixedScaleSize(m_nScaleMode, w, h);
    }
    // Only what the window shows is built, when it is drawn: a zoom costs
    // a few windows' worth of memory at any scale.
    m_image.SetDisplaySize(size.width, size.height);
}

int CPixmoorView::LoadImage(const char* path)
{
    // Decoded straight into the layout the image keeps: no second copy. A
    // large photo takes a while: the wait cursor shows it.
    CJpegConverter converter;
    BeginWaitCursor();
    unsigned char* bits = converter.LoadFileStored(path);
    EndWaitCursor();
    if (!bits)
        return -1;
    m_nImageWidth = converter.GetWidth();
    m_nImageHeight = converter.GetHeight();
    m_image.TakeImage(path, bits, m_nImageWidth, m_nImageHeight);
    // Upright as the camera meant it, as if the user had turned it; the
    // decoded sizes stay what Display Info reports.
    OrientImage(m_image, converter.GetOrientation());
    m_folder.SetPosition(path);
    ApplyScale();
    // Straight to the display's size: a detour through the decoded size
    // would show scroll bars for one paint and take them away at the next.
    SetScrollSizesToDisplay();
    InvalidateRect(nullptr, TRUE);
    return 0;
}

void CPixmoorView::SetScrollSizesToDisplay()
{
    SetScrollSizes(MM_TEXT, CSize(m_image.GetWidth(), m_image.GetHeight()));
    UpdatePanCursor();
}

void CPixmoorView::SetScale(ScaleMode mode)
{
    EndRefitByChoice();
    m_nScaleMode = mode;
    ApplyScale();
    SetScrollSizesToDisplay();
    InvalidateRect(nullptr, FALSE);
}

void CPixmoorView::OnScaleFit()
{
    // The scroll range first: bars that go away give the client area their
    // room, and the resize that follows updates the client size before the fit.
    SetScrollSizes(MM_TEXT, CSize(m_nClientWidth, m_nClientHeight));
    if (!m_bRefitting)
        EndRefitByChoice();
    m_nScaleMode = ScaleFit;
    ApplyScale();
    InvalidateRect(nullptr, FALSE);
}

void CPixmoorView::UpdateScale(CCmdUI* pCmdUI, ScaleMode mode)
{
    pCmdUI->SetCheck(m_nScaleMode == mode ? 1 : 0);
}

void CPixmoorView::OnRotateLeft()
{
    m_image.RotateCounterClockwise();
    if (m_nScaleMode == ScaleFit)
        ApplyScale();
    SetScrollSizesToDisplay();
    InvalidateRect(nullptr, FALSE);
}

void CPixmoorView::OnRotateRight()
{
    m_image.RotateClockwise();
    if (m_nScaleMode == ScaleFit)
        ApplyScale();
    SetScrollSizesToDisplay();
    InvalidateRect(nullptr, FALSE);
}

BOOL CPixmoorView::OnEraseBkgnd(CDC* pDC)
{
    SetScrollSizesToDisplay();
    RECT box;
    pDC->GetClipBox(&box);
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int dw = m_image.GetWidth();
    const int dh = m_image.GetHeight();
    if (w > dw)
        pDC->FillSolidRect(dw, 0, w - dw, h, kGrey);
    if (h > dh)
        pDC->FillSolidRect(0, dh, w, h - dh, kGrey);
    return TRUE;
}

void CPixmoorView::OnDraw(CDC* pDC)
{
    if (g_szStartupFile[0]) {
        if (LoadImage(g_szStartupFile) != 0) {
            const std::string name = g_szStartupFile;
            g_szStartupFile[0] = '\0';
            ReportCantOpen(name.c_str());
        }
        g_szStartupFile[0] = '\0';
    }
    if (pDC->IsPrinting()) {
        DrawOnPrinter(pDC);
        ApplyScale();
        return;
    }
    DrawOnScreen(pDC);
}

void CPixmoorView::DrawOnScreen(CDC* pDC)
{
    const int dw = m_image.GetWidth();
    const int dh = m_image.GetHeight();
    if (dh != 0)
        m_image.Draw(pDC, 0, 0, dw, dh);
    if (m_nClientWidth > dw)
        pDC->FillSolidRect(dw, 0, m_nClientWidth - dw, m_nClientHeight > dh ? m_nClientHeight : dh, kGrey);
    if (m_nClientHeight > dh)
        pDC->FillSolidRect(0, dh, m_nClientWidth > dw ? m_nClientWidth : dw, m_nClientHeight - dh, kGrey);
    NoteViewPaint(dh != 0);
}

void CPixmoorView::DrawOnPrinter(CDC* pDC)
{
    if (m_image.GetHeight() == 0)
        return;
    if (m_nScaleMode != ScaleFull)
        m_image.Rescale(m_image.GetFullWidth(), m_image.GetFullHeight());
    const DisplaySize size = PrintedSize(m_image.GetWidth(), m_image.GetHeight(),
                                         pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
    m_image.Draw(pDC, 50, 50, size.width, size.height);
}

BOOL CPixmoorView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CPixmoorView::OnBeginPrinting(CDC*, CPrintInfo*)
{
}

void CPixmoorView::OnEndPrinting(CDC*, CPrintInfo*)
{
}

// The whole name goes into the message: it is never cut.
void CPixmoorView::ReportCantOpen(const char* path)
{
    const std::string text = std::string("Can't open ") + path + " for read\n";
    AfxMessageBox(text.c_str(), MB_OK);
}

void CPixmoorView::OnDisplayInfo()
{
    char text[2000];
    const char* name = m_image.GetName();
    snprintf(text, sizeof text, "Filename: %s\nWidth: %d\nHeight: %d", name ? name : "", m_nImageWidth,
             m_nImageHeight);
    AfxMessageBox(text, MB_OK);
}
