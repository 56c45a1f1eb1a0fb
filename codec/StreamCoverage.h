#pragma once
// What a stream must hold for the picture its header declares, checked
// before anything is allocated for that picture.
//
// Huffman coding spends at least one bit on every 8 x 8 block of every
// component: a sequential scan codes each block's DC difference and its end
// of block, and a progressive stream's DC scans code each block's DC
// difference, with codes of one bit at the shortest. So a stream that
// declares B blocks and holds fewer than B / 800 bytes (1 % of that minimum)
// cannot be a photograph, however short it was cut: a real one, cut anywhere
// after its first 1 %, keeps at least that much. Only what follows the
// header counts (the first scan's data and everything after it): tables,
// comments and metadata before the first scan buy no blocks.
//
// Arithmetic coding can spend far less than a bit on a block (a flat
// 8000 x 8000 picture takes 208 bytes), so no such bound exists for it. Its
// pictures are capped at kMaxArithmeticPixels instead, well above any real
// arithmetic-coded photograph.

#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

constexpr uint64_t kMaxArithmeticPixels = 100000000;  // 100 megapixels
constexpr uint64_t kCoveragePercent = 1;

// True when `streamBytes` bytes of scan data (what the stream holds after the
// header that `cinfo` has read, jpeg_read_header done) may hold the picture
// that header declares.
bool StreamCanHoldPicture(j_decompress_ptr cinfo, uint64_t streamBytes);
