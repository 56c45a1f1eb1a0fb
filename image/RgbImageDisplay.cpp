// The display built part by part: CRgbImage::SetDisplaySize and what reads
// or draws such a display without ever holding it whole.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "image/DisplayGeometry.h"
#include "image/Resample.h"
#include "image/RgbImage.h"
#include "image/StoredLayout.h"
#include "platform/MemoryLimit.h"

namespace {

// Side of the blocks a turned display is made in.
const int kTurnedBlock = 128;

// The full raster read as the picture it was when the display was sized:
// position (u, v) of that original is position MapFromOriginal(u, v) now.
struct OriginalView {
    const unsigned char* bits;  // the full raster now, stored layout
    int width, height;          // its size now
    size_t stride;
    DisplayTransform transform;
    int origWidth, origHeight;

    // Byte offset in `bits` of original position (u, v).
    ptrdiff_t At(int u, int v) const
    {
        int x, y;
        MapFromOriginal(transform, u, v, origWidth, origHeight, &x, &y);
        return (ptrdiff_t)(height - 1 - y) * (ptrdiff_t)stride + (ptrdiff_t)x * 3;
    }
};

// ResampleGather over an OriginalView. The resampler counts rows in stored
// order (from the bottom); the map is affine, so one step per column serves
// a whole row.
void GatherOriginal(void* context, const int* columns, int columnCount, const int* rows,
                    int rowCount, unsigned char* block, size_t blockStride)
{
    const OriginalView& view = *(const OriginalView*)context;
    const int u0 = columns[0];
    for (int r = 0; r < rowCount; ++r) {
        const int v = view.origHeight - 1 - rows[r];
        const unsigned char* first = view.bits + view.At(u0, v);
        const ptrdiff_t step = view.origWidth > 1 ? view.At(u0 + 1, v) - view.At(u0, v) : 0;
        unsigned char* out = block + (size_t)r * blockStride;
        for (int c = 0; c < columnCount; ++c, out += 3)
            std::memcpy(out, first + (ptrdiff_t)(columns[c] - u0) * step, 3);
    }
}

BITMAPINFO TileBitmapInfo(int width, int height)
{
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = (DWORD)(3 * height * (width + CRgbImage::RowFill(width)));
    return bmi;
}

}  // namespace

int CRgbImage::SetDisplaySize(int width, int height)
{
    // No size, no picture, the full size or a bad size: as Rescale.
    if (width <= 0 || height <= 0 || !m_pFullBits ||
        (width == m_nFullWidth && height == m_nFullHeight))
        return Rescale(width, height);
    // The buffers of a lazy display's tiles serve the new zoom's.
    if (m_bLazyDisplay)
        m_tiles.Recycle();
    else
        ReleaseDisplay();
    m_bLazyDisplay = true;
    m_transform = IdentityTransform();
    m_nWidth = width;
    m_nHeight = height;
    m_nPad = RowFill(width);
    UpdateBitmapInfo();
    return 0;
}

void CRgbImage::TurnLazyDisplay(DisplayTransform (*after)(const DisplayTransform&))
{
    m_tiles.Recycle();
    const bool swapped = SwapsSides(m_transform);
    m_transform = after(m_transform);
    if (SwapsSides(m_transform) != swapped) {
        std::swap(m_nWidth, m_nHeight);
        m_nPad = RowFill(m_nWidth);
    }
    UpdateBitmapInfo();
}

int CRgbImage::CopyDisplayRegion(int x, int y, int width, int height, unsigned char* out,
                                 size_t outStride) const
{
    if (m_nWidth <= 0 || m_nHeight <= 0 || !out || x < 0 || y < 0 || width < 0 || height < 0 ||
        width > m_nWidth - x || height > m_nHeight - y || outStride < (size_t)width * 3)
        return -1;
    if (width == 0 || height == 0)
        return 0;
    // The region's first stored row: the display is bottom-up too.
    const int first = m_nHeight - y - height;
    if (m_pBits) {
        for (int k = 0; k < height; ++k)
            std::memcpy(out + (size_t)k * outStride,
                        m_pBits + (size_t)(first + k) * Stride(m_nWidth) + (size_t)x * 3,
                        (size_t)width * 3);
        return 0;
    }
    if (!m_bLazyDisplay)
        return -1;
    if (!IsIdentity(m_transform))
        return CopyTurnedRegion(x, y, width, height, out, outStride);
    return ResampleRegion(m_pFullBits, m_nFullWidth, m_nFullHeight, Stride(m_nFullWidth),
                          m_nWidth, m_nHeight, x, first, x + width, first + height, out,
                          outStride);
}

// Block by block (one tile, small enough for the ordinary heap): the
// block's rectangle in the display as it was sized, resampled from the full
// raster read as it was then, then turned into place.
int CRgbImage::CopyTurnedRegion(int x, int y, int width, int height, unsigned char* out,
                                size_t outStride) const
{
    const bool swap = SwapsSides(m_transform);
    const int w0 = swap ? m_nHeight : m_nWidth, h0 = swap ? m_nWidth : m_nHeight;
    OriginalView view{m_pFullBits, m_nFullWidth, m_nFullHeight, Stride(m_nFullWidth),
                      m_transform,  swap ? m_nFullHeight : m_nFullWidth,
                      swap ? m_nFullWidth : m_nFullHeight};
    unsigned char* block = (unsigned char*)std::malloc((size_t)kTurnedBlock * kTurnedBlock * 3);
    if (!block)
        return -1;
    // Blocks are counted from the region's corner: near the end of a display
    // INT_MAX long, a position plus a block would not be an int.
    int result = 0;
    for (int dy = 0, rows = 0; dy < height && result == 0; dy += rows) {
        rows = std::min(kTurnedBlock, height - dy);
        const int by = y + dy, by1 = by + rows;
        for (int dx = 0, cols = 0; dx < width && result == 0; dx += cols) {
            cols = std::min(kTurnedBlock, width - dx);
            const int bx = x + dx, bx1 = bx + cols;
            int u0, v0, u1, v1;
            MapRectToOriginal(m_transform, bx, by, bx1, by1, w0, h0, &u0, &v0, &u1, &v1);
            // Stored rows h0 - v1 .. h0 - v0 - 1 of the sized display.
            const size_t blockStride = (size_t)(u1 - u0) * 3;
            result = ResampleRegionGathered(view.origWidth, view.origHeight, w0, h0, u0, h0 - v1,
                                            u1, h0 - v0, GatherOriginal, &view, block,
                                            blockStride);
            for (int py = by; py < by1 && result == 0; ++py) {
                // Display pixel (px, py) is sized-display pixel (u, v), in
                // block row v1 - 1 - v; the map is affine along the row.
                int u, v, uNext, vNext;
                MapToOriginal(m_transform, bx, py, w0, h0, &u, &v);
                MapToOriginal(m_transform, bx + 1, py, w0, h0, &uNext, &vNext);
                const unsigned char* s =
                    block + (size_t)(v1 - 1 - v) * blockStride + (size_t)(u - u0) * 3;
                const ptrdiff_t step = (ptrdiff_t)(uNext - u) * 3 -
                                       (ptrdiff_t)(vNext - v) * (ptrdiff_t)blockStride;
                unsigned char* d =
                    out + (size_t)(y + height - 1 - py) * outStride + (size_t)(bx - x) * 3;
                for (int px = bx; px < bx1; ++px, s += step, d += 3)
                    std::memcpy(d, s, 3);
            }
        }
    }
    std::free(block);
    return result;
}

const unsigned char* CRgbImage::DisplayTile(int col, int row)
{
    if (const unsigned char* kept = m_tiles.Find(col, row))
        return kept;
    const DisplayRect r = TileRect(col, row, m_nWidth, m_nHeight);
    const int width = r.right - r.left, height = r.bottom - r.top;
    // Beyond the picture's budget an older tile gives its buffer.
    const uint64_t held = HeldRasterBytes();
    uint64_t growRoom = 0;
    if (RasterBytesAllowedBeside(held, CDisplayTiles::kSlabBytes))
        growRoom = CDisplayTiles::kSlabBytes;
    else if (RasterBytesAllowedBeside(held, CDisplayTiles::kBufferBytes))
        growRoom = CDisplayTiles::kBufferBytes;
    unsigned char* bits = m_tiles.TakeBuffer(growRoom);
    if (!bits)
        return nullptr;
    if (CopyDisplayRegion(r.left, r.top, width, height, bits, Stride(width)) != 0) {
        m_tiles.GiveBack(bits);
        return nullptr;
    }
    m_tiles.Keep(col, row, bits);
    return bits;
}

int CRgbImage::VisitDisplayTiles(int left, int top, int right, int bottom,
                                 DisplayTileVisitor visit, void* context)
{
    if (!m_bLazyDisplay || !visit)
        return -1;
    const DisplayRect area =
        IntersectRects(DisplayRect{left, top, right, bottom}, DisplayRect{0, 0, m_nWidth, m_nHeight});
    const TileSpan span = TilesMeeting(area);
    uint64_t needed = 0;
    for (int row = span.row0; row < span.row1; ++row)
        for (int col = span.col0; col < span.col1; ++col) {
            const DisplayRect r = TileRect(col, row, m_nWidth, m_nHeight);
            needed += RasterBytes(r.right - r.left, r.bottom - r.top);
        }
    m_tiles.NoteDrawNeeds(needed);
    int result = 0;
    for (int row = span.row0; row < span.row1; ++row)
        for (int col = span.col0; col < span.col1; ++col) {
            const unsigned char* bits = DisplayTile(col, row);
            if (!bits) {
                result = -1;
                continue;
            }
            const DisplayRect r = TileRect(col, row, m_nWidth, m_nHeight);
            DisplayTileView tile{r.left, r.top, r.right - r.left, r.bottom - r.top, bits,
                                 TileBitmapInfo(r.right - r.left, r.bottom - r.top)};
            visit(context, tile);
        }
    return result;
}

// Made a band of rows at a time into a small buffer, then turned into
// exchange layout: the whole display is never held twice.
unsigned char* CRgbImage::ExportLazy()
{
    const uint64_t bytes = 3 * (uint64_t)m_nWidth * (uint64_t)m_nHeight;
    const int band = 64 < m_nHeight ? 64 : m_nHeight;
    const size_t stride = Stride(m_nWidth);
    const uint64_t bandBytes = (uint64_t)stride * (uint64_t)band;
    if (!RasterBytesAllowedBeside(HeldRasterBytes(), bytes) ||
        !RasterBytesAllowedBeside(HeldRasterBytes() + bytes, bandBytes))
        return nullptr;
    unsigned char* out = (unsigned char*)std::malloc((size_t)bytes);
    unsigned char* rows = (unsigned char*)std::malloc((size_t)bandBytes);
    if (!out || !rows) {
        std::free(out);
        std::free(rows);
        return nullptr;
    }
    const size_t outStride = (size_t)m_nWidth * 3;
    for (int y = 0, n = 0; y < m_nHeight; y += n) {
        n = std::min(band, m_nHeight - y);
        if (CopyDisplayRegion(0, y, m_nWidth, n, rows, stride) != 0) {
            std::free(out);
            out = nullptr;
            break;
        }
        // Band row k is picture row y + n - 1 - k.
        FlipRowsSwapRedBlue(rows, stride, out + (size_t)y * outStride, outStride, m_nWidth, n);
    }
    std::free(rows);
    return out;
}
