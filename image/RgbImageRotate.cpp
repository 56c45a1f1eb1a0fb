#include <cstdlib>
#include <cstring>
#include <utility>

#include "image/RgbImage.h"

// The source is walked in square tiles so that the rows read and the rows
// written stay in cache (and their pages in the TLB) while a tile is copied;
// a plain row-by-row walk touches a new destination row for every pixel.
static const int kTile = 64;

// Copies one pixel as a 4-byte move. The extra byte lands on the next pixel
// of the destination run, which is written right after; the last pixel of a
// run is copied with three bytes. The extra byte read stays inside the source
// buffer, which is allocated with slack beyond its last row.
static inline void CopyPixel4(unsigned char* d, const unsigned char* s)
{
    std::memcpy(d, s, 4);
}

static inline void CopyPixel3(unsigned char* d, const unsigned char* s)
{
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
}

unsigned char* CRgbImage::TurnRaster(const unsigned char* src, int width, int height,
                                     bool clockwise, uint64_t heldBytes)
{
    // The turned raster is `height` wide and `width` high.
    unsigned char* dst = AllocRaster(height, width, heldBytes);
    if (!dst)
        return nullptr;
    const size_t srcStride = Stride(width);
    const size_t dstStride = Stride(height);
    for (int i0 = 0; i0 < height; i0 += kTile) {
        const int i1 = i0 + kTile < height ? i0 + kTile : height;
        for (int j0 = 0; j0 < width; j0 += kTile) {
            const int j1 = j0 + kTile < width ? j0 + kTile : width;
            for (int j = j0; j < j1; ++j) {
                // Stored row i, column j goes to row width - 1 - j, column i
                // (clockwise) or to row j, column height - 1 - i. Each run of
                // the destination row is written in ascending order.
                if (clockwise) {
                    const unsigned char* s = src + (size_t)i0 * srcStride + (size_t)j * 3;
                    unsigned char* d = dst + (size_t)(width - 1 - j) * dstStride + (size_t)i0 * 3;
                    for (int i = i0; i < i1 - 1; ++i, s += srcStride, d += 3)
                        CopyPixel4(d, s);
                    CopyPixel3(d, s);
                } else {
                    const unsigned char* s = src + (size_t)(i1 - 1) * srcStride + (size_t)j * 3;
                    unsigned char* d = dst + (size_t)j * dstStride + (size_t)(height - i1) * 3;
                    for (int i = i1 - 1; i > i0; --i, s -= srcStride, d += 3)
                        CopyPixel4(d, s);
                    CopyPixel3(d, s);
                }
            }
        }
    }
    return dst;
}

// Both rasters are turned independently; a raster whose new buffer cannot be
// had stays as it was, and so does everything after it. A shared display
// raster is turned with the full-size raster, in the same buffer; a lazy one
// takes the turn into its transform, which needs no memory.
void CRgbImage::Turn(bool clockwise)
{
    // Tiles show the picture before the turn; dropped first, their memory
    // is free for the turned raster.
    m_tiles.Clear();
    if (m_pFullBits) {
        unsigned char* turned =
            TurnRaster(m_pFullBits, m_nFullWidth, m_nFullHeight, clockwise, HeldRasterBytes());
        if (!turned)
            return;
        std::free(m_pFullBits);
        m_pFullBits = turned;
        std::swap(m_nFullWidth, m_nFullHeight);
        m_nFullPad = RowFill(m_nFullWidth);
        if (m_bSharedBits) {
            // The display raster was this very buffer: it is turned too.
            ShareFullRaster();
            UpdateBitmapInfo();
            return;
        }
    }
    if (m_bLazyDisplay) {
        TurnLazyDisplay(clockwise ? AfterClockwise : AfterCounterClockwise);
        return;
    }
    if (m_pBits) {
        unsigned char* turned = TurnRaster(m_pBits, m_nWidth, m_nHeight, clockwise, HeldRasterBytes());
        if (!turned)
            return;
        std::free(m_pBits);
        m_pBits = turned;
        std::swap(m_nWidth, m_nHeight);
        m_nPad = RowFill(m_nWidth);
        UpdateBitmapInfo();
    }
}

void CRgbImage::RotateClockwise()
{
    Turn(true);
}

void CRgbImage::RotateCounterClockwise()
{
    Turn(false);
}
