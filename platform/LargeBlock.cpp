#include "platform/LargeBlock.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

// Below this size the advice cannot cover a whole huge page often enough to
// be worth a system call.
static const size_t kAdviseFrom = (size_t)4 << 20;
static const uintptr_t kHugePage = (uintptr_t)2 << 20;

void* AllocLargeBlock(size_t bytes)
{
    void* block = std::malloc(bytes);
#ifdef MADV_HUGEPAGE
    if (block && bytes >= kAdviseFrom) {
        // Only whole huge pages inside the block are advised; the advice is
        // a hint, and a kernel without huge pages just ignores it.
        const uintptr_t begin = ((uintptr_t)block + kHugePage - 1) & ~(kHugePage - 1);
        const uintptr_t end = ((uintptr_t)block + bytes) & ~(kHugePage - 1);
        if (end > begin)
            madvise((void*)begin, end - begin, MADV_HUGEPAGE);
    }
#endif
    return block;
}
