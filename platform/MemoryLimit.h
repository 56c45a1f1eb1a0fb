#pragma once
// The largest single raster the viewer will try to allocate. Pictures whose
// pixels would need more are refused as an allocation failure, so a crafted
// header cannot make the process ask for more memory than the machine has.

#include <cstdint>

// Half of the machine's physical memory, and never more than 2^40 bytes.
// Computed once. Tests may lower it with SetRasterByteLimit.
uint64_t MaxRasterBytes();

// Overrides the limit (0 restores the machine-derived one). Returns the old.
uint64_t SetRasterByteLimit(uint64_t bytes);

// True when a raster of `bytes` may be allocated under the limit and
// addressed with size_t.
bool RasterBytesAllowed(uint64_t bytes);
