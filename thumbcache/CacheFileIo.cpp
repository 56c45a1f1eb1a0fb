#include "thumbcache/CacheFileIo.h"

#include <cstdlib>

static CacheIoHook g_cacheIoHook = nullptr;

CacheIoHook SetCacheIoHook(CacheIoHook hook)
{
    CacheIoHook old = g_cacheIoHook;
    g_cacheIoHook = hook;
    return old;
}

static int RunHook(FILE* file, CacheIoOp op, long offset, const void* data, size_t size)
{
    return g_cacheIoHook ? g_cacheIoHook(file, op, offset, data, size) : 0;
}

int CacheSeek(FILE* file, long offset)
{
    if (!file || offset < 0)
        return -1;
    if (RunHook(file, kCacheIoSeek, offset, nullptr, 0) != 0)
        return -1;
    return fseek(file, offset, SEEK_SET) == 0 ? 0 : -1;
}

int CacheReadAt(FILE* file, long offset, void* out, size_t size)
{
    if (CacheSeek(file, offset) != 0)
        return -1;
    if (RunHook(file, kCacheIoRead, offset, nullptr, size) != 0)
        return -1;
    if (size == 0)
        return 0;
    return fread(out, 1, size, file) == size ? 0 : -1;
}

int CacheWriteAt(FILE* file, long offset, const void* data, size_t size)
{
    if (CacheSeek(file, offset) != 0)
        return -1;
    if (RunHook(file, kCacheIoWrite, offset, data, size) != 0)
        return -1;
    if (size == 0)
        return 0;
    return fwrite(data, 1, size, file) == size ? 0 : -1;
}

int CacheReadHeader(FILE* file, CacheHeader* header)
{
    unsigned char bytes[kCacheHeaderBytes];
    if (CacheReadAt(file, 0, bytes, sizeof bytes) != 0)
        return -1;
    *header = UnpackCacheHeader(bytes);
    return 0;
}

int CacheWriteHeader(FILE* file, const CacheHeader& header)
{
    unsigned char bytes[kCacheHeaderBytes];
    PackCacheHeader(header, bytes);
    return CacheWriteAt(file, 0, bytes, sizeof bytes);
}

int CacheReadRecord(FILE* file, uint32_t block, CacheRecord* record)
{
    if (!IsCacheBlockNumber(block))
        return -1;
    unsigned char bytes[kCacheRecordBytes];
    if (CacheReadAt(file, CacheBlockOffset(block), bytes, sizeof bytes) != 0)
        return -1;
    *record = UnpackCacheRecord(bytes);
    return 0;
}

int CacheReadNumbers(FILE* file, long offset, uint32_t* out, int count)
{
    if (count < 0)
        return -1;
    if (CacheReadAt(file, offset, out, 4 * (size_t)count) != 0)
        return -1;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // The file's byte order is the host's: the bytes read are the numbers.
    return 0;
#else
    // Decode in place: element i's bytes are read before it is overwritten.
    unsigned char* bytes = (unsigned char*)out;
    for (int i = 0; i < count; ++i)
        out[i] = (uint32_t)GetCacheNumber(bytes + 4 * (size_t)i);
    return 0;
#endif
}

int CacheWriteNumbers(FILE* file, long offset, const uint32_t* numbers, int count)
{
    if (count < 0)
        return -1;
    if (count == 0)
        return CacheWriteAt(file, offset, "", 0);
    unsigned char small[1024];
    size_t size = 4 * (size_t)count;
    // One write per list, so a list reaches the file as one transfer.
    unsigned char* bytes = size <= sizeof small ? small : (unsigned char*)malloc(size);
    if (!bytes)
        return -1;
    for (int i = 0; i < count; ++i)
        PutCacheNumber(bytes + 4 * (size_t)i, (int32_t)numbers[i]);
    int result = CacheWriteAt(file, offset, bytes, size);
    if (bytes != small)
        free(bytes);
    return result;
}
