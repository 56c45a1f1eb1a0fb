#pragma once
// A picture held twice as bottom-up 24-bit DIBs: the full-size raster and
// the display raster resampled from it. Also the browser's grid cell (name
// and the owner's flags word).
//
// Stored layout: first row is the bottom of the picture, pixels B, G, R,
// each row followed by RowFill(width) fill bytes (stride a multiple of 4).

#include <cstddef>
#include <cstdint>

#include "image/DisplayTiles.h"
#include "image/DisplayTransform.h"
#include "image/StoredLayout.h"
#include "platform/Win32Types.h"

class CDC;

class CRgbImage {
public:
    CRgbImage();
    ~CRgbImage();
    CRgbImage(const CRgbImage&) = delete;
    CRgbImage& operator=(const CRgbImage&) = delete;

    int SetImage(const char* name, const unsigned char* pixels, int width, int height);
    // Like SetImage, for pixels already in stored layout: the image takes
    // over `bits` (a malloc block of RasterBytes(width, height), as the
    // decoder's LoadFileStored gives it) as its full-size raster instead of
    // copying it, and the display raster shares it. On failure (a null or
    // sizeless raster) the block is released and the image is left named.
    int TakeImage(const char* name, unsigned char* bits, int width, int height);
    int SetScaledImage(const char* name, const unsigned char* pixels, int width, int height,
                       int newWidth, int newHeight);
    int Rescale(int width, int height);
    // The view's zoom (RgbImageDisplay.cpp). The display becomes width x
    // height at once, but its pixels are made only where they are drawn or
    // read, each the pixel that Rescale would put there; the parts drawn are
    // kept as tiles in a cache of a few windows' worth, counted in the
    // picture's memory budget. A size equal to the full size shares the full
    // raster, 0 leaves no display, and errors are those of Rescale. The
    // rotations and Mirror then turn the display without rebuilding it, just
    // as they turn a display raster made by Rescale.
    int SetDisplaySize(int width, int height);
    // True while the display is made part by part; GetBits() is then null.
    bool IsDisplayLazy() const { return m_bLazyDisplay; }
    // Copies the display's pixels in the rectangle (x, y, width, height),
    // picture coordinates from the top-left, into `out` as a bottom-up DIB of
    // that size: out row 0 is picture row y + height - 1, pixels B, G, R,
    // rows outStride (at least 3 x width) bytes apart. Any kind of display.
    // Returns 0, or -1 when there is no display, the rectangle is not inside
    // it or scratch memory cannot be had.
    int CopyDisplayRegion(int x, int y, int width, int height, unsigned char* out,
                          size_t outStride) const;

    // One tile of a lazy display: its place in the display (picture
    // coordinates) and its pixels as a bottom-up DIB ready for StretchDIBits.
    // The pixels stay valid until the image changes or the next tile is made.
    struct DisplayTileView {
        int x, y, width, height;
        const unsigned char* bits;
        BITMAPINFO bmi;
    };
    typedef void (*DisplayTileVisitor)(void* context, const DisplayTileView& tile);
    // Hands each tile of a lazy display that meets [left, right) x [top,
    // bottom) (display coordinates) to `visit`, making those not kept.
    // Returns 0, or -1 when the display is not lazy or some tile could not
    // be made within the memory budget (it is skipped).
    int VisitDisplayTiles(int left, int top, int right, int bottom, DisplayTileVisitor visit,
                          void* context);
    // Bytes of the tile buffers held (tiles and spares), and their limit.
    uint64_t GetDisplayTileBytes() const { return m_tiles.Bytes(); }
    int GetDisplayTileCount() const { return m_tiles.Count(); }
    uint64_t GetDisplayTileLimit() const { return m_tiles.Limit(); }
    unsigned char* ExportRgb();
    // Stretches the display into (x, y, width, height). At 1:1 a lazy
    // display draws only its tiles that meet the clip box (RgbImageDraw.cpp).
    int Draw(CDC* dc, int x, int y, int width, int height);
    void Clear();

    void RotateClockwise();
    void RotateCounterClockwise();
    // Mirrors both rasters left to right, in place (RgbImageMirror.cpp).
    void Mirror();
    // Turns both rasters by half a turn, in place (RgbImageMirror.cpp).
    void HalfTurn();

    const char* GetName() const { return m_pszName; }
    const char* GetFileName() const;
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetFullWidth() const { return m_nFullWidth; }
    int GetFullHeight() const { return m_nFullHeight; }
    static int RowFill(int width) { return StoredRowFill(width); }
    void UpdateBitmapInfo();

    // Read-only access for drawing and tests. GetBits() is a whole display
    // raster in memory, null when there is none (no display, or a lazy one).
    const unsigned char* GetBits() const { return m_pBits; }
    const unsigned char* GetFullBits() const { return m_pFullBits; }
    const BITMAPINFO* GetBitmapInfo() const { return &m_bmi; }
    int GetPad() const { return m_nPad; }
    int GetFullPad() const { return m_nFullPad; }
    // True while the display raster is the full-size raster itself (same
    // size, same buffer) rather than a copy of it.
    bool SharesRasters() const { return m_bSharedBits; }

    uint32_t m_nFlags;  // the owner's word; the class only zeroes it

private:
    // Bytes of a raster buffer for width x height pixels, 3 x h x (w + 3),
    // computed in 64 bits.
    static uint64_t RasterBytes(int width, int height);
    // A raster buffer, or null when the size is negative, does not fit the
    // picture's memory budget beside the `heldBytes` of its other buffers
    // alive at the same time, or cannot be allocated.
    static unsigned char* AllocRaster(int width, int height, uint64_t heldBytes);
    // Bytes of the rasters the image holds now (a shared buffer counted once,
    // the tiles of a lazy display included).
    uint64_t HeldRasterBytes() const;
    static size_t Stride(int width) { return StoredStride(width); }
    // The raster of width x height turned by 90 degrees, in a new buffer;
    // null when it cannot be allocated beside `heldBytes`.
    static unsigned char* TurnRaster(const unsigned char* src, int width, int height,
                                     bool clockwise, uint64_t heldBytes);
    void Turn(bool clockwise);
    // A lazy display follows a turn or mirror of the full raster by taking
    // it into its transform; the tiles made before are dropped.
    void TurnLazyDisplay(DisplayTransform (*after)(const DisplayTransform&));
    // Mirror and HalfTurn: `rows` changes a raster in place, `after` the
    // lazy display's transform.
    void ChangeInPlace(void (*rows)(unsigned char*, int, int, size_t),
                       DisplayTransform (*after)(const DisplayTransform&));
    // The tile (col, row) of a lazy display, kept or made now; null when it
    // cannot be had within the memory budget.
    const unsigned char* DisplayTile(int col, int row);
    // CopyDisplayRegion of a lazy display whose transform is not the identity.
    int CopyTurnedRegion(int x, int y, int width, int height, unsigned char* out,
                         size_t outStride) const;
    // Draw of a lazy display: 1:1 by tiles, stretched from a whole raster
    // made for that draw alone.
    int DrawLazy(CDC* dc, int x, int y, int width, int height);
    // ExportRgb of a lazy display.
    unsigned char* ExportLazy();
    // The display raster becomes the full-size raster's buffer.
    void ShareFullRaster();
    // Releases the display raster (never a buffer it shares); sizes become 0.
    void ReleaseDisplay();
    void ReleaseRasters();
    // Makes `bits` (stored layout, owned from now on) the full-size raster
    // and shares it as the display raster.
    int InstallFullRaster(unsigned char* bits, int width, int height);
    // Replaces the name with a copy of `name` (null: none). The copy is made
    // before the old name is released, so the image's own name may be given.
    int ReplaceName(const char* name);

    int m_nPad;
    int m_nFullPad;
    int m_nWidth;
    int m_nHeight;
    int m_nFullWidth;
    int m_nFullHeight;
    unsigned char* m_pBits;
    unsigned char* m_pFullBits;
    BITMAPINFOHEADER m_bmih;
    BITMAPINFO m_bmi;
    char* m_pszName;
    // A display raster at full size is not copied: m_pBits then points at
    // m_pFullBits, which is released once. Operations that change one raster
    // and not the other (Rescale) give up the sharing first; the rotations
    // turn the shared buffer once.
    bool m_bSharedBits;
    // A display made part by part (SetDisplaySize): m_nWidth x m_nHeight with
    // no m_pBits. Its pixels are m_transform applied to the full raster
    // resampled, where the full raster is taken back through m_transform to
    // how it was when the display was sized.
    bool m_bLazyDisplay;
    DisplayTransform m_transform;
    CDisplayTiles m_tiles;
};
