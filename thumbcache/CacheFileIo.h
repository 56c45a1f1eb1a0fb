#pragma once
// Positioned reads and writes on the cache file, over stdio. Every call seeks
// first, so reads and writes may alternate on an "r+b" stream, and each write
// reaches the operating system (the next seek flushes it) in the order the
// caller issues them. All return 0 on success and -1 on a failed seek, a
// short read or write, or a failed allocation.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "thumbcache/CacheFormat.h"

enum CacheIoOp { kCacheIoSeek, kCacheIoRead, kCacheIoWrite };

// A hook that tests install to fail an operation (return -1) or to stop the
// process at a chosen write. It runs after the seek and before the transfer;
// for writes `data` is the bytes about to be written.
typedef int (*CacheIoHook)(FILE* file, CacheIoOp op, long offset, const void* data, size_t size);
// Installs a hook (null removes it) and returns the previous one.
CacheIoHook SetCacheIoHook(CacheIoHook hook);

int CacheSeek(FILE* file, long offset);
int CacheReadAt(FILE* file, long offset, void* out, size_t size);
int CacheWriteAt(FILE* file, long offset, const void* data, size_t size);

int CacheReadHeader(FILE* file, CacheHeader* header);
int CacheWriteHeader(FILE* file, const CacheHeader& header);
int CacheReadRecord(FILE* file, uint32_t block, CacheRecord* record);

// `count` block numbers at a file offset. Numbers are returned as read;
// callers range-check them.
int CacheReadNumbers(FILE* file, long offset, uint32_t* out, int count);
int CacheWriteNumbers(FILE* file, long offset, const uint32_t* numbers, int count);
