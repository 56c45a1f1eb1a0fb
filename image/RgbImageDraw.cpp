#include <cstdlib>

#include "image/RgbImage.h"
#include "platform/Dc.h"

namespace {

struct TileTarget {
    HDC hdc;
    int x, y;  // where the display's top-left corner goes
};

void DrawTile(void* context, const CRgbImage::DisplayTileView& tile)
{
    const TileTarget& target = *(const TileTarget*)context;
    StretchDIBits(target.hdc, target.x + tile.x, target.y + tile.y, tile.width, tile.height, 0, 0,
                  tile.width, tile.height, tile.bits, &tile.bmi, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

int CRgbImage::Draw(CDC* dc, int x, int y, int width, int height)
{
    if (!dc)
        return 0;
    if (m_bLazyDisplay)
        return DrawLazy(dc, x, y, width, height);
    if (!m_pBits)
        return 0;
    SetStretchBltMode(dc->m_hDC, COLORONCOLOR);
    return StretchDIBits(dc->m_hDC, x, y, width, height, 0, 0, m_nWidth, m_nHeight, m_pBits,
                         &m_bmi, DIB_RGB_COLORS, SRCCOPY);
}

// At 1:1 only the tiles that meet the clip box are made and drawn; the
// screen draws at (0, 0) in scrolled coordinates, so the clip box is the
// part of the display in the window. A stretched draw (not the screen's)
// makes the whole display for that draw alone.
int CRgbImage::DrawLazy(CDC* dc, int x, int y, int width, int height)
{
    SetStretchBltMode(dc->m_hDC, COLORONCOLOR);
    if (width != m_nWidth || height != m_nHeight) {
        unsigned char* bits = AllocRaster(m_nWidth, m_nHeight, HeldRasterBytes());
        if (!bits)
            return 0;
        int result = 0;
        if (CopyDisplayRegion(0, 0, m_nWidth, m_nHeight, bits, Stride(m_nWidth)) == 0)
            result = StretchDIBits(dc->m_hDC, x, y, width, height, 0, 0, m_nWidth, m_nHeight, bits,
                                   &m_bmi, DIB_RGB_COLORS, SRCCOPY);
        std::free(bits);
        return result;
    }
    RECT clip;
    if (dc->GetClipBox(&clip) == 0)
        return 0;
    TileTarget target{dc->m_hDC, x, y};
    if (VisitDisplayTiles(clip.left - x, clip.top - y, clip.right - x, clip.bottom - y, DrawTile,
                          &target) != 0)
        return 0;
    return height;
}
