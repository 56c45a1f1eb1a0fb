#pragma once
// Resampling of 24-bit rasters: the 2 x 2 mean for reductions and 8-bit
// bilinear interpolation when a picture grows in both directions. Both
// rasters share their vertical order; every byte of a pixel is treated alike,
// so the byte order does not matter either.

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
