#pragma once
// Heap blocks for whole pictures. A fresh block of tens of megabytes costs
// one page fault per 4 KiB page on first write (about 9000 for a 12 MP
// raster), which takes longer than filling it. Large blocks are offered to
// the kernel for transparent huge pages, which turns those faults into a
// few dozen. The block is an ordinary malloc block: release it with free.

#include <cstddef>

// malloc(bytes), with the huge-page advice for blocks of several megabytes;
// null when malloc fails.
void* AllocLargeBlock(size_t bytes);
