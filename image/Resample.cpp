#include "image/Resample.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

float ResampleStep(int from, int to)
{
    if (to > 1)
        return (float)((double)(from - 1) / (double)(to - 1));
    return (float)(from - 1);
}

namespace {

// Sample point of destination index i: the product is formed in double from
// the integer and the 32-bit step, then truncated toward zero. The clamp only
// matters for sizes beyond 2^24, where the float step can round up past the
// last source index.
struct Sample {
    int lo;      // first source index
    int hi;      // its neighbour, clamped to the last index
    unsigned w;  // 8-bit weight of `hi` (bilinear only)
};

Sample SampleAt(int i, float step, int last)
{
    double f = (double)i * (double)step;
    int lo = (int)f;
    if (lo > last)
        lo = last;
    Sample s;
    s.lo = lo;
    s.hi = lo + 1 <= last ? lo + 1 : last;
    s.w = (unsigned)(int)((f - lo) * 256.0);
    if (s.w > 255)
        s.w = 255;
    return s;
}

// 2 x 2 mean. With the neighbour clamped to the sample itself the four-term
// sum counts that pixel twice, so (a + b + c + d) >> 2 equals the mean over
// the distinct pixels divided by their count (1, 2 or 4), truncated.
void MeanRaster(const unsigned char* src, int W, int H, size_t srcStride,
                unsigned char* dst, int w, int h, size_t dstStride, size_t* off0, size_t* off1)
{
    MeanColumnOffsets(W, w, off0, off1);
    for (int i = 0; i < h; ++i) {
        int y0, y1;
        MeanSourceRows(H, h, i, &y0, &y1);
        MeanRow(src + (size_t)y0 * srcStride, src + (size_t)y1 * srcStride, off0, off1, w,
                dst + (size_t)i * dstStride);
    }
}

// Horizontal pass of the bilinear filter for one source row: for every
// destination byte P(x0) * (256 - wx) + P(x1) * wx (at most 65280).
void InterpolateRow(const unsigned char* row, int w, const size_t* off0,
                    const size_t* off1, const uint16_t* wx, uint16_t* out)
{
    for (int j = 0; j < w; ++j, out += 3) {
        const unsigned char* a = row + off0[j];
        const unsigned char* b = row + off1[j];
        unsigned wb = wx[j];
        unsigned wa = 256 - wb;
        out[0] = (uint16_t)(a[0] * wa + b[0] * wb);
        out[1] = (uint16_t)(a[1] * wa + b[1] * wb);
        out[2] = (uint16_t)(a[2] * wa + b[2] * wb);
    }
}

// Vertical pass of the bilinear filter for one destination row:
// (top x (256 - wy) + bottom x wy) >> 16. The sum needs 24 bits; it is formed
// from 16-bit halves, hi(a) + hi(b) + carry(lo(a) + lo(b)), which gives the
// same value and lets the compiler use 16-bit vector lanes.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void BlendRows(const uint16_t* __restrict top, const uint16_t* __restrict bottom,
               unsigned char* __restrict out, size_t n, uint16_t wy)
{
    const uint16_t wa = (uint16_t)(256 - wy);
    for (size_t k = 0; k < n; ++k) {
        uint32_t a = (uint32_t)top[k] * wa;
        uint32_t b = (uint32_t)bottom[k] * wy;
        uint16_t lo = (uint16_t)((uint16_t)a + (uint16_t)b);
        uint16_t carry = lo < (uint16_t)a;
        out[k] = (unsigned char)((uint16_t)(a >> 16) + (uint16_t)(b >> 16) + carry);
    }
}

// Bilinear with 8-bit weights. The horizontal sums of a source row are made
// once and kept while consecutive destination rows sample the same rows, so
// an enlargement costs one blend per destination byte.
void BilinearRaster(const unsigned char* src, int W, int H, size_t srcStride,
                    unsigned char* dst, int w, int h, size_t dstStride,
                    float sx, float sy, size_t* off0, size_t* off1, uint16_t* wx,
                    uint16_t* bufA, uint16_t* bufB)
{
    for (int j = 0; j < w; ++j) {
        Sample s = SampleAt(j, sx, W - 1);
        off0[(size_t)j] = (size_t)s.lo * 3;
        off1[(size_t)j] = (size_t)s.hi * 3;
        wx[(size_t)j] = (uint16_t)s.w;
    }
    const size_t n = (size_t)w * 3;
    uint16_t* top = bufA;
    uint16_t* bottom = bufB;
    int topRow = -1, bottomRow = -1;
    for (int i = 0; i < h; ++i) {
        Sample r = SampleAt(i, sy, H - 1);
        if (r.lo != topRow) {
            if (r.lo == bottomRow) {
                std::swap(top, bottom);
                std::swap(topRow, bottomRow);
            } else {
                InterpolateRow(src + (size_t)r.lo * srcStride, w, off0, off1, wx, top);
                topRow = r.lo;
            }
        }
        if (r.hi != bottomRow) {
            if (r.hi == topRow) {
                std::memcpy(bottom, top, n * sizeof(uint16_t));
            } else {
                InterpolateRow(src + (size_t)r.hi * srcStride, w, off0, off1, wx, bottom);
            }
            bottomRow = r.hi;
        }
        BlendRows(top, bottom, dst + (size_t)i * dstStride, n, (uint16_t)r.w);
    }
}

}  // namespace

bool ResampleUsesMean(int W, int H, int w, int h)
{
    return !(ResampleStep(W, w) < 1.0f && ResampleStep(H, h) < 1.0f);
}

void MeanColumnOffsets(int W, int w, size_t* off0, size_t* off1)
{
    const float sx = ResampleStep(W, w);
    for (int j = 0; j < w; ++j) {
        Sample s = SampleAt(j, sx, W - 1);
        off0[(size_t)j] = (size_t)s.lo * 3;
        off1[(size_t)j] = (size_t)s.hi * 3;
    }
}

void MeanSourceRows(int H, int h, int i, int* y0, int* y1)
{
    Sample r = SampleAt(i, ResampleStep(H, h), H - 1);
    *y0 = r.lo;
    *y1 = r.hi;
}

void MeanRow(const unsigned char* row0, const unsigned char* row1, const size_t* off0,
             const size_t* off1, int w, unsigned char* dst)
{
    for (int j = 0; j < w; ++j, dst += 3) {
        const unsigned char* a = row0 + off0[j];
        const unsigned char* b = row0 + off1[j];
        const unsigned char* c = row1 + off0[j];
        const unsigned char* e = row1 + off1[j];
        dst[0] = (unsigned char)((a[0] + b[0] + c[0] + e[0]) >> 2);
        dst[1] = (unsigned char)((a[1] + b[1] + c[1] + e[1]) >> 2);
        dst[2] = (unsigned char)((a[2] + b[2] + c[2] + e[2]) >> 2);
    }
}

int ResampleRaster(const unsigned char* src, int W, int H, size_t srcStride,
                   unsigned char* dst, int w, int h, size_t dstStride)
{
    float sx = ResampleStep(W, w);
    float sy = ResampleStep(H, h);
    const bool bilinear = !ResampleUsesMean(W, H, w, h);
    // One scratch block: two column-offset tables, and for the bilinear
    // filter the column weights and two rows of horizontal sums.
    const size_t cols = (size_t)w;
    size_t bytes = 2 * cols * sizeof(size_t);
    if (bilinear)
        bytes += 7 * cols * sizeof(uint16_t);
    unsigned char* scratch = (unsigned char*)std::malloc(bytes);
    if (!scratch)
        return -1;
    size_t* off0 = (size_t*)scratch;
    size_t* off1 = off0 + cols;
    if (bilinear) {
        uint16_t* wx = (uint16_t*)(off1 + cols);
        uint16_t* bufA = wx + cols;
        uint16_t* bufB = bufA + 3 * cols;
        BilinearRaster(src, W, H, srcStride, dst, w, h, dstStride, sx, sy, off0, off1, wx, bufA,
                       bufB);
    } else {
        MeanRaster(src, W, H, srcStride, dst, w, h, dstStride, off0, off1);
    }
    std::free(scratch);
    return 0;
}
