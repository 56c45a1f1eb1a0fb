#include "thumbcache/BrowseCache.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "codec/JpegConverter.h"
#include "codec/JpegName.h"
#include "platform/FileSystem.h"
#include "thumbcache/CacheBlockStore.h"
#include "thumbcache/CacheFileIo.h"
#include "thumbcache/ThumbnailMaker.h"

namespace {

constexpr int kThumbnailQuality = 65;
constexpr int kIndexGrowth = 100;

// The key time of a photograph: unreadable or negative times count as 0.
int KeyTime(const char* path)
{
    int t = CBrowseCache::GetModifiedTime(path);
    return t < 0 ? 0 : t;
}

}  // namespace

CBrowseCache::CBrowseCache() : m_cacheFile(nullptr), m_cacheIndex(nullptr), m_cacheCount(0)
{
    ResetCache();
}

CBrowseCache::~CBrowseCache()
{
    if (m_cacheFile)
        fclose(m_cacheFile);
    ReleaseIndex();
}

void CBrowseCache::ResetCache()
{
    strcpy(m_cachePath, "C:/ThumbNails.bin");
    if (m_cacheFile)
        fclose(m_cacheFile);
    m_cacheFile = nullptr;
    ReleaseIndex();
    m_cacheBlockSize = 0;
    m_cacheDataStart = 0;
}

void CBrowseCache::ReleaseIndex()
{
    for (int i = 0; i < m_cacheCount; ++i)
        free(m_cacheIndex[i].name);
    free(m_cacheIndex);
    m_cacheIndex = nullptr;
    m_cacheCount = 0;
    m_cacheCapacity = 0;
}

void CBrowseCache::DropOldestIndexSlots(int count)
{
    if (count <= 0)
        return;
    if (count > m_cacheCount)
        count = m_cacheCount;
    for (int i = 0; i < count; ++i)
        free(m_cacheIndex[i].name);
    memmove(m_cacheIndex, m_cacheIndex + count,
            (size_t)(m_cacheCount - count) * sizeof(ThumbnailIndexEntry));
    m_cacheCount -= count;
}

int CBrowseCache::AppendIndexSlot(const char* path, int firstBlock, int fileTime)
{
    if (m_cacheCount + 1 > m_cacheCapacity) {
        int capacity = m_cacheCapacity + kIndexGrowth;
        void* grown = realloc(m_cacheIndex, (size_t)capacity * sizeof(ThumbnailIndexEntry));
        if (!grown)
            return -1;
        m_cacheIndex = (ThumbnailIndexEntry*)grown;
        m_cacheCapacity = capacity;
    }
    char* name = strdup(path);
    if (!name)
        return -1;
    m_cacheIndex[m_cacheCount++] = ThumbnailIndexEntry{name, firstBlock, fileTime};
    return 0;
}

int CBrowseCache::CompareBlockNumbers(const void* a, const void* b)
{
    uint32_t x = *(const uint32_t*)a;
    uint32_t y = *(const uint32_t*)b;
    return x < y ? -1 : (x > y ? 1 : 0);
}

int CBrowseCache::GetModifiedTime(const char* path)
{
    CFileStatus status;
    if (!path || !CFile::GetStatus(path, status))
        return -1;
    long long t = (long long)status.m_mtime;
    if (t < 0)
        return 0;
    // The file keeps 32-bit times. Past 2038 the low 31 bits still change
    // whenever the photograph does, so a stale thumbnail is never matched.
    if (t > INT_MAX)
        return (int)(t & INT_MAX);
    return (int)t;
}

unsigned char* CBrowseCache::FindThumbnail(const char* path, int* width, int* height)
{
    *width = 0;
    *height = 0;
    if (!path || !m_cacheFile || BeginCacheAccess(false) != 0)
        return nullptr;
    bool haveTime = false;
    int fileTime = 0;
    int found = -1;
    // A changed photograph leaves its old entry in place, so a later slot
    // for the same path may be the valid one.
    for (int i = 0; i < m_cacheCount && found < 0; ++i) {
        if (strcmp(m_cacheIndex[i].name, path) != 0)
            continue;
        if (!haveTime) {
            fileTime = KeyTime(path);
            haveTime = true;
        }
        if (m_cacheIndex[i].fileTime == fileTime)
            found = i;
    }
    if (found < 0) {
        EndCacheAccess();
        return nullptr;
    }

    unsigned char* bytes = nullptr;
    int size = 0;
    int status = ReadCacheEntry(m_cacheFile, (uint32_t)m_cacheIndex[found].firstBlock, path,
                                fileTime, &bytes, &size);
    if (status != kCacheOk && status != kCacheNoMemory) {
        DiscardThumbnailCache();
        return nullptr;
    }
    EndCacheAccess();
    if (status == kCacheNoMemory)
        return nullptr;
    // Decoded with the lock let go: the stream is this process's own copy.
    CJpegConverter converter;
    unsigned char* pixels = converter.Decode(bytes, (uint32_t)size);
    free(bytes);
    if (!pixels)
        return nullptr;
    *width = converter.GetWidth();
    *height = converter.GetHeight();
    return pixels;
}

int CBrowseCache::StoreThumbnail(const char* path, const unsigned char* pixels, int width,
                                 int height)
{
    if (width == 0 || height == 0)
        return 0;
    if (!path || !pixels || width < 0 || height < 0)
        return -1;
    // A name that does not fit the record block is never stored.
    if (strlen(path) + 1 > (size_t)kCacheMaxNameLength)
        return -1;
    if (!m_cacheFile && OpenThumbnailCache(m_cachePath) != 0)
        return -1;
    CJpegConverter converter;
    converter.m_nQuality = kThumbnailQuality;
    unsigned char* bytes = converter.Encode(pixels, width, height);
    if (!bytes)
        return -1;
    int result = StoreThumbnailBytes(path, bytes, converter.GetSize(), width, height);
    free(bytes);
    return result;
}

int CBrowseCache::StoreThumbnailBytes(const char* path, const unsigned char* bytes, int size,
                                      int width, int height)
{
    if (!path || !bytes || size < 0)
        return -1;
    size_t nameLength = strlen(path) + 1;
    if (nameLength > (size_t)kCacheMaxNameLength)
        return -1;
    // Too large for one block list: the file is not touched.
    if (size > kCacheMaxDataSize)
        return -1;
    if (!m_cacheFile && OpenThumbnailCache(m_cachePath) != 0)
        return -1;
    // Not had in time: skipped, like any store that does not fit.
    if (BeginCacheAccess(true) != 0)
        return -1;
    int result = StoreLockedThumbnailBytes(path, bytes, size, width, height);
    if (m_cacheFile)  // not discarded
        EndCacheAccess();
    return result;
}

int CBrowseCache::StoreLockedThumbnailBytes(const char* path, const unsigned char* bytes, int size,
                                            int width, int height)
{
    const int n = CacheBlocksForSize(size);
    const size_t nameLength = strlen(path) + 1;
    // The header is read afresh and must still describe the index.
    CacheHeader header;
    if (CacheReadHeader(m_cacheFile, &header) != 0 || !IsCacheHeaderSane(header) ||
        header.entryCount != m_cacheCount) {
        DiscardThumbnailCache();
        return -1;
    }
    if (header.freeCount < n) {
        int evicted = 0;
        int status = EvictCacheEntries(m_cacheFile, &header, &evicted);
        DropOldestIndexSlots(evicted);
        if (status != kCacheOk) {
            DiscardForStatus(status);
            return -1;
        }
        // Not stored; the evictions stand and the next store evicts further.
        if (header.freeCount < n)
            return -1;
    }

    uint32_t blocks[kCacheMaxEntryBlocks];
    int status = TakeCacheBlocks(m_cacheFile, header, n, blocks);
    if (status != kCacheOk) {
        DiscardForStatus(status);
        return -1;
    }
    qsort(blocks, (size_t)n, sizeof blocks[0], CompareBlockNumbers);

    CacheRecord record;
    record.streamCheck = (int32_t)CacheStreamCheck(bytes, size);
    record.fileTime = KeyTime(path);
    record.nameLength = (int32_t)nameLength;
    record.nameOffset = 0;
    record.blockListCount = n - 2;
    record.blockListBlock = (int32_t)blocks[1];
    record.dataSize = size;
    record.width = width;
    record.height = height;
    status = WriteCacheEntry(m_cacheFile, &header, blocks, n, record, path, bytes);
    if (status != kCacheOk) {
        DiscardForStatus(status);
        return -1;
    }
    if (AppendIndexSlot(path, (int)blocks[0], record.fileTime) != 0) {
        DiscardThumbnailCache();
        return -1;
    }
    return 0;
}

unsigned char* CBrowseCache::GetThumbnail(const char* path, int* width, int* height)
{
    *width = 0;
    *height = 0;
    if (!path)
        return nullptr;
    if (!m_cacheFile)
        OpenThumbnailCache(m_cachePath);
    unsigned char* pixels = FindThumbnail(path, width, height);
    if (pixels)
        return pixels;
    if (!IsJpegName(path))
        return nullptr;

    unsigned char* thumb = MakeThumbnail(path, width, height);
    if (!thumb)
        return nullptr;
    StoreThumbnail(path, thumb, *width, *height);
    return thumb;
}
