#pragma once
// A picture held twice as bottom-up 24-bit DIBs: the full-size raster and
// the display raster resampled from it. Also the browser's grid cell (name
// and the owner's flags word).
//
// Stored layout: first row is the bottom of the picture, pixels B, G, R,
// each row followed by RowFill(width) fill bytes (stride a multiple of 4).

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
    int SetScaledImage(const char* name, const unsigned char* pixels, int width, int height,
                       int newWidth, int newHeight);
    int Rescale(int width, int height);
    unsigned char* ExportRgb();
    int Draw(CDC* dc, int x, int y, int width, int height);
    void Clear();

    void RotateClockwise();
    void RotateCounterClockwise();

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

    uint32_t m_nFlags;  // the owner's word; the class only zeroes it

private:
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
};
