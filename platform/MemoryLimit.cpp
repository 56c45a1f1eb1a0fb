#include "MemoryLimit.h"

#include <unistd.h>

static uint64_t g_override = 0;

static uint64_t MachineLimit()
{
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    uint64_t physical = (pages > 0 && pageSize > 0) ? (uint64_t)pages * (uint64_t)pageSize
                                                    : (uint64_t)1 << 32;
    uint64_t limit = physical / 2;
    const uint64_t cap = (uint64_t)1 << 40;
    return limit < cap ? limit : cap;
}

uint64_t MaxRasterBytes()
{
    if (g_override)
        return g_override;
    static const uint64_t machine = MachineLimit();
    return machine;
}

uint64_t SetRasterByteLimit(uint64_t bytes)
{
    uint64_t old = g_override;
    g_override = bytes;
    return old;
}

bool RasterBytesAllowed(uint64_t bytes)
{
    return RasterBytesAllowedBeside(0, bytes);
}

bool RasterBytesAllowedBeside(uint64_t heldBytes, uint64_t bytes)
{
    if (bytes > (uint64_t)SIZE_MAX)
        return false;
    const uint64_t limit = MaxRasterBytes();
    // Compared without forming the sum, which could wrap.
    return heldBytes <= limit && bytes <= limit - heldBytes;
}
