// CBrowseCache members that open, create and discard the cache file.

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/DriveTable.h"
#include "platform/FileSharing.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/PrivateFile.h"
#include "platform/UserCacheFile.h"
#include "thumbcache/BrowseCache.h"
#include "thumbcache/CacheBlockStore.h"
#include "thumbcache/CacheFileIo.h"

namespace {

const char kCorruptMessage[] = "Thumbnail image cache is corrupt or out of memory";
const char kNameLengthMessage[] = "thumb_img_header is messed up";
const char kFreeSeekMessage[] = "fseek Failed: read from free list";

}  // namespace

int CBrowseCache::CreateThumbnailCache(const char* path)
{
    // Written under a name of its own and then put in place whole, so that a
    // process opening the cache meanwhile never reads a part-written file,
    // and a file another process has just put there is kept. The name is
    // made from the native path, so that it lies in the same directory.
    const std::string native = NativePath(path);
    char temp[PATH_MAX + 32];
    if (native.empty() || native.size() >= PATH_MAX)
        return -1;
    snprintf(temp, sizeof temp, "%s.new.%ld", native.c_str(), (long)getpid());
    PlatformRemoveFile(temp);  // left by a process of the same id that died
    FILE* file = PlatformCreatePrivateFile(temp);
    if (!file)
        return -1;
    int written = WriteNewCacheFile(file);
    if (fclose(file) != 0 || written != kCacheOk) {
        PlatformRemoveFile(temp);
        return -1;
    }
    if (PlatformPlaceNewFile(temp, path) < 0)
        return -1;
    m_cacheFile = PlatformOpenFile(path, "r+b");
    return m_cacheFile ? 0 : -1;
}

void CBrowseCache::DropCacheFile()
{
    if (m_cacheFile) {
        // Another process may have discarded this file and made a new one
        // already; that one is not ours to remove.
        if (PlatformIsSameFile(m_cacheFile, m_cachePath))
            PlatformRemoveFile(m_cachePath);
        fclose(m_cacheFile);
        m_cacheFile = nullptr;
    } else {
        PlatformRemoveFile(m_cachePath);
    }
    ReleaseIndex();
}

void CBrowseCache::DiscardThumbnailCache()
{
    DiscardForStatus(kCacheCorrupt);
}

void CBrowseCache::DiscardForStatus(int status)
{
    DropCacheFile();
    if (status == kCacheNameTooLong)
        AfxMessageBox(kNameLengthMessage, MB_OK);
    else if (status == kCacheFreeSeekFailed)
        AfxMessageBox(kFreeSeekMessage, MB_OK);
    AfxMessageBox(kCorruptMessage, MB_OK);
}

int CBrowseCache::LoadIndex(const CacheHeader& header)
{
    ReleaseIndex();
    // Zeroed slots: names read so far are released on failure.
    m_cacheIndex = (ThumbnailIndexEntry*)calloc((size_t)header.entryCount + 1,
                                                sizeof(ThumbnailIndexEntry));
    if (!m_cacheIndex)
        return kCacheNoMemory;
    m_cacheCount = m_cacheCapacity = header.entryCount;
    int status = LoadCacheEntries(m_cacheFile, header, m_cacheIndex);
    if (status != kCacheOk)
        ReleaseIndex();
    return status;
}

int CBrowseCache::OpenThumbnailCache(const char* path)
{
    if (m_cacheFile) {
        fclose(m_cacheFile);
        m_cacheFile = nullptr;
    }
    // The user's cache has a directory of its own; one that cannot be made
    // leaves the cache closed, like a file that cannot be created.
    if (IsUserCacheFilePath(path) && PrepareUserCacheFile() != 0)
        return -1;
    // Another process may discard the file, or put a new one in its place,
    // between this open and its lock: then open what the path names now.
    for (int attempt = 0; attempt < 3 && !m_cacheFile; ++attempt) {
        errno = 0;
        m_cacheFile = PlatformOpenFile(path, "r+b");
        // Only a missing file is created: after any other failure (no
        // memory, no file handles, no permission) a cache may be there.
        if (!m_cacheFile && (errno != ENOENT || CreateThumbnailCache(path) != 0))
            return -1;
        if (PlatformLockFile(m_cacheFile, true, kCacheLockWaitMs) != 0) {
            fclose(m_cacheFile);
            m_cacheFile = nullptr;
            return -1;
        }
        if (!PlatformIsSameFile(m_cacheFile, path)) {
            fclose(m_cacheFile);
            m_cacheFile = nullptr;
        }
    }
    if (!m_cacheFile)
        return -1;
    // It holds copies of private photos. Another user's file, which cannot
    // be narrowed, is used as it is.
    PlatformMakeFilePrivate(m_cacheFile);

    CacheHeader header;
    if (CacheReadHeader(m_cacheFile, &header) != 0 || !IsCacheHeaderSane(header)) {
        DiscardThumbnailCache();
        return -1;
    }
    int status = LoadIndex(header);
    if (status != kCacheOk) {
        DiscardForStatus(status);
        return -1;
    }
    m_cacheBlockSize = header.blockSize;
    m_cacheDataStart = kCacheHeaderBytes + header.dataOffset;
    EndCacheAccess();
    return 0;
}
