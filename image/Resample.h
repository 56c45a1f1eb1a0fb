#pragma once
// Resampling of 24-bit rasters: the 2 x 2 mean for reductions and 8-bit
// bilinear interpolation when a picture grows in both directions. Both
// rasters share their vertical order; every byte of a pixel is treated alike,
// so the byte order does not matter either.

#include <cstddef>

// Step between sample points for `from` source and `to` destination pixels:
// (from - 1) / (to - 1) in double, kept as a 32-bit float; from - 1 for to <= 1.
float ResampleStep(int from, int to);

// Builds dst (w x h, row stride dstStride) from src (W x H, row stride
// srcStride). Sizes are at least 1. The destination's fill bytes are not
// written. Returns 0, or -1 when its scratch memory cannot be allocated
// (dst is then left unwritten).
int ResampleRaster(const unsigned char* src, int W, int H, size_t srcStride,
                   unsigned char* dst, int w, int h, size_t dstStride);
