#include "thumbcache/CacheFormat.h"

void PutCacheNumber(unsigned char* out, int32_t value)
{
    uint32_t v = (uint32_t)value;
    out[0] = (unsigned char)(v & 0xFF);
    out[1] = (unsigned char)((v >> 8) & 0xFF);
    out[2] = (unsigned char)((v >> 16) & 0xFF);
    out[3] = (unsigned char)((v >> 24) & 0xFF);
}

int32_t GetCacheNumber(const unsigned char* in)
{
    uint32_t v = (uint32_t)in[0] | ((uint32_t)in[1] << 8) | ((uint32_t)in[2] << 16) |
                 ((uint32_t)in[3] << 24);
    return (int32_t)v;
}

CacheHeader NewCacheHeader()
{
    return CacheHeader{0, kCacheBlockSize, kCacheBlockCount, kCacheFreeListOffset, 0,
                       kCacheEntryListOffset, kCacheDataOffset};
}

void PackCacheHeader(const CacheHeader& h, unsigned char out[kCacheHeaderBytes])
{
    const int32_t fields[7] = {h.reserved,   h.blockSize,       h.freeCount, h.freeListOffset,
                               h.entryCount, h.entryListOffset, h.dataOffset};
    for (int i = 0; i < 7; ++i)
        PutCacheNumber(out + 4 * i, fields[i]);
}

CacheHeader UnpackCacheHeader(const unsigned char in[kCacheHeaderBytes])
{
    CacheHeader h;
    h.reserved = GetCacheNumber(in);
    h.blockSize = GetCacheNumber(in + 4);
    h.freeCount = GetCacheNumber(in + 8);
    h.freeListOffset = GetCacheNumber(in + 12);
    h.entryCount = GetCacheNumber(in + 16);
    h.entryListOffset = GetCacheNumber(in + 20);
    h.dataOffset = GetCacheNumber(in + 24);
    return h;
}

void PackCacheRecord(const CacheRecord& r, unsigned char out[kCacheRecordBytes])
{
    const int32_t fields[9] = {r.streamCheck,       r.fileTime, r.nameLength,
                               r.nameOffset,     r.blockListCount, r.blockListBlock,
                               r.dataSize,       r.width,    r.height};
    for (int i = 0; i < 9; ++i)
        PutCacheNumber(out + 4 * i, fields[i]);
}

CacheRecord UnpackCacheRecord(const unsigned char in[kCacheRecordBytes])
{
    CacheRecord r;
    r.streamCheck = GetCacheNumber(in);
    r.fileTime = GetCacheNumber(in + 4);
    r.nameLength = GetCacheNumber(in + 8);
    r.nameOffset = GetCacheNumber(in + 12);
    r.blockListCount = GetCacheNumber(in + 16);
    r.blockListBlock = GetCacheNumber(in + 20);
    r.dataSize = GetCacheNumber(in + 24);
    r.width = GetCacheNumber(in + 28);
    r.height = GetCacheNumber(in + 32);
    return r;
}

bool IsCacheHeaderSane(const CacheHeader& h)
{
    // Readers of the old format took the block size and offsets from the
    // header, but every file ever written has these values; accepting others
    // would only let a damaged header point reads anywhere.
    if (h.blockSize != kCacheBlockSize || h.freeListOffset != kCacheFreeListOffset ||
        h.entryListOffset != kCacheEntryListOffset || h.dataOffset != kCacheDataOffset)
        return false;
    if (h.freeCount < 0 || h.freeCount > kCacheBlockCount)
        return false;
    if (h.entryCount < 0 || h.entryCount > kCacheMaxEntries)
        return false;
    // Each entry holds at least 3 blocks that are not free.
    return (int64_t)h.freeCount + 3 * (int64_t)h.entryCount <= kCacheBlockCount;
}

CacheRecordCheck CheckCacheRecord(const CacheRecord& r)
{
    if ((uint32_t)r.nameLength > kCacheNameLengthLimit)
        return kCacheRecordNameTooLong;
    if (r.nameOffset < 0 || r.nameOffset > kCacheMaxNameLength - 1)
        return kCacheRecordCorrupt;
    if (r.nameLength < 1 || r.nameLength > kCacheMaxNameLength - r.nameOffset)
        return kCacheRecordCorrupt;
    if (r.dataSize < 0 || r.dataSize > kCacheMaxDataSize)
        return kCacheRecordCorrupt;
    if (r.blockListCount != r.dataSize / kCacheBlockSize + 1)
        return kCacheRecordCorrupt;
    if (!IsCacheBlockNumber((uint32_t)r.blockListBlock))
        return kCacheRecordCorrupt;
    return kCacheRecordSane;
}

uint32_t CacheStreamCheck(const unsigned char* bytes, int size)
{
    static const struct Table {
        uint32_t entry[256];
        Table()
        {
            for (uint32_t n = 0; n < 256; ++n) {
                uint32_t c = n;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                entry[n] = c;
            }
        }
    } table;
    uint32_t crc = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i)
        crc = table.entry[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    crc ^= 0xFFFFFFFFu;
    return crc ? crc : 1;
}
