// CBrowseCache members that let several processes use one cache file: the
// lock around each operation and the index kept in step with the file.
//
// Other processes change the file only under the lock, and only as the
// block store does: a store appends one slot to the entry list, an eviction
// removes slots from its front. So the file's entry list is some tail of the
// index followed by entries this process has not seen, and only those new
// entries need reading. Anything else (a file rewritten by other means)
// reloads the whole index with the full check of an open.

#include <cstdlib>
#include <cstring>

#include "platform/FileSharing.h"
#include "thumbcache/BrowseCache.h"
#include "thumbcache/CacheBlockStore.h"
#include "thumbcache/CacheFileIo.h"

int CBrowseCache::BeginCacheAccess(bool exclusive)
{
    if (!m_cacheFile || PlatformLockFile(m_cacheFile, exclusive, kCacheLockWaitMs) != 0)
        return -1;
    if (!PlatformIsSameFile(m_cacheFile, m_cachePath)) {
        // Discarded by another process (and perhaps made anew): this index
        // describes a file nobody else will see again.
        fclose(m_cacheFile);
        m_cacheFile = nullptr;
        ReleaseIndex();
        if (OpenThumbnailCache(m_cachePath) != 0 ||
            PlatformLockFile(m_cacheFile, exclusive, kCacheLockWaitMs) != 0)
            return -1;
    }
    int status = SyncIndexWithFile();
    if (status == kCacheOk)
        return 0;
    if (status == kCacheNoMemory) {
        EndCacheAccess();
        return -1;
    }
    DiscardForStatus(status);
    return -1;
}

void CBrowseCache::EndCacheAccess()
{
    if (!m_cacheFile)
        return;
    fflush(m_cacheFile);
    PlatformUnlockFile(m_cacheFile);
}

int CBrowseCache::SyncIndexWithFile()
{
    CacheHeader header;
    if (CacheReadHeader(m_cacheFile, &header) != 0 || !IsCacheHeaderSane(header))
        return kCacheCorrupt;
    uint32_t* list = (uint32_t*)malloc(4 * (size_t)header.entryCount + 4);
    if (!list)
        return kCacheNoMemory;
    int status = kCacheOk;
    if (CacheReadNumbers(m_cacheFile, CacheEntrySlotOffset(0), list, header.entryCount) != 0)
        status = kCacheCorrupt;
    const int count = header.entryCount;
    bool same = status == kCacheOk && count == m_cacheCount;
    for (int i = 0; same && i < count; ++i)
        same = list[i] == (uint32_t)m_cacheIndex[i].firstBlock;
    if (status == kCacheOk && !same) {
        // Where the file's oldest entry sits in the index: the slots before
        // it were evicted. None of the index left means all were.
        int dropped = m_cacheCount;
        for (int i = 0; count > 0 && i < m_cacheCount; ++i)
            if ((uint32_t)m_cacheIndex[i].firstBlock == list[0]) {
                dropped = i;
                break;
            }
        status = FollowFileEntries(list, count, dropped);
        if (status == kCacheNotStored)
            status = LoadIndex(header);
    }
    free(list);
    return status;
}

// Drops the `dropped` oldest slots and appends the entries of the file's
// list beyond the rest. kCacheNotStored when the list does not continue the
// index that way.
int CBrowseCache::FollowFileEntries(const uint32_t* list, int count, int dropped)
{
    const int kept = m_cacheCount - dropped;
    if (kept > count)
        return kCacheNotStored;
    for (int i = 0; i < kept; ++i)
        if ((uint32_t)m_cacheIndex[dropped + i].firstBlock != list[i])
            return kCacheNotStored;
    if (kept > 0) {
        // Block numbers are reused after eviction; the oldest kept entry's
        // record must still be the one the index remembers.
        ThumbnailIndexEntry slot;
        int status = ReadCacheSlot(m_cacheFile, list[0], &slot);
        if (status != kCacheOk)
            return status;
        const ThumbnailIndexEntry& known = m_cacheIndex[dropped];
        const bool same = slot.fileTime == known.fileTime && strcmp(slot.name, known.name) == 0;
        free(slot.name);
        if (!same)
            return kCacheNotStored;
    }
    DropOldestIndexSlots(dropped);
    for (int i = kept; i < count; ++i) {
        ThumbnailIndexEntry slot;
        int status = ReadCacheSlot(m_cacheFile, list[i], &slot);
        if (status == kCacheOk && AppendIndexSlot(slot.name, (int)list[i], slot.fileTime) != 0)
            status = kCacheNoMemory;
        free(slot.name);
        if (status != kCacheOk) {
            // Half followed is no index at all; the next access loads it whole.
            ReleaseIndex();
            return status;
        }
    }
    return kCacheOk;
}
