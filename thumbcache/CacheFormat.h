#pragma once
// The bytes of the thumbnail cache file and the range checks applied to
// every number read from it. No I/O here (CacheFileIo does the reading and
// writing).
//
// Layout, all numbers 32-bit little-endian two's complement:
//   0       header, 28 bytes (CacheHeader)
//   28      free list region: room for 20000 block numbers, used as a stack
//   80028   entry list region: room for 20000 record-block numbers, oldest first
//   160028  data area: block n at 160028 + n * 1024
// Each entry owns a record block (36-byte CacheRecord, then the name), a
// block-list block (the numbers of its data blocks) and dataSize / 1024 + 1
// data blocks holding its JPEG stream.

#include <cstdint>

constexpr int kCacheHeaderBytes = 28;
constexpr int kCacheRecordBytes = 36;
constexpr int kCacheBlockSize = 1024;
constexpr int kCacheBlockCount = 20000;
constexpr int kCacheFreeListOffset = 0;      // relative to the end of the header
constexpr int kCacheEntryListOffset = 80000;
constexpr int kCacheDataOffset = 160000;
constexpr long kCacheDataStart = kCacheHeaderBytes + kCacheDataOffset;
// Every entry takes at least 3 blocks.
constexpr int kCacheMaxEntries = kCacheBlockCount / 3;
// An entry may own at most blockSize / 4 blocks, so its block list fits one
// block: 2 + blockListCount <= 256.
constexpr int kCacheMaxEntryBlocks = kCacheBlockSize / 4;
constexpr int kCacheMaxDataBlocks = kCacheMaxEntryBlocks - 2;
// The longest stream that is stored: 253 * 1024 + 1023 = 260,095 bytes.
constexpr int kCacheMaxDataSize = (kCacheMaxDataBlocks - 1) * kCacheBlockSize + kCacheBlockSize - 1;
// Record and name share the record block: a name has at most 987 characters.
constexpr int kCacheMaxNameLength = kCacheBlockSize - kCacheRecordBytes;
// A name length above this (as unsigned) has its own message.
constexpr uint32_t kCacheNameLengthLimit = 1024;

struct CacheHeader {
    int32_t reserved;
    int32_t blockSize;
    int32_t freeCount;
    int32_t freeListOffset;
    int32_t entryCount;
    int32_t entryListOffset;
    int32_t dataOffset;
};

struct CacheRecord {
    // The format's reserved word, written as 0 by older versions and not
    // interpreted by them. Entries written here keep CacheStreamCheck of
    // their stream in it, so damaged data blocks are noticed; 0 means the
    // entry carries no check.
    int32_t streamCheck;
    int32_t fileTime;
    int32_t nameLength;  // with the terminating NUL
    int32_t nameOffset;  // bytes between the record and the name
    int32_t blockListCount;
    int32_t blockListBlock;
    int32_t dataSize;
    int32_t width;
    int32_t height;
};

// Little-endian 32-bit numbers.
void PutCacheNumber(unsigned char* out, int32_t value);
int32_t GetCacheNumber(const unsigned char* in);

// The header of a new, empty file.
CacheHeader NewCacheHeader();
void PackCacheHeader(const CacheHeader& header, unsigned char out[kCacheHeaderBytes]);
CacheHeader UnpackCacheHeader(const unsigned char in[kCacheHeaderBytes]);
void PackCacheRecord(const CacheRecord& record, unsigned char out[kCacheRecordBytes]);
CacheRecord UnpackCacheRecord(const unsigned char in[kCacheRecordBytes]);

// True when the header has the creator's layout and both counts fit their
// regions. Only such headers are used; anything else marks a corrupt file.
bool IsCacheHeaderSane(const CacheHeader& header);

enum CacheRecordCheck {
    kCacheRecordSane = 0,
    kCacheRecordNameTooLong,  // nameLength above 1024 as unsigned
    kCacheRecordCorrupt,      // any other value out of range
};
// Checks every field that is used as an offset, a count or a size.
CacheRecordCheck CheckCacheRecord(const CacheRecord& record);

// CRC-32 (the polynomial of zlib and PNG) of a stream, with 0 replaced by 1
// so that a stored check is never 0.
uint32_t CacheStreamCheck(const unsigned char* bytes, int size);

// A block number read from the file is usable when it names a block.
inline bool IsCacheBlockNumber(uint32_t block) { return block < (uint32_t)kCacheBlockCount; }

// Blocks an entry with a stream of `dataSize` bytes takes:
// floor(dataSize / blockSize) + 3.
inline int CacheBlocksForSize(int dataSize) { return dataSize / kCacheBlockSize + 3; }

// File offsets. Callers pass checked block numbers and slot indexes.
inline long CacheBlockOffset(uint32_t block) { return kCacheDataStart + (long)block * kCacheBlockSize; }
inline long CacheFreeSlotOffset(int slot)
{
    return kCacheHeaderBytes + kCacheFreeListOffset + 4L * slot;
}
inline long CacheEntrySlotOffset(int slot)
{
    return kCacheHeaderBytes + kCacheEntryListOffset + 4L * slot;
}
