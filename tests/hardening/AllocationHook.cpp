#include "AllocationHook.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void __libc_free(void* block);
}

namespace {

// Plain globals: these run before any constructor and after every destructor.
bool g_armed = false;
bool g_failed = false;
long g_countdown = 0;
long g_live = 0;

bool FailThisOne()
{
    if (!g_armed || g_failed)
        return false;
    if (--g_countdown > 0)
        return false;
    g_failed = true;
    return true;
}

}  // namespace

void FailAllocationAfter(long k)
{
    g_countdown = k;
    g_failed = false;
    g_armed = true;
}

bool DisarmAllocationFailure()
{
    g_armed = false;
    return g_failed;
}

long LiveAllocations()
{
    return g_live;
}

extern "C" {

void* malloc(size_t size)
{
    if (FailThisOne())
        return nullptr;
    void* p = __libc_malloc(size);
    if (p)
        ++g_live;
    return p;
}

void* calloc(size_t count, size_t size)
{
    if (FailThisOne())
        return nullptr;
    void* p = __libc_calloc(count, size);
    if (p)
        ++g_live;
    return p;
}

void* realloc(void* block, size_t size)
{
    if (!block)
        return malloc(size);
    if (size == 0) {
        --g_live;
        return __libc_realloc(block, 0);  // frees the block
    }
    if (FailThisOne())
        return nullptr;
    return __libc_realloc(block, size);
}

void free(void* block)
{
    if (block)
        --g_live;
    __libc_free(block);
}

}  // extern "C"
