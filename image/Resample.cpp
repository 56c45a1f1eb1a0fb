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

// What a destination region reads: for each of its columns the byte offsets
// in a source row of its two source pixels and the weight of the second, for
// each of its rows the two source rows and the weight of the second. All of
// it lives in one scratch block, with the bilinear filter's two rows of
// horizontal sums.
struct RegionPlan {
    int cols, rows;
    bool bilinear;
    size_t* off0;
    size_t* off1;
    uint16_t* wx;
    const unsigned char** row0;
    const unsigned char** row1;
    uint16_t* wy;
    uint16_t* sumsA;
    uint16_t* sumsB;
    void* scratch;
};

bool AllocPlan(RegionPlan* p, int cols, int rows, bool bilinear)
{
    const size_t c = (size_t)cols, r = (size_t)rows;
    size_t bytes = 2 * c * sizeof(size_t) + 2 * r * sizeof(const unsigned char*) +
                   (c + r) * sizeof(uint16_t);
    if (bilinear)
        bytes += 6 * c * sizeof(uint16_t);
    unsigned char* s = (unsigned char*)std::malloc(bytes);
    if (!s)
        return false;
    p->cols = cols;
    p->rows = rows;
    p->bilinear = bilinear;
    p->scratch = s;
    p->off0 = (size_t*)s;
    p->off1 = p->off0 + c;
    p->row0 = (const unsigned char**)(p->off1 + c);
    p->row1 = p->row0 + r;
    p->wx = (uint16_t*)(p->row1 + r);
    p->wy = p->wx + c;
    p->sumsA = bilinear ? p->wy + r : nullptr;
    p->sumsB = bilinear ? p->sumsA + 3 * c : nullptr;
    return true;
}

// Means over the four pixels (x, y0), (x + 1, y0), (x, y1), (x + 1, y1) for
// every byte of a run of two source rows: n bytes, reading n + 3 of each row.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void QuadMeans(const unsigned char* __restrict row0, const unsigned char* __restrict row1,
               unsigned char* __restrict means, size_t n)
{
    for (size_t k = 0; k < n; ++k)
        means[k] = (unsigned char)((row0[k] + row0[k + 3] + row1[k] + row1[k + 3]) >> 2);
}

// 2 x 2 mean. With the neighbour clamped to the sample itself the four-term
// sum counts that pixel twice, so (a + b + c + d) >> 2 equals the mean over
// the distinct pixels divided by their count (1, 2 or 4), truncated.
//
// A column's neighbour is the next pixel of the row, or the pixel itself at
// the last source column, and only the last destination columns can sample
// that one. So the means are formed once per source byte of the span the
// region reads, in a loop the compiler vectorises, and each destination
// pixel is a copy of one of them. Consecutive destination rows that sample
// the same two source rows are copies of each other.
int RunMean(const RegionPlan& p, unsigned char* dst, size_t dstStride)
{
    const size_t first = p.off0[0];
    const size_t last = p.off0[(size_t)p.cols - 1];
    const bool clampedEnd = p.off1[(size_t)p.cols - 1] == last;
    const size_t n = last - first + 3;
    // One byte of slack: pixels are copied as four-byte words.
    unsigned char* means = (unsigned char*)std::malloc(n + 1);
    if (!means)
        return -1;
    means[n] = 0;
    const size_t rowBytes = (size_t)p.cols * 3;
    for (int i = 0; i < p.rows; ++i) {
        unsigned char* out = dst + (size_t)i * dstStride;
        if (i > 0 && p.row0[i] == p.row0[i - 1] && p.row1[i] == p.row1[i - 1]) {
            std::memcpy(out, out - dstStride, rowBytes);
            continue;
        }
        const unsigned char* a = p.row0[i] + first;
        const unsigned char* b = p.row1[i] + first;
        if (clampedEnd) {
            QuadMeans(a, b, means, n - 3);
            for (size_t k = n - 3; k < n; ++k)
                means[k] = (unsigned char)((2 * (a[k] + b[k])) >> 2);
        } else {
            QuadMeans(a, b, means, n);
        }
        // The fourth byte of each word lands on the next pixel, written
        // right after; the last pixel is copied with three bytes.
        const int cols = p.cols - 1;
        for (int j = 0; j < cols; ++j, out += 3)
            std::memcpy(out, means + (p.off0[j] - first), 4);
        std::memcpy(out, means + (p.off0[cols] - first), 3);
    }
    std::free(means);
    return 0;
}

// Bilinear with 8-bit weights. The horizontal sums of a source row are made
// once and kept while consecutive destination rows sample the same rows, so
// an enlargement costs one blend per destination byte.
void RunBilinear(const RegionPlan& p, unsigned char* dst, size_t dstStride)
{
    const size_t n = (size_t)p.cols * 3;
    uint16_t* top = p.sumsA;
    uint16_t* bottom = p.sumsB;
    const unsigned char* topRow = nullptr;
    const unsigned char* bottomRow = nullptr;
    for (int i = 0; i < p.rows; ++i) {
        if (p.row0[i] != topRow) {
            if (p.row0[i] == bottomRow) {
                std::swap(top, bottom);
                std::swap(topRow, bottomRow);
            } else {
                InterpolateRow(p.row0[i], p.cols, p.off0, p.off1, p.wx, top);
                topRow = p.row0[i];
            }
        }
        if (p.row1[i] != bottomRow) {
            if (p.row1[i] == topRow)
                std::memcpy(bottom, top, n * sizeof(uint16_t));
            else
                InterpolateRow(p.row1[i], p.cols, p.off0, p.off1, p.wx, bottom);
            bottomRow = p.row1[i];
        }
        BlendRows(top, bottom, dst + (size_t)i * dstStride, n, p.wy[i]);
    }
}

int RunPlan(const RegionPlan& p, unsigned char* dst, size_t dstStride)
{
    if (!p.bilinear)
        return RunMean(p, dst, dstStride);
    RunBilinear(p, dst, dstStride);
    return 0;
}

// The plan of a region's w x h destination from W x H, or false with
// `*result` the region function's answer: 0 for an empty region, -1 for one
// outside the destination or when memory runs out.
bool StartPlan(RegionPlan* p, int W, int H, int w, int h, int x0, int y0, int x1, int y1,
               int* result)
{
    const bool inside = x0 >= 0 && y0 >= 0 && x0 <= x1 && y0 <= y1 && x1 <= w && y1 <= h;
    *result = inside ? 0 : -1;
    if (!inside || x0 == x1 || y0 == y1)
        return false;
    if (!AllocPlan(p, x1 - x0, y1 - y0, !ResampleUsesMean(W, H, w, h))) {
        *result = -1;
        return false;
    }
    return true;
}

// Appends source index v to the ascending list of distinct indices, or finds
// it there; returns its position. Sample points never go backwards and a
// neighbour is at most one past its sample, so v is either new and larger
// than every index listed or among the last two.
int ListIndex(int* list, int* count, int v)
{
    int k = *count - 1;
    while (k >= 0 && list[k] > v)
        --k;
    if (k >= 0 && list[k] == v)
        return k;
    list[(*count)++] = v;
    return *count - 1;
}

// The distinct source indices that destination indices first .. first + n - 1
// read, ascending, and the position in that list of each one's two samples.
// list holds up to 2n entries.
int CompactSamples(int from, int to, int first, int n, int* list, int* loAt, int* hiAt,
                   uint16_t* weight)
{
    const float step = ResampleStep(from, to);
    int count = 0;
    for (int k = 0; k < n; ++k) {
        Sample s = SampleAt(first + k, step, from - 1);
        loAt[k] = ListIndex(list, &count, s.lo);
        hiAt[k] = ListIndex(list, &count, s.hi);
        weight[k] = (uint16_t)s.w;
    }
    return count;
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
    return ResampleRegion(src, W, H, srcStride, w, h, 0, 0, w, h, dst, dstStride);
}

int ResampleRegion(const unsigned char* src, int W, int H, size_t srcStride, int w, int h,
                   int x0, int y0, int x1, int y1, unsigned char* dst, size_t dstStride)
{
    RegionPlan p;
    int result;
    if (!StartPlan(&p, W, H, w, h, x0, y0, x1, y1, &result))
        return result;
    const float sx = ResampleStep(W, w), sy = ResampleStep(H, h);
    for (int j = 0; j < p.cols; ++j) {
        Sample s = SampleAt(x0 + j, sx, W - 1);
        p.off0[j] = (size_t)s.lo * 3;
        p.off1[j] = (size_t)s.hi * 3;
        p.wx[j] = (uint16_t)s.w;
    }
    for (int i = 0; i < p.rows; ++i) {
        Sample s = SampleAt(y0 + i, sy, H - 1);
        p.row0[i] = src + (size_t)s.lo * srcStride;
        p.row1[i] = src + (size_t)s.hi * srcStride;
        p.wy[i] = (uint16_t)s.w;
    }
    result = RunPlan(p, dst, dstStride);
    std::free(p.scratch);
    return result;
}

int ResampleRegionGathered(int W, int H, int w, int h, int x0, int y0, int x1, int y1,
                           ResampleGather gather, void* context, unsigned char* dst,
                           size_t dstStride)
{
    if (!gather)
        return -1;
    RegionPlan p;
    int result;
    if (!StartPlan(&p, W, H, w, h, x0, y0, x1, y1, &result))
        return result;
    // Index lists: the distinct columns and rows (up to two per destination
    // index) and each destination index's two positions among them.
    const size_t c = (size_t)p.cols, r = (size_t)p.rows;
    int* lists = (int*)std::malloc(4 * (c + r) * sizeof(int));
    if (!lists) {
        std::free(p.scratch);
        return -1;
    }
    int* columns = lists;
    int* colLo = columns + 2 * c;
    int* colHi = colLo + c;
    int* rows = colHi + c;
    int* rowLo = rows + 2 * r;
    int* rowHi = rowLo + r;
    const int nc = CompactSamples(W, w, x0, p.cols, columns, colLo, colHi, p.wx);
    const int nr = CompactSamples(H, h, y0, p.rows, rows, rowLo, rowHi, p.wy);
    const size_t blockStride = (size_t)nc * 3;
    unsigned char* block = (unsigned char*)std::malloc(blockStride * (size_t)nr);
    if (!block) {
        std::free(lists);
        std::free(p.scratch);
        return -1;
    }
    gather(context, columns, nc, rows, nr, block, blockStride);
    for (int j = 0; j < p.cols; ++j) {
        p.off0[j] = (size_t)colLo[j] * 3;
        p.off1[j] = (size_t)colHi[j] * 3;
    }
    for (int i = 0; i < p.rows; ++i) {
        p.row0[i] = block + (size_t)rowLo[i] * blockStride;
        p.row1[i] = block + (size_t)rowHi[i] * blockStride;
    }
    result = RunPlan(p, dst, dstStride);
    std::free(block);
    std::free(lists);
    std::free(p.scratch);
    return result;
}
