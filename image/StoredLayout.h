#pragma once
// The stored layout of a picture: the layout of a bottom-up 24-bit DIB. The
// first row in memory is the bottom row of the picture, each pixel is B, G,
// R, and each row is followed by width mod 4 fill bytes, so rows are a
// multiple of 4 bytes long. A raster of w x h pixels is allocated at
// 3 x h x (w + 3) bytes, which is at least stride x h.
//
// Shared by CRgbImage and the decoder, which can write this layout directly.

#include <cstddef>
#include <cstdint>

inline int StoredRowFill(int width)
{
    return width % 4;
}

inline size_t StoredStride(int width)
{
    return (size_t)width * 3 + (size_t)StoredRowFill(width);
}

// Bytes of a raster buffer for width x height pixels, in 64 bits.
inline uint64_t StoredRasterBytes(int width, int height)
{
    return 3 * (uint64_t)height * ((uint64_t)width + 3);
}

// Exchange layout (top-down R, G, B, rows of srcStride bytes) to stored
// layout (rows of dstStride) or back: the row order flips and bytes 0 and 2
// of every pixel change places. The fill bytes are not written.
void FlipRowsSwapRedBlue(const unsigned char* src, size_t srcStride, unsigned char* dst,
                         size_t dstStride, int width, int height);
