#pragma once
// Device context: the drawing surface handed to paint, erase and print
// handlers. The interface is Qt-free; the implementation draws through a
// painter on a window, an image, a printer or a print preview.
//
// Coordinates are logical pixels; SetViewportOrg shifts them (scroll views).
// Rectangles are left/top inclusive, right/bottom exclusive.

#include "Win32Types.h"

class CDC;
typedef CDC* HDC;

// Region types returned by SelectClipRgn and GetClipBox (0 is an error).
enum { NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class CFont {
public:
    CFont();
    ~CFont();
    // Size in tenths of a point (100 = 10 point), converted to pixels at the
    // drawing device's vertical resolution when selected.
    BOOL CreatePointFont(int pointSizeTenths, const char* faceName, CDC* dc = nullptr);
    BOOL DeleteObject();
    bool IsCreated() const { return m_nPointSizeTenths > 0; }
    int GetPointSizeTenths() const { return m_nPointSizeTenths; }
    const char* GetFaceName() const { return m_szFace; }

private:
    int m_nPointSizeTenths;
    char m_szFace[32];
};

class CRgn {
public:
    CRgn();
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    RECT m_rect;
    bool m_bCreated;
};

class CDC {
public:
    struct Impl;  // the painter-side state, defined in the Qt layer
    explicit CDC(Impl* impl);
    virtual ~CDC();

    HDC m_hDC;  // this context itself; Win32-style calls take it

    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillSolidRect(const RECT* rect, COLORREF color);
    // One-pixel frame inside (x, y, cx, cy): top and left in `topLeft`,
    // right and bottom in `bottomRight`.
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight);
    // Single-line text in the selected font. With DT_END_ELLIPSIS a text
    // wider than the rectangle is cut and ends in "...". The text's cell is
    // filled with the background colour (opaque mode, the default).
    int DrawText(const char* text, int count, RECT* rect, UINT format);

    CFont* SelectObject(CFont* font);
    // Clips to the region (device coordinates); null removes the clip.
    int SelectClipRgn(CRgn* region);
    // Bounding box of the visible, clipped area in logical coordinates.
    int GetClipBox(RECT* rect) const;
    // True when rect (logical) overlaps the clip box: drawing elsewhere is
    // dropped before any work.
    bool IsVisible(const RECT& rect) const;

    BOOL IsPrinting() const;
    int GetDeviceCaps(int index) const;

    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF color);

    POINT SetViewportOrg(int x, int y);
    POINT GetViewportOrg() const;

    Impl* GetImpl() const { return m_pImpl; }

protected:
    Impl* m_pImpl;
};

// Paint handlers take one of these; it is created by the window layer.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(Impl* impl) : CDC(impl) {}
    // The context of the paint in progress on `wnd` (its OnPaint handler);
    // defined by the window layer.
    explicit CPaintDC(class CWnd* wnd);
};

int SetStretchBltMode(HDC hdc, int mode);
// Copies a bottom-up 24-bit DIB (B, G, R, rows padded to 4 bytes) into the
// destination rectangle. COLORONCOLOR stretching: rows and columns are
// dropped or repeated, the copy is exact at equal size. Only the part of the
// destination inside the clip box is computed. Returns the number of scan
// lines drawn, 0 on failure.
int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight,
                  int xSrc, int ySrc, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop);
