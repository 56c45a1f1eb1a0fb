#pragma once
// Heap blocks for whole pictures. A fresh block of tens of megabytes costs
// one page fault per 4 KiB page on first write (about 9000 for a 12 MP
// raster), which takes longer than filling it. Large blocks are offered to
// the kernel for transparent huge pages, which turns those faults into a
// few dozen. Blocks of a huge page (2 MiB) or more are aligned to one, so all
// of the block can be backed that way. The block is an ordinary heap block:
// release it with free.

#include <cstddef>

// malloc(bytes), or for 2 MiB and more an aligned block with the huge-page
// advice; null when there is no memory.
void* AllocLargeBlock(size_t bytes);
