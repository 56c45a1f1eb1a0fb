#pragma once
// CPixmoorView: the main window's only view and the owner of the picture.
// Loads a JPEG file into its RGB image, shows it at 25 % to 400 % or fitted
// to the client area with grey around it, turns it by 90 degrees, tells the
// file's name and size, and prints it with the shorter side 4 inches long.
// It also steps through the photo's folder (ViewFolderSteps.cpp) and zooms
// with Ctrl + wheel and pans by dragging (ViewMouse.cpp), and refits the
// picture around full screen (ViewFullScreen.cpp).

#include <string>

#include "app/FolderSequence.h"
#include "app/ScaleGeometry.h"
#include "image/RgbImage.h"
#include "platform/ScrollView.h"

class CBrowse;
class CPixmoorDoc;

class CPixmoorView : public CScrollView {
protected:
    CPixmoorView();
    DECLARE_DYNCREATE(CPixmoorView)

public:
    ~CPixmoorView() override;

    CPixmoorDoc* GetDocument() const;

    // 0 when the file was decoded and is now shown; -1 when nothing could
    // be decoded (the view is then unchanged). The path becomes the image's
    // name as it is.
    int LoadImage(const char* path);
    // Rebuilds the display raster for the scale mode.
    void ApplyScale();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    ScaleMode GetScaleMode() const { return m_nScaleMode; }
    const CRgbImage& GetImage() const { return m_image; }
    int GetImageWidth() const { return m_nImageWidth; }
    int GetImageHeight() const { return m_nImageHeight; }
    int GetClientWidth() const { return m_nClientWidth; }
    int GetClientHeight() const { return m_nClientHeight; }
    const std::string& GetBrowsePath() const { return m_strBrowsePath; }
    CBrowse* GetBrowser() const { return m_pBrowse; }

    // The browser's report (BrowseHandOff.cpp): the number of files chosen,
    // 0 for cancel or close.
    void OnBrowserDone(int count);
    // Shows a photo as a choice in the browser does: the title becomes its
    // path and " - Pixmoor", its directory becomes the browser's start
    // directory; the document and the recent files stay. 0, or -1 when it
    // could not be decoded (nothing changes then).
    int ShowChosenPhoto(const char* path);

    // The frame is about to enter (or leave) full screen, and has done so:
    // in fit mode the picture is fitted again to the client area that
    // follows, and the view takes the keyboard.
    void OnFullScreenChanging(BOOL bFullScreen);
    void OnFullScreenChanged();

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSize(UINT nType, int cx, int cy) override;

    void SetScale(ScaleMode mode);
    void OnScale100() { SetScale(ScaleFull); }
    void OnScale200() { SetScale(ScaleDouble); }
    void OnScale25() { SetScale(ScaleQuarter); }
    void OnScale400() { SetScale(ScaleQuadruple); }
    void OnScale50() { SetScale(ScaleHalf); }
    void OnScaleFit();
    void UpdateScale(CCmdUI* pCmdUI, ScaleMode mode);
    void OnUpdateScale25(CCmdUI* pCmdUI) { UpdateScale(pCmdUI, ScaleQuarter); }
    void OnUpdateScale50(CCmdUI* pCmdUI) { UpdateScale(pCmdUI, ScaleHalf); }
    void OnUpdateScale100(CCmdUI* pCmdUI) { UpdateScale(pCmdUI, ScaleFull); }
    void OnUpdateScale200(CCmdUI* pCmdUI) { UpdateScale(pCmdUI, ScaleDouble); }
    void OnUpdateScale400(CCmdUI* pCmdUI) { UpdateScale(pCmdUI, ScaleQuadruple); }
    void OnUpdateScaleFit(CCmdUI* pCmdUI) { UpdateScale(pCmdUI, ScaleFit); }
    void OnRotateLeft();
    void OnRotateRight();
    void OnDisplayInfo();
    void OnVisualBrowse();
    void ReleaseBrowser();

    // Folder steps (ViewFolderSteps.cpp).
    bool HasPicture() const { return m_image.GetFullHeight() != 0; }
    void Step(FolderStep step);
    void UpdateStep(CCmdUI* pCmdUI, FolderStep step);
    void OnNextPicture() { Step(StepNext); }
    void OnPrevPicture() { Step(StepPrevious); }
    void OnFirstPicture() { Step(StepFirst); }
    void OnLastPicture() { Step(StepLast); }
    void OnUpdateNextPicture(CCmdUI* pCmdUI) { UpdateStep(pCmdUI, StepNext); }
    void OnUpdatePrevPicture(CCmdUI* pCmdUI) { UpdateStep(pCmdUI, StepPrevious); }
    void OnUpdateFirstPicture(CCmdUI* pCmdUI) { UpdateStep(pCmdUI, StepFirst); }
    void OnUpdateLastPicture(CCmdUI* pCmdUI) { UpdateStep(pCmdUI, StepLast); }
    void ReportCantOpen(const char* path);

    // Mouse (ViewMouse.cpp): Ctrl + wheel zooms, a drag pans, a double
    // click toggles full screen.
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void ZoomStep(bool zoomIn, CPoint client);
    bool IsPannable() const;
    void UpdatePanCursor();
    // Full screen (ViewFullScreen.cpp): in fit mode after a full-screen
    // change, fits the picture to the client area just reported; a scale
    // the user picks after leaving full screen ends the refitting.
    void RefitAfterFullScreen();
    void EndRefitByChoice();

    void DrawOnScreen(CDC* pDC);
    void DrawOnPrinter(CDC* pDC);
    void SetScrollSizesToDisplay();

    CBrowse* m_pBrowse;
    int m_nClientWidth;
    int m_nClientHeight;
    ScaleMode m_nScaleMode;
    CRgbImage m_image;
    std::string m_strBrowsePath;
    int m_nImageWidth;
    int m_nImageHeight;

    CFolderSequence m_folder;
    bool m_bPanning = false;
    CPoint m_panStart;      // where the drag began, client coordinates
    CPoint m_panScroll;     // the scroll position then
    int m_nWheelZoom = 0;   // Ctrl + wheel delta not yet turned into a step
    // Refitting after full screen: while it lasts, or until the window's
    // client size from before comes back.
    enum RefitState { RefitNone, RefitWhileFullScreen, RefitUntilRestored };
    RefitState m_nRefit = RefitNone;
    bool m_bRefitting = false;
    int m_nRestoreWidth = 0;
    int m_nRestoreHeight = 0;

    DECLARE_MESSAGE_MAP()
};
