#pragma once
// The block store under the thumbnail cache: loading and checking a file,
// reading an entry's stream, evicting the oldest entries and writing a new
// entry. These work on an open "r+b" stream and report by status; the cache
// operations (BrowseCache.cpp) turn a status into messages and a discard.
//
// Crash safety: a store writes the entry's data blocks, block list and
// record, then its entry-list slot, and the header last, so a process that
// dies before the header write leaves the previous state with the new
// entry's blocks still free. An eviction appends to the free list's tail
// and rewrites the entry list before it writes the header; a death between
// those writes leaves an entry list that disagrees with the header, which
// the block check at load rejects (every block must be free or owned by
// exactly one entry).

#include <cstdint>
#include <cstdio>

#include "thumbcache/BrowseCache.h"
#include "thumbcache/CacheFormat.h"

enum CacheStatus {
    kCacheOk = 0,
    kCacheNotStored = 1,       // nothing written and nothing wrong with the file
    kCacheCorrupt = -1,        // short read or write, failed seek, value out of range
    kCacheNoMemory = -2,
    kCacheNameTooLong = -3,    // a record's name length is above 1024
    kCacheFreeSeekFailed = -4, // the seek to the free list's tail failed
};

// Writes the header and both lists of an empty cache from the start of `file`.
int WriteNewCacheFile(FILE* file);

// Reads the names and times of the `header.entryCount` entries into `slots`
// (zeroed by the caller; names are malloc'd and stay with the slots even on
// failure) and checks the block invariant: every free-list number and every
// block an entry owns is a valid block number that occurs once, and together
// they cover all blocks.
int LoadCacheEntries(FILE* file, const CacheHeader& header, ThumbnailIndexEntry* slots);

// Reads the name and time of the entry whose record is in `recordBlock` into
// `slot` (the name malloc'd; null unless the result is kCacheOk).
int ReadCacheSlot(FILE* file, uint32_t recordBlock, ThumbnailIndexEntry* slot);

// Reads the stream of the entry whose record is in `recordBlock`. The record
// must carry `name` and `fileTime`, and the stream must match the record's
// check when it has one, else the file is taken as corrupt. On
// success *bytes (malloc'd, the caller frees it) and *size are set.
int ReadCacheEntry(FILE* file, uint32_t recordBlock, const char* name, int fileTime,
                   unsigned char** bytes, int* size);

// Evicts min(entryCount, 10) oldest entries: their blocks are appended to the
// free list (record block, block-list block, data blocks, entry by entry)
// and the header is updated in `*header` and on disk. *evicted is the number
// of entries removed from the front of the entry list once the header has
// been written.
int EvictCacheEntries(FILE* file, CacheHeader* header, int* evicted);

// Reads the last `n` numbers of the free list (n <= header.freeCount). The
// file is not changed.
int TakeCacheBlocks(FILE* file, const CacheHeader& header, int n, uint32_t* blocks);

// Writes a new entry into `blocks` (n of them, ascending: record block,
// block-list block, data blocks), appends it to the entry list and commits
// it by writing the header (updated in `*header`), then flushes.
// `record.blockListCount` must be n - 2 and match `record.dataSize`.
int WriteCacheEntry(FILE* file, CacheHeader* header, const uint32_t* blocks, int n,
                    const CacheRecord& record, const char* name, const unsigned char* bytes);
