#pragma once
// The memory budget of one picture: the most that the rasters of a picture
// alive at the same time may take together (while a decode fills its raster
// with the library's working memory beside it; while SetImage copies the
// decoded buffer into the stored raster; the full-size and the display
// raster of a zoom). Pictures that would need more are refused as an
// allocation failure, so a crafted header cannot make the process ask for
// more memory than the machine has.
//
// The decoder adds two bounds of its own on what a header may declare before
// anything is allocated (codec/StreamCoverage.h): a Huffman-coded stream must
// hold at least 1 % of one bit per 8 x 8 block of each component, and an
// arithmetic-coded picture may have at most 100 megapixels.

#include <cstdint>

// Half of the machine's physical memory, and never more than 2^40 bytes.
// Computed once. Tests may lower it with SetRasterByteLimit.
uint64_t MaxRasterBytes();

// Overrides the limit (0 restores the machine-derived one). Returns the old.
uint64_t SetRasterByteLimit(uint64_t bytes);

// True when a raster of `bytes` may be allocated under the limit and
// addressed with size_t.
bool RasterBytesAllowed(uint64_t bytes);

// True when a raster of `bytes` may be allocated while `heldBytes` of the
// same picture are already alive: both together within the limit.
bool RasterBytesAllowedBeside(uint64_t heldBytes, uint64_t bytes);
