#pragma once
// CScrollView: a view over a drawing of a given total size. Scroll bars
// appear while the total size exceeds the client area; OnPrepareDC moves
// the viewport origin to minus the scroll position, so OnDraw draws in
// document coordinates. The bars and the mouse wheel scroll.

#include "platform/View.h"

enum { MM_TEXT = 1 };

class CScrollView : public CView {
public:
    CScrollView();
    ~CScrollView() override;

    static const SIZE sizeDefault;

    // Page and line default to a tenth and a hundredth of the total size.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const;
    CSize GetTotalSize() const { return m_totalDev; }
    void ScrollToPosition(POINT pt);

    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    void UpdateBars();
    void OnScrollBy(int nBar, int delta);
    void ScrollToDevicePosition(POINT pt);

    int m_nMapMode = 0;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    bool m_bInsideUpdate = false;
};
