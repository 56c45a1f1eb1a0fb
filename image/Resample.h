#pragma once
// Resampling of 24-bit rasters: the 2 x 2 mean for reductions and 8-bit
// bilinear interpolation when a picture grows in both directions. Both
// rasters share their vertical order; every byte of a pixel is treated alike,
// so the byte order does not matter either.
//
// Every destination pixel is a function of its own position and of the
// source alone, so a region of the destination can be built by itself and
// equals the same region of the whole.

#include <cstddef>

// Step between sample points for `from` source and `to` destination pixels:
// (from - 1) / (to - 1) in double, kept as a 32-bit float; from - 1 for to <= 1.
float ResampleStep(int from, int to);

// True when ResampleRaster builds w x h from W x H with the 2 x 2 mean, false
// when with bilinear interpolation (the picture grows in both directions).
bool ResampleUsesMean(int W, int H, int w, int h);

// The 2 x 2 mean one destination row at a time, for a caller that holds only
// the two source rows each destination row reads (a decoder that keeps the
// rows it needs and nothing else); the same sums as ResampleRaster's.
//
// Byte offsets of the two source pixels of each of the w destination
// columns, from W source columns (off0 and off1 hold w entries each).
void MeanColumnOffsets(int W, int w, size_t* off0, size_t* off1);
// The two source rows y0 <= y1 that destination row i of h reads, of H.
void MeanSourceRows(int H, int h, int i, int* y0, int* y1);
// One destination row of w pixels from source rows row0 (y0) and row1 (y1).
void MeanRow(const unsigned char* row0, const unsigned char* row1, const size_t* off0,
             const size_t* off1, int w, unsigned char* dst);

// Builds dst (w x h, row stride dstStride) from src (W x H, row stride
// srcStride). Sizes are at least 1. The destination's fill bytes are not
// written. Returns 0, or -1 when its scratch memory cannot be allocated
// (dst is then left unwritten).
int ResampleRaster(const unsigned char* src, int W, int H, size_t srcStride,
                   unsigned char* dst, int w, int h, size_t dstStride);

// The columns x0 .. x1 - 1 of rows y0 .. y1 - 1 of what ResampleRaster would
// build at w x h, byte for byte, written to dst from its first row and column
// (dst row k is destination row y0 + k; rows in storage order, as the source).
// Returns 0 (nothing is written for an empty region), or -1 when the region
// does not lie inside w x h or scratch memory cannot be allocated.
int ResampleRegion(const unsigned char* src, int W, int H, size_t srcStride, int w, int h,
                   int x0, int y0, int x1, int y1, unsigned char* dst, size_t dstStride);

// Copies the source pixels at the given columns and rows (both ascending,
// distinct) into `block`: block row r, pixel c is source pixel
// (columns[c], rows[r]), three bytes.
typedef void (*ResampleGather)(void* context, const int* columns, int columnCount,
                               const int* rows, int rowCount, unsigned char* block,
                               size_t blockStride);

// ResampleRegion for a W x H source that is not laid out as rows in memory
// (a turned or mirrored view of a raster): only the pixels the region reads
// are asked of `gather`, once each, into a block of about the region's size
// (up to twice as many columns and rows for a reduction).
int ResampleRegionGathered(int W, int H, int w, int h, int x0, int y0, int x1, int y1,
                           ResampleGather gather, void* context, unsigned char* dst,
                           size_t dstStride);
