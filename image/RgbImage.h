#pragma once
// A picture held twice as bottom-up 24-bit DIBs: the full-size raster and
// the display raster resampled from it. Also the browser's grid cell (name
// and the owner's flags word).
//
// Stored layout: first row is the bottom of the picture, pixels B, G, R,
// each row followed by RowFill(width) fill bytes (stride a multiple of 4).

#include <cstddef>
#include <cstdint>

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
    unsigned char* ExportRgb();
    int Draw(CDC* dc, int x, int y, int width, int height);
    void Clear();

    void RotateClockwise();
    void RotateCounterClockwise();
    // Mirrors both rasters left to right, in place (RgbImageMirror.cpp).
    void Mirror();

    const char* GetName() const { return m_pszName; }
    const char* GetFileName() const;
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetFullWidth() const { return m_nFullWidth; }
    int GetFullHeight() const { return m_nFullHeight; }
    static int RowFill(int width) { return width % 4; }
    void UpdateBitmapInfo();

    // Read-only access for drawing and tests.
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
    // Bytes of the rasters the image holds now (a shared buffer counted once).
    uint64_t HeldRasterBytes() const;
    static size_t Stride(int width) { return (size_t)width * 3 + (size_t)RowFill(width); }
    // The raster of width x height turned by 90 degrees, in a new buffer;
    // null when it cannot be allocated beside `heldBytes`.
    static unsigned char* TurnRaster(const unsigned char* src, int width, int height,
                                     bool clockwise, uint64_t heldBytes);
    void Turn(bool clockwise);
    // The display raster becomes the full-size raster's buffer.
    void ShareFullRaster();
    // Releases the display raster (never a buffer it shares); sizes become 0.
    void ReleaseDisplay();
    void ReleaseRasters();
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
};
