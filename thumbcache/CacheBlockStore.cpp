#include "thumbcache/CacheBlockStore.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "thumbcache/CacheFileIo.h"

namespace {

constexpr int kEvictBatch = 10;

// Which blocks are already accounted for while a file is checked.
class BlockClaims {
public:
    BlockClaims() { memset(m_used, 0, sizeof m_used); }
    // False for a number that is no block or that was claimed before.
    bool Claim(uint32_t block)
    {
        if (!IsCacheBlockNumber(block) || m_used[block])
            return false;
        m_used[block] = 1;
        ++m_count;
        return true;
    }
    int Count() const { return m_count; }

private:
    unsigned char m_used[kCacheBlockCount];
    int m_count = 0;
};

// Length of the run of data blocks from `first` that lie next to each other
// in the file and all carry bytes of a `size`-byte stream.
int ContiguousRun(const uint32_t* list, int count, int first, int size)
{
    int last = first;
    while (last + 1 < count && list[last + 1] == list[last] + 1 &&
           (int64_t)(last + 1) * kCacheBlockSize < size)
        ++last;
    return last - first + 1;
}

// Walks a stream of `size` bytes through its data blocks, calling
// transfer(file offset, stream offset, length) once per run of adjacent
// blocks. Piece k lies at the start of list[k]; the last listed block holds
// nothing when the size is a whole number of blocks.
template <typename Transfer>
int ForEachRun(const uint32_t* list, int count, int size, Transfer transfer)
{
    for (int k = 0; (int64_t)k * kCacheBlockSize < size;) {
        int run = ContiguousRun(list, count, k, size);
        int64_t begin = (int64_t)k * kCacheBlockSize;
        int64_t end = begin + (int64_t)run * kCacheBlockSize;
        if (end > size)
            end = size;
        if (transfer(CacheBlockOffset(list[k]), (size_t)begin, (size_t)(end - begin)) != 0)
            return -1;
        k += run;
    }
    return 0;
}

int ReadPieces(FILE* file, const uint32_t* list, int count, unsigned char* bytes, int size)
{
    return ForEachRun(list, count, size, [&](long offset, size_t at, size_t length) {
        return CacheReadAt(file, offset, bytes + at, length);
    });
}

int WritePieces(FILE* file, const uint32_t* list, int count, const unsigned char* bytes, int size)
{
    return ForEachRun(list, count, size, [&](long offset, size_t at, size_t length) {
        return CacheWriteAt(file, offset, bytes + at, length);
    });
}

// Reads and checks the record in `block`; a name length above 1024 has its
// own status.
int ReadCheckedRecord(FILE* file, uint32_t block, CacheRecord* record)
{
    if (CacheReadRecord(file, block, record) != 0)
        return kCacheCorrupt;
    switch (CheckCacheRecord(*record)) {
    case kCacheRecordSane:
        return kCacheOk;
    case kCacheRecordNameTooLong:
        return kCacheNameTooLong;
    default:
        return kCacheCorrupt;
    }
}

long NameOffset(uint32_t block, const CacheRecord& record)
{
    return CacheBlockOffset(block) + kCacheRecordBytes + record.nameOffset;
}

// The data-block list of a checked record, every number a block number.
int ReadBlockList(FILE* file, const CacheRecord& record, uint32_t* list)
{
    if (CacheReadNumbers(file, CacheBlockOffset((uint32_t)record.blockListBlock), list,
                         record.blockListCount) != 0)
        return -1;
    for (int i = 0; i < record.blockListCount; ++i)
        if (!IsCacheBlockNumber(list[i]))
            return -1;
    return 0;
}

// The index slot of the entry whose record is in `block`, and the record.
// The name is malloc'd into the slot even when reading it fails.
int ReadSlotRecord(FILE* file, uint32_t block, ThumbnailIndexEntry* slot, CacheRecord* record)
{
    int result = ReadCheckedRecord(file, block, record);
    if (result != kCacheOk)
        return result;
    char* name = (char*)malloc((size_t)record->nameLength + 1);
    if (!name)
        return kCacheNoMemory;
    slot->name = name;
    if (CacheReadAt(file, NameOffset(block, *record), name, (size_t)record->nameLength) != 0)
        return kCacheCorrupt;
    // The name ends at its first NUL or after nameLength bytes.
    name[record->nameLength] = '\0';
    slot->firstBlock = (int)block;
    slot->fileTime = record->fileTime;
    return kCacheOk;
}

}  // namespace

int ReadCacheSlot(FILE* file, uint32_t recordBlock, ThumbnailIndexEntry* slot)
{
    slot->name = nullptr;
    if (!IsCacheBlockNumber(recordBlock))
        return kCacheCorrupt;
    CacheRecord record;
    int result = ReadSlotRecord(file, recordBlock, slot, &record);
    if (result != kCacheOk) {
        free(slot->name);
        slot->name = nullptr;
    }
    return result;
}

int WriteNewCacheFile(FILE* file)
{
    // The free list holds 19999 down to 0, so the first blocks taken are the
    // lowest; the entry-list region is all zeros.
    const size_t listBytes = 4 * (size_t)kCacheBlockCount;
    unsigned char* lists = (unsigned char*)calloc(2, listBytes);
    if (!lists)
        return kCacheNoMemory;
    for (int i = 0; i < kCacheBlockCount; ++i)
        PutCacheNumber(lists + 4 * (size_t)i, kCacheBlockCount - 1 - i);
    unsigned char header[kCacheHeaderBytes];
    PackCacheHeader(NewCacheHeader(), header);
    int result = kCacheOk;
    if (CacheWriteAt(file, 0, header, sizeof header) != 0 ||
        CacheWriteAt(file, kCacheHeaderBytes, lists, 2 * listBytes) != 0)
        result = kCacheCorrupt;
    free(lists);
    return result;
}

int LoadCacheEntries(FILE* file, const CacheHeader& header, ThumbnailIndexEntry* slots)
{
    if (!IsCacheHeaderSane(header))
        return kCacheCorrupt;
    BlockClaims* claims = new (std::nothrow) BlockClaims;
    uint32_t* numbers = (uint32_t*)malloc(4 * (size_t)kCacheBlockCount);
    if (!claims || !numbers) {
        delete claims;
        free(numbers);
        return kCacheNoMemory;
    }
    int result = kCacheOk;
    if (CacheReadNumbers(file, CacheFreeSlotOffset(0), numbers, header.freeCount) != 0)
        result = kCacheCorrupt;
    for (int i = 0; result == kCacheOk && i < header.freeCount; ++i)
        if (!claims->Claim(numbers[i]))
            result = kCacheCorrupt;

    uint32_t* entries = (uint32_t*)malloc(4 * (size_t)header.entryCount + 4);
    if (result == kCacheOk && !entries)
        result = kCacheNoMemory;
    if (result == kCacheOk &&
        CacheReadNumbers(file, CacheEntrySlotOffset(0), entries, header.entryCount) != 0)
        result = kCacheCorrupt;

    for (int i = 0; result == kCacheOk && i < header.entryCount; ++i) {
        uint32_t block = entries[i];
        if (!claims->Claim(block)) {
            result = kCacheCorrupt;
            break;
        }
        CacheRecord record;
        result = ReadSlotRecord(file, block, &slots[i], &record);
        if (result != kCacheOk)
            break;
        if (!claims->Claim((uint32_t)record.blockListBlock) ||
            ReadBlockList(file, record, numbers) != 0) {
            result = kCacheCorrupt;
            break;
        }
        for (int k = 0; k < record.blockListCount; ++k)
            if (!claims->Claim(numbers[k]))
                result = kCacheCorrupt;
    }
    // No block may be lost: free plus owned blocks cover the data area.
    if (result == kCacheOk && claims->Count() != kCacheBlockCount)
        result = kCacheCorrupt;
    free(entries);
    free(numbers);
    delete claims;
    return result;
}

int ReadCacheEntry(FILE* file, uint32_t recordBlock, const char* name, int fileTime,
                   unsigned char** bytes, int* size)
{
    *bytes = nullptr;
    *size = 0;
    CacheRecord record;
    if (!IsCacheBlockNumber(recordBlock) || ReadCheckedRecord(file, recordBlock, &record) != kCacheOk)
        return kCacheCorrupt;
    // The record must be the one the index points at; anything else means the
    // file changed under the index, and serving it could show another photo.
    char stored[kCacheBlockSize];
    if (record.fileTime != fileTime ||
        CacheReadAt(file, NameOffset(recordBlock, record), stored, (size_t)record.nameLength) != 0)
        return kCacheCorrupt;
    stored[record.nameLength] = '\0';
    if (strcmp(stored, name) != 0)
        return kCacheCorrupt;

    uint32_t list[kCacheMaxDataBlocks];
    if (ReadBlockList(file, record, list) != 0)
        return kCacheCorrupt;
    unsigned char* data = (unsigned char*)malloc(record.dataSize > 0 ? (size_t)record.dataSize : 1);
    if (!data)
        return kCacheNoMemory;
    // A stream that no longer matches its check has damaged blocks (or a
    // damaged size): it would decode to other pixels, or not at all.
    if (ReadPieces(file, list, record.blockListCount, data, record.dataSize) != 0 ||
        (record.streamCheck != 0 &&
         CacheStreamCheck(data, record.dataSize) != (uint32_t)record.streamCheck)) {
        free(data);
        return kCacheCorrupt;
    }
    *bytes = data;
    *size = record.dataSize;
    return kCacheOk;
}

int EvictCacheEntries(FILE* file, CacheHeader* header, int* evicted)
{
    *evicted = 0;
    if (!IsCacheHeaderSane(*header))
        return kCacheCorrupt;
    const int freeCount = header->freeCount;
    const int entryCount = header->entryCount;
    const int k = entryCount < kEvictBatch ? entryCount : kEvictBatch;
    if (k == 0)
        return kCacheOk;

    uint32_t* freeList = (uint32_t*)malloc(4 * (size_t)kCacheBlockCount);
    uint32_t* entries = (uint32_t*)malloc(4 * (size_t)entryCount);
    BlockClaims* claims = new (std::nothrow) BlockClaims;
    int result = kCacheOk;
    if (!freeList || !entries || !claims)
        result = kCacheNoMemory;
    if (result == kCacheOk &&
        (CacheReadNumbers(file, CacheFreeSlotOffset(0), freeList, freeCount) != 0 ||
         CacheReadNumbers(file, CacheEntrySlotOffset(0), entries, entryCount) != 0))
        result = kCacheCorrupt;
    for (int i = 0; result == kCacheOk && i < freeCount; ++i)
        if (!claims->Claim(freeList[i]))
            result = kCacheCorrupt;

    // Blocks return entry by entry: record block, block-list block, data
    // blocks in list order. A number already free or freed means the file
    // is damaged; handing it out would give one block to two entries.
    int newFree = freeCount;
    uint32_t list[kCacheMaxDataBlocks];
    for (int i = 0; result == kCacheOk && i < k; ++i) {
        CacheRecord record;
        if (ReadCheckedRecord(file, entries[i], &record) != kCacheOk ||
            ReadBlockList(file, record, list) != 0 ||
            newFree + record.blockListCount + 2 > kCacheBlockCount) {
            result = kCacheCorrupt;
            break;
        }
        freeList[newFree++] = entries[i];
        freeList[newFree++] = (uint32_t)record.blockListBlock;
        for (int j = 0; j < record.blockListCount; ++j)
            freeList[newFree++] = list[j];
        for (int j = newFree - record.blockListCount - 2; j < newFree; ++j)
            if (!claims->Claim(freeList[j]))
                result = kCacheCorrupt;
    }

    // The new free-list tail lies beyond the old freeCount and changes
    // nothing yet; the entry list moves down in place; the header commits.
    // Between the last two writes the old header sees entries twice, which
    // the load check rejects.
    if (result == kCacheOk) {
        CacheHeader updated = *header;
        updated.freeCount = newFree;
        updated.entryCount = entryCount - k;
        if (CacheWriteNumbers(file, CacheFreeSlotOffset(freeCount), freeList + freeCount,
                              newFree - freeCount) != 0 ||
            (updated.entryCount > 0 &&
             CacheWriteNumbers(file, CacheEntrySlotOffset(0), entries + k, updated.entryCount) != 0) ||
            CacheWriteHeader(file, updated) != 0 || fflush(file) != 0) {
            result = kCacheCorrupt;
        } else {
            *header = updated;
            *evicted = k;
        }
    }
    delete claims;
    free(entries);
    free(freeList);
    return result;
}

int TakeCacheBlocks(FILE* file, const CacheHeader& header, int n, uint32_t* blocks)
{
    if (!IsCacheHeaderSane(header) || n < 0 || n > header.freeCount)
        return kCacheCorrupt;
    long offset = CacheFreeSlotOffset(header.freeCount - n);
    if (CacheSeek(file, offset) != 0)
        return kCacheFreeSeekFailed;
    if (CacheReadNumbers(file, offset, blocks, n) != 0)
        return kCacheCorrupt;
    return kCacheOk;
}

int WriteCacheEntry(FILE* file, CacheHeader* header, const uint32_t* blocks, int n,
                    const CacheRecord& record, const char* name, const unsigned char* bytes)
{
    if (!IsCacheHeaderSane(*header) || n < 3 || n > kCacheMaxEntryBlocks || n > header->freeCount ||
        CheckCacheRecord(record) != kCacheRecordSane || record.nameOffset != 0 ||
        record.blockListCount != n - 2 || record.blockListBlock != (int32_t)blocks[1] ||
        header->entryCount >= kCacheMaxEntries)
        return kCacheCorrupt;
    // Ascending and in range means distinct: no block is given twice.
    for (int i = 0; i < n; ++i)
        if (!IsCacheBlockNumber(blocks[i]) || (i > 0 && blocks[i] <= blocks[i - 1]))
            return kCacheCorrupt;

    unsigned char recordBytes[kCacheBlockSize];
    PackCacheRecord(record, recordBytes);
    memcpy(recordBytes + kCacheRecordBytes, name, (size_t)record.nameLength - 1);
    recordBytes[kCacheRecordBytes + record.nameLength - 1] = '\0';

    CacheHeader updated = *header;
    updated.freeCount -= n;
    updated.entryCount += 1;
    // Everything but the header goes to blocks and slots the current header
    // does not cover; the header write commits the entry.
    if (WritePieces(file, blocks + 2, n - 2, bytes, record.dataSize) != 0 ||
        CacheWriteNumbers(file, CacheBlockOffset(blocks[1]), blocks + 2, n - 2) != 0 ||
        CacheWriteAt(file, CacheBlockOffset(blocks[0]), recordBytes,
                     (size_t)(kCacheRecordBytes + record.nameLength)) != 0 ||
        CacheWriteNumbers(file, CacheEntrySlotOffset(header->entryCount), blocks, 1) != 0 ||
        CacheWriteHeader(file, updated) != 0 || fflush(file) != 0)
        return kCacheCorrupt;
    *header = updated;
    return kCacheOk;
}
