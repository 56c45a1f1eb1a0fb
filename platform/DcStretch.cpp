// Bitmap transfer of CDC: StretchDIBits with COLORONCOLOR stretching.
#include <cstdint>
#include <cstring>
#include <vector>

#include <QImage>

#include "platform/Dc.h"
#include "platform/QtDc.h"

int SetStretchBltMode(HDC hdc, int mode)
{
    if (!hdc || !hdc->GetImpl() || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    CDC::Impl* impl = hdc->GetImpl();
    int old = impl->stretchMode;
    impl->stretchMode = mode;
    return old;
}

// Every mode stretches by dropping or repeating rows and columns: for
// 24-bit colour that is what COLORONCOLOR does, and the viewer only asks
// for that mode.
// FIXME: HALFTONE (averaging) is treated as COLORONCOLOR.
int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                  int ySrc, int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* bmi,
                  UINT usage, DWORD rop)
{
    if (!hdc || !hdc->GetImpl() || !bits || !bmi || usage != DIB_RGB_COLORS || rop != SRCCOPY)
        return 0;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biBitCount != 24 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0)
        return 0;
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0 || xSrc < 0 ||
        ySrc < 0)
        return 0;
    const int64_t dibWidth = h.biWidth;
    const bool bottomUp = h.biHeight > 0;
    const int64_t dibHeight = bottomUp ? (int64_t)h.biHeight : -(int64_t)h.biHeight;
    if ((int64_t)xSrc + srcWidth > dibWidth || (int64_t)ySrc + srcHeight > dibHeight)
        return 0;

    CDC::Impl* impl = hdc->GetImpl();
    const int64_t left = (int64_t)xDest + impl->viewportOrg.x();
    const int64_t top = (int64_t)yDest + impl->viewportOrg.y();
    const QRect clip = impl->ClipRect();
    // Visible part of the destination, in device coordinates.
    const int64_t vx0 = std::max<int64_t>(left, clip.left());
    const int64_t vy0 = std::max<int64_t>(top, clip.top());
    const int64_t vx1 = std::min<int64_t>(left + destWidth, (int64_t)clip.left() + clip.width());
    const int64_t vy1 = std::min<int64_t>(top + destHeight, (int64_t)clip.top() + clip.height());
    if (vx0 >= vx1 || vy0 >= vy1)
        return destHeight;
    const int visW = (int)(vx1 - vx0);
    const int visH = (int)(vy1 - vy0);

    const size_t stride = ((size_t)dibWidth * 3 + 3) & ~(size_t)3;
    const unsigned char* base = (const unsigned char*)bits;

    // Destination column dx shows source column xSrc + dx * srcWidth / destWidth.
    std::vector<size_t> column((size_t)visW);
    for (int c = 0; c < visW; ++c) {
        int64_t dx = vx0 - left + c;
        column[(size_t)c] = (size_t)(xSrc + dx * srcWidth / destWidth) * 3;
    }

    QImage image(visW, visH, QImage::Format_RGB32);
    if (image.isNull())
        return 0;
    int64_t previousRow = -1;
    for (int r = 0; r < visH; ++r) {
        uint32_t* out = (uint32_t*)image.scanLine(r);
        // Destination row dy (from the top) shows picture row
        // dy * srcHeight / destHeight of the source rectangle.
        int64_t dy = vy0 - top + r;
        int64_t fromTop = dy * srcHeight / destHeight;
        // In a bottom-up DIB ySrc counts from the first stored row, which is
        // the bottom of the picture.
        int64_t stored = bottomUp ? (int64_t)ySrc + srcHeight - 1 - fromTop : ySrc + fromTop;
        if (stored == previousRow) {
            std::memcpy(out, image.constScanLine(r - 1), (size_t)visW * 4);
            continue;
        }
        previousRow = stored;
        const unsigned char* row = base + (size_t)stored * stride;
        for (int c = 0; c < visW; ++c) {
            const unsigned char* p = row + column[(size_t)c];
            out[c] = 0xFF000000u | ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
        }
    }
    impl->painter->drawImage(QPoint((int)vx0, (int)vy0), image);
    return destHeight;
}
