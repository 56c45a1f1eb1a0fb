// Bitmap transfer of CDC: StretchDIBits with COLORONCOLOR stretching.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include <QImage>

#include "platform/Dc.h"
#include "platform/QtDc.h"

namespace {

// Pixels per band of converted rows: 256 KiB.
const size_t kBandPixels = 65536;

inline uint32_t Rgb32(const unsigned char* p)
{
    return 0xFF000000u | ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
}

// A run of n consecutive B, G, R pixels as 0xFFRRGGBB. Each pixel but the
// last is read as four bytes (little-endian B, G, R and the next byte,
// masked off); the last one alone, so nothing past the run is read.
void ConvertRunScalar(const unsigned char* p, int n, uint32_t* out)
{
    for (int c = 0; c < n - 1; ++c, p += 3) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        out[c] = 0xFF000000u | (v & 0x00FFFFFFu);
    }
    out[n - 1] = Rgb32(p);
}

#if defined(__x86_64__) && defined(__GNUC__)
// Four pixels per step: 16 bytes read, the 12 of four pixels spread to
// four words. A step runs while 16 bytes lie inside the run (six pixels
// left); the rest goes the scalar way.
__attribute__((target("ssse3"))) void ConvertRunSsse3(const unsigned char* p, int n, uint32_t* out)
{
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i alpha = _mm_set1_epi32((int)0xFF000000u);
    int c = 0;
    for (; c + 6 <= n; c += 4) {
        const __m128i bgr = _mm_loadu_si128((const __m128i*)(p + (size_t)c * 3));
        _mm_storeu_si128((__m128i*)(out + c), _mm_or_si128(_mm_shuffle_epi8(bgr, spread), alpha));
    }
    ConvertRunScalar(p + (size_t)c * 3, n - c, out + c);
}

#endif

void ConvertRun(const unsigned char* p, int n, uint32_t* out)
{
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool ssse3 = (__builtin_cpu_init(), __builtin_cpu_supports("ssse3"));
    if (ssse3) {
        ConvertRunSsse3(p, n, out);
        return;
    }
#endif
    ConvertRunScalar(p, n, out);
}

// The band buffer, grown to `pixels` when smaller; null when it cannot be.
uint32_t* BandBuffer(size_t pixels)
{
    static uint32_t* buffer = nullptr;
    static size_t capacity = 0;
    if (pixels > capacity) {
        uint32_t* grown = (uint32_t*)std::realloc(buffer, pixels * sizeof(uint32_t));
        if (!grown)
            return nullptr;
        buffer = grown;
        capacity = pixels;
    }
    return buffer;
}

}  // namespace

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
    // At equal widths that is a run of consecutive pixels and needs no table.
    const bool oneToOneColumns = srcWidth == destWidth;
    std::vector<size_t> column(oneToOneColumns ? 0 : (size_t)visW);
    for (size_t c = 0; c < column.size(); ++c) {
        int64_t dx = vx0 - left + (int64_t)c;
        column[c] = (size_t)(xSrc + dx * srcWidth / destWidth) * 3;
    }
    const size_t firstColumn = (size_t)(xSrc + (vx0 - left)) * 3;

    // Converted a band of rows at a time into one buffer kept between calls
    // (the one UI thread draws), so a paint of many small tiles allocates
    // nothing and touches no fresh pages.
    const int bandRows = std::max(1, std::min(visH, (int)(kBandPixels / (size_t)visW)));
    uint32_t* band = BandBuffer((size_t)bandRows * (size_t)visW);
    if (!band)
        return 0;
    int64_t previousRow = -1;
    for (int r0 = 0; r0 < visH; r0 += bandRows) {
        const int rows = std::min(bandRows, visH - r0);
        for (int r = 0; r < rows; ++r) {
            uint32_t* out = band + (size_t)r * visW;
            // Destination row dy (from the top) shows picture row
            // dy * srcHeight / destHeight of the source rectangle.
            int64_t dy = vy0 - top + r0 + r;
            int64_t fromTop = dy * srcHeight / destHeight;
            // In a bottom-up DIB ySrc counts from the first stored row, which is
            // the bottom of the picture.
            int64_t stored = bottomUp ? (int64_t)ySrc + srcHeight - 1 - fromTop : ySrc + fromTop;
            if (stored == previousRow && r > 0) {
                std::memcpy(out, out - visW, (size_t)visW * 4);
                continue;
            }
            previousRow = stored;
            const unsigned char* row = base + (size_t)stored * stride;
            if (oneToOneColumns)
                ConvertRun(row + firstColumn, visW, out);
            else
                for (int c = 0; c < visW; ++c)
                    out[c] = Rgb32(row + column[(size_t)c]);
        }
        QImage image((const uchar*)band, visW, rows, (qsizetype)visW * 4,
                     QImage::Format_RGB32);
        impl->painter->drawImage(QPoint((int)vx0, (int)vy0 + r0), image);
    }
    return destHeight;
}
