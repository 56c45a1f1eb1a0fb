#include "platform/LargeBlock.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

static const size_t kHugePage = (size_t)2 << 20;

void* AllocLargeBlock(size_t bytes)
{
#ifdef MADV_HUGEPAGE
    if (bytes >= kHugePage) {
        // Aligned to a huge page and advised whole, so every part of the
        // block may be one; the advice is a hint, and a kernel without huge
        // pages just ignores it. The block is still released with free.
        void* block = nullptr;
        if (posix_memalign(&block, kHugePage, bytes) != 0)
            return nullptr;
        const size_t advised = bytes & ~(kHugePage - 1);
        madvise(block, advised, MADV_HUGEPAGE);
        return block;
    }
#endif
    return std::malloc(bytes);
}
