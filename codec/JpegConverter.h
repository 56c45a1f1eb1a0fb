#pragma once
// JPEG <-> packed RGB conversion in memory, around libjpeg.
//
// Exchange layout: width x height x 3 bytes, rows top to bottom, R, G, B,
// nothing between rows; allocated with malloc, released by the receiver
// with free().

#include <cstdint>

class CJpegConverter {
public:
    CJpegConverter();
    ~CJpegConverter();

    // Reads the whole file (path through the drive table) and decodes it.
    // Returns the raster or null; sets m_nWidth / m_nHeight.
    unsigned char* LoadFile(const char* path);
    // Decodes `size` bytes held by the caller (not modified, not freed).
    unsigned char* Decode(const unsigned char* bytes, uint32_t size);
    // Encodes a raster at m_nQuality. Returns the JPEG stream or null and
    // stores its length in m_nSize (0 with null). Width and height untouched.
    unsigned char* Encode(const unsigned char* pixels, int width, int height);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetSize() const { return m_nSize; }

    int m_nWidth;    // width of the last decoded image
    int m_nHeight;   // height of the last decoded image
    int m_nQuality;  // 1..100 for the next Encode; 75 unless assigned
    int m_nSize;     // byte count of the last Encode result
};

// The routines behind Decode/LoadFile and Encode. Null on failure, with the
// out-parameters 0.
unsigned char* JpegToRgb(const unsigned char* bytes, uint32_t size, int* width, int* height);
unsigned char* RgbToJpeg(const unsigned char* pixels, int width, int height, int quality,
                         int* size);
