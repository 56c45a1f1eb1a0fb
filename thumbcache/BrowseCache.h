#pragma once
// The thumbnail cache part of the browser window: its state and operations
// over the block-store file "C:/ThumbNails.bin". CBrowse derives from this
// class, so these are CBrowse's own members; kept apart (and free of any GUI)
// so the cache can be used and tested without a window.
//
// That drive path names the file in the user's cache directory
// ($XDG_CACHE_HOME/pixmoor, platform/UserCacheFile.h), made 0700 on first
// use, where a file left in drive C: by earlier versions is moved. Cache
// files are created 0600, and one found readable by others is narrowed.
//
// Messages go through AfxMessageBox (platform/MessageBox.h).
//
// Several processes may use one cache file. Every open, store, eviction and
// lookup holds an advisory lock on the file while it reads or writes it, and
// first brings the index up to date with what other processes have stored
// or evicted since (the header and the entry list tell). A lock that cannot
// be had within kCacheLockWaitMs skips the operation: nothing is stored, a
// lookup finds nothing, and no message is shown.

#include <cstdint>
#include <cstdio>

struct CacheHeader;

// How long an operation waits for another process's hold on the cache file.
constexpr int kCacheLockWaitMs = 200;

struct ThumbnailIndexEntry {
    char* name;      // the photograph's full path, owned
    int firstBlock;  // the entry's record block
    int fileTime;    // the photograph's last-write time when stored
};

class CBrowseCache {
public:
    CBrowseCache();
    virtual ~CBrowseCache();
    CBrowseCache(const CBrowseCache&) = delete;
    CBrowseCache& operator=(const CBrowseCache&) = delete;

    unsigned char* GetThumbnail(const char* path, int* width, int* height);
    unsigned char* FindThumbnail(const char* path, int* width, int* height);
    int StoreThumbnail(const char* path, const unsigned char* pixels, int width, int height);
    int OpenThumbnailCache(const char* path);
    int CreateThumbnailCache(const char* path);
    void DiscardThumbnailCache();
    static int GetModifiedTime(const char* path);
    static int CompareBlockNumbers(const void* a, const void* b);

    // Resets the members to their start values (the cache path to
    // "C:/ThumbNails.bin"), dropping any open file and index.
    void ResetCache();

    char m_cachePath[1000];
    FILE* m_cacheFile;
    ThumbnailIndexEntry* m_cacheIndex;
    int m_cacheCount;
    int m_cacheCapacity;
    int m_cacheBlockSize;
    int m_cacheDataStart;

private:
    // Tests reach the byte-level store through this class.
    friend class CBrowseCacheTestAccess;

    // Stores an already encoded stream: the part of StoreThumbnail after the
    // encoding. 0, or -1 when not stored (the cache is discarded on errors).
    int StoreThumbnailBytes(const char* path, const unsigned char* bytes, int size, int width,
                            int height);
    int StoreLockedThumbnailBytes(const char* path, const unsigned char* bytes, int size, int width,
                                  int height);
    // Shows the message that belongs to a block-store status, then discards.
    void DiscardForStatus(int status);
    // Removes the open file (when the path still names it), closes it and
    // empties the index: the part of a discard before its messages, so no
    // lock is held while a message box waits.
    void DropCacheFile();
    // Replaces the index with the file's entries, checking the whole file;
    // the index is empty after a failure. A block-store status.
    int LoadIndex(const CacheHeader& header);

    // Sharing the file with other processes (BrowseCacheSharing.cpp).
    // Locks the open file for one operation (shared for lookups), reopens it
    // when another process has discarded it, and brings the index up to
    // date. 0 when locked; -1 when not (the cache may have been discarded).
    int BeginCacheAccess(bool exclusive);
    // Flushes what was written and lets go of the lock.
    void EndCacheAccess();
    int SyncIndexWithFile();
    int FollowFileEntries(const uint32_t* list, int count, int dropped);
    void ReleaseIndex();
    void DropOldestIndexSlots(int count);
    int AppendIndexSlot(const char* path, int firstBlock, int fileTime);
};
