#include "image/StoredLayout.h"

void FlipRowsSwapRedBlue(const unsigned char* src, size_t srcStride, unsigned char* dst,
                         size_t dstStride, int width, int height)
{
    for (int r = 0; r < height; ++r) {
        const unsigned char* s = src + (size_t)r * srcStride;
        unsigned char* d = dst + (size_t)(height - 1 - r) * dstStride;
        for (int x = 0; x < width; ++x, s += 3, d += 3) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
}
