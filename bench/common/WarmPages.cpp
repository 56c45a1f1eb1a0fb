#include "bench/common/WarmPages.h"

#include <cstring>
#include <sys/mman.h>

void WarmFreePages(size_t bytes)
{
    if (bytes == 0)
        return;
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return;
#ifdef MADV_HUGEPAGE
    madvise(block, bytes, MADV_HUGEPAGE);
#endif
    memset(block, 1, bytes);
    munmap(block, bytes);
}
