// The bytes of the cache file: a new file, where a stored stream lands, the
// size limits, eviction order and the messages of a damaged name length.

#include <cstring>

#include "CacheTestSupport.h"
#include "thumbcache/CacheFileIo.h"
#include "thumbcache/CacheFormat.h"

namespace {

constexpr long kDataStart = 160028;
long BlockAt(uint32_t block) { return kDataStart + (long)block * 1024; }

using LayoutTest = CacheTest;

// Catches a creator that writes other header values, list order or length.
TEST_F(LayoutTest, NewFileIsHeaderThenDescendingFreeListThenZeros)
{
    CBrowseCache cache;
    EXPECT_STREQ(cache.m_cachePath, "C:/ThumbNails.bin");
    EXPECT_EQ(cache.m_cacheFile, nullptr);
    EXPECT_EQ(cache.m_cacheCount, 0);
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    ASSERT_NE(cache.m_cacheFile, nullptr);
    EXPECT_EQ(cache.m_cacheBlockSize, 1024);
    EXPECT_EQ(cache.m_cacheDataStart, 160028);

    std::vector<unsigned char> b = ReadWholeFile(CacheNative());
    ASSERT_EQ(b.size(), 160028u);
    const int32_t header[7] = {0, 1024, 20000, 0, 0, 80000, 160000};
    ParsedCache p = ParseCacheFile(CacheNative(), false);
    EXPECT_EQ(0, memcmp(p.header, header, sizeof header));
    ASSERT_EQ(p.freeList.size(), 20000u);
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(p.freeList[i], (uint32_t)(19999 - i)) << i;
    for (size_t i = 80028; i < b.size(); ++i)
        ASSERT_EQ(b[i], 0) << i;
    EXPECT_TRUE(g_messages.empty());
}

// Catches wrong block numbering, list placement or piece lengths.
TEST_F(LayoutTest, FirstStreamOf5000BytesLandsInBlocks0To6)
{
    CBrowseCache cache;
    const char* path = "C:/photos/first.jpg";
    std::vector<unsigned char> bytes = MakeBytes(5000, 1);
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, path, bytes, 150, 100), 0);

    const std::string f = CacheNative();
    const int32_t header[7] = {0, 1024, 19993, 0, 1, 80000, 160000};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ReadNumberAt(f, 4 * i), header[i]) << "header field " << i;
    EXPECT_EQ(ReadNumberAt(f, 80028), 0);
    // The free list keeps its bytes: only freeCount dropped.
    EXPECT_EQ(ReadNumberAt(f, 28 + 4 * 19993), 6);
    // The first word holds the stream's check (formerly reserved, written as 0).
    const int32_t record[9] = {(int32_t)CacheStreamCheck(bytes.data(), 5000), 0,
                               (int32_t)strlen(path) + 1, 0, 5, 1, 5000, 150, 100};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(ReadNumberAt(f, 160028 + 4 * i), record[i]) << "record field " << i;
    std::vector<unsigned char> b = ReadWholeFile(f);
    ASSERT_EQ(b.size(), 162076u + 5000u);
    EXPECT_EQ(0, memcmp(&b[160064], path, strlen(path) + 1));
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(ReadNumberAt(f, 161052 + 4 * k), 2 + k);
    EXPECT_EQ(0, memcmp(&b[162076], bytes.data(), 5000));

    ASSERT_EQ(cache.m_cacheCount, 1);
    EXPECT_STREQ(cache.m_cacheIndex[0].name, path);
    EXPECT_EQ(cache.m_cacheIndex[0].firstBlock, 0);
    EXPECT_EQ(cache.m_cacheIndex[0].fileTime, 0);
}

// Catches an off-by-one at a whole number of blocks (the empty last block).
TEST_F(LayoutTest, StreamOf4096BytesTakesSevenBlocksWithEmptyLastBlock)
{
    CBrowseCache cache;
    std::vector<unsigned char> bytes = MakeBytes(4096, 2);
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/a.jpg", bytes), 0);
    const std::string f = CacheNative();
    EXPECT_EQ(ReadNumberAt(f, 8), 19993);
    EXPECT_EQ(ReadNumberAt(f, 160028 + 16), 5);
    EXPECT_EQ(ReadNumberAt(f, 160028 + 24), 4096);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(ReadNumberAt(f, 161052 + 4 * k), 2 + k);
    // Block 6 holds nothing, so the file ends with block 5.
    EXPECT_EQ(FileSize(f), BlockAt(6));

    CBrowseCache reopened;
    ASSERT_EQ(reopened.OpenThumbnailCache(reopened.m_cachePath), 0);
    ParsedCache p = ParseCacheFile(f, true);
    ASSERT_EQ(p.entries.size(), 1u);
    EXPECT_EQ(p.entries[0].data, bytes);
}

struct SizeCase {
    int size;
    bool stored;
    int blockListCount;
};

// Catches a wrong limit: 260,095 bytes is the longest stream a block list can
// describe; anything longer must leave the file untouched.
TEST_F(LayoutTest, StreamSizeLimit)
{
    const SizeCase cases[] = {
        {0, true, 1},           {1, true, 1},           {1023, true, 1},
        {1024, true, 2},        {260095, true, 254},    {260096, false, 0},
        {300000, false, 0},
    };
    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    int entries = 0;
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.size);
        std::vector<unsigned char> before = ReadWholeFile(CacheNative());
        std::vector<unsigned char> bytes = MakeBytes((size_t)c.size, (uint32_t)c.size);
        int result = CBrowseCacheTestAccess::StoreBytes(cache, "C:/s.jpg", bytes);
        if (!c.stored) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(ReadWholeFile(CacheNative()), before);
            continue;
        }
        ASSERT_EQ(result, 0);
        ++entries;
        ParsedCache p = ParseCacheFile(CacheNative(), true);
        ASSERT_EQ((int)p.entries.size(), entries);
        EXPECT_EQ(p.entries.back().record[4], c.blockListCount);
        EXPECT_EQ(p.entries.back().data, bytes);
    }
    EXPECT_EQ(cache.m_cacheCount, entries);
    EXPECT_TRUE(g_messages.empty());
}

// Catches writing a name past its record block into the block-list block.
TEST_F(LayoutTest, NameLongerThan987CharactersIsNotStored)
{
    CBrowseCache cache;
    std::string longest = "C:/" + std::string(984, 'n');  // 987 characters
    std::string tooLong = longest + "x";
    std::vector<unsigned char> bytes = MakeBytes(3000, 3);
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, longest.c_str(), bytes), 0);
    std::vector<unsigned char> before = ReadWholeFile(CacheNative());
    EXPECT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, tooLong.c_str(), bytes), -1);
    EXPECT_EQ(ReadWholeFile(CacheNative()), before);
    std::vector<unsigned char> px(3 * 4 * 4, 7);
    EXPECT_EQ(cache.StoreThumbnail(tooLong.c_str(), px.data(), 4, 4), -1);
    EXPECT_EQ(ReadWholeFile(CacheNative()), before);
    EXPECT_EQ(cache.m_cacheCount, 1);

    // The 988-byte name fills its record block exactly; the block list follows.
    EXPECT_EQ(ReadNumberAt(CacheNative(), BlockAt(0) + 8), 988);
    EXPECT_EQ(before[BlockAt(1) - 1], 0);
    EXPECT_EQ(ReadNumberAt(CacheNative(), BlockAt(1)), 2);
    CBrowseCache reopened;
    ASSERT_EQ(reopened.OpenThumbnailCache(reopened.m_cachePath), 0);
    ASSERT_EQ(reopened.m_cacheCount, 1);
    EXPECT_EQ(std::string(reopened.m_cacheIndex[0].name), longest);
    EXPECT_TRUE(g_messages.empty());
}

// Stream size for an entry of n blocks.
std::vector<unsigned char> BytesForBlocks(int n, uint32_t seed) { return MakeBytes((size_t)(n - 3) * 1024, seed); }

// Catches a wrong eviction order or allocation from the wrong end of the
// free list: with 9 free blocks a 10-block entry evicts the ten oldest and
// takes the last ten blocks freed, the tail of the tenth entry's data.
TEST_F(LayoutTest, EvictionWhenNineBlocksAreFreeAndTenAreNeeded)
{
    CBrowseCache cache;
    // 78 entries of 256 blocks and one of 23 leave 20000 - 19991 = 9 free.
    std::vector<std::vector<unsigned char>> streams;
    for (int i = 0; i < 79; ++i) {
        streams.push_back(BytesForBlocks(i < 78 ? 256 : 23, 100 + i));
        std::string path = "C:/e" + std::to_string(i) + ".jpg";
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, path.c_str(), streams.back()), 0) << i;
    }
    ASSERT_EQ(ReadNumberAt(CacheNative(), 8), 9);

    std::vector<unsigned char> newest = BytesForBlocks(10, 999);
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/new.jpg", newest), 0);

    ParsedCache p = ParseCacheFile(CacheNative(), true);
    EXPECT_EQ(p.header[2], 9 + 10 * 256 - 10);
    EXPECT_EQ(p.header[4], 79 - 10 + 1);
    // The nine that were free stay at the bottom, then entries 0..9 in order,
    // each as record, block list, data blocks.
    std::vector<uint32_t> expectFree;
    for (int i = 0; i < 9; ++i)
        expectFree.push_back(19999 - i);
    for (int e = 0; e < 10; ++e)
        for (int b = 0; b < 256; ++b)
            expectFree.push_back(256 * e + b);
    expectFree.resize(expectFree.size() - 10);
    EXPECT_EQ(p.freeList, expectFree);

    const ParsedEntry& added = p.entries.back();
    EXPECT_EQ(added.recordBlock, 2550u);
    EXPECT_EQ(added.record[5], 2551);
    std::vector<uint32_t> data = {2552, 2553, 2554, 2555, 2556, 2557, 2558, 2559};
    EXPECT_EQ(added.dataBlocks, data);
    EXPECT_EQ(added.data, newest);
    for (int i = 10; i < 79; ++i)
        EXPECT_EQ(p.entries[i - 10].data, streams[i]) << i;

    // The index dropped the same ten slots the file did.
    ASSERT_EQ(cache.m_cacheCount, 70);
    for (int i = 0; i < 70; ++i)
        EXPECT_EQ((uint32_t)cache.m_cacheIndex[i].firstBlock, p.entries[i].recordBlock);
    EXPECT_STREQ(cache.m_cacheIndex[0].name, "C:/e10.jpg");
    EXPECT_TRUE(g_messages.empty());
}

// Catches a store that loops evicting, or that undoes the evictions, when
// ten small entries do not free enough.
TEST_F(LayoutTest, NotEnoughRoomAfterEvictionKeepsEvictionsAndStoresNothing)
{
    CBrowseCache cache;
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, ("C:/s" + std::to_string(i)).c_str(),
                                                     MakeBytes(10, i)), 0);
    for (int i = 0; i < 78; ++i)
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, ("C:/b" + std::to_string(i)).c_str(),
                                                     BytesForBlocks(256, 50 + i)), 0);
    ASSERT_EQ(ReadNumberAt(CacheNative(), 8), 2);

    std::vector<unsigned char> big = BytesForBlocks(256, 7);
    EXPECT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/big.jpg", big), -1);
    EXPECT_EQ(ReadNumberAt(CacheNative(), 8), 32);
    EXPECT_EQ(ReadNumberAt(CacheNative(), 16), 78);
    EXPECT_EQ(cache.m_cacheCount, 78);
    EXPECT_STREQ(cache.m_cacheIndex[0].name, "C:/b0");

    // The next store evicts the next ten and fits.
    EXPECT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/big.jpg", big), 0);
    EXPECT_EQ(cache.m_cacheCount, 69);
    EXPECT_TRUE(g_messages.empty());

    CBrowseCache reopened;
    ASSERT_EQ(reopened.OpenThumbnailCache(reopened.m_cachePath), 0);
    EXPECT_EQ(reopened.m_cacheCount, 69);
}

// Catches a lost message, a kept file or a cache that stays broken.
TEST_F(LayoutTest, NameLength2000ShowsBothMessagesDeletesFileAndStartsAfresh)
{
    {
        CBrowseCache writer;
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(writer, "C:/a.jpg", MakeBytes(100, 1)), 0);
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(writer, "C:/b.jpg", MakeBytes(100, 2)), 0);
    }
    WriteNumberAt(CacheNative(), BlockAt(0) + 8, 2000);

    CBrowseCache cache;
    EXPECT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), -1);
    std::vector<std::string> expected = {"thumb_img_header is messed up",
                                         "Thumbnail image cache is corrupt or out of memory"};
    EXPECT_EQ(g_messages, expected);
    EXPECT_FALSE(FileExists(CacheNative()));
    EXPECT_EQ(cache.m_cacheFile, nullptr);
    EXPECT_EQ(cache.m_cacheCount, 0);
    EXPECT_EQ(cache.m_cacheIndex, nullptr);

    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/c.jpg", MakeBytes(100, 3)), 0);
    ParsedCache p = ParseCacheFile(CacheNative(), false);
    EXPECT_EQ(p.header[2], 19997);
    ASSERT_EQ(p.entries.size(), 1u);
    EXPECT_EQ(p.entries[0].name, "C:/c.jpg");
    EXPECT_EQ(g_messages.size(), 2u);
}

// Fault hook: the seek to the free list's tail fails once.
long g_failSeekAt = -1;
int FailSeekHook(FILE*, CacheIoOp op, long offset, const void*, size_t)
{
    return op == kCacheIoSeek && offset == g_failSeekAt ? -1 : 0;
}

// Catches a lost "fseek Failed" message or a store that goes on after it.
TEST_F(LayoutTest, FailedSeekToFreeListTailShowsItsMessageThenDiscards)
{
    CBrowseCache cache;
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/a.jpg", MakeBytes(100, 1)), 0);
    // The next 100-byte entry takes the last 3 of 19997 numbers.
    g_failSeekAt = 28 + 4 * (19997 - 3);
    CacheIoHook old = SetCacheIoHook(FailSeekHook);
    EXPECT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/b.jpg", MakeBytes(100, 2)), -1);
    SetCacheIoHook(old);
    std::vector<std::string> expected = {"fseek Failed: read from free list",
                                         "Thumbnail image cache is corrupt or out of memory"};
    EXPECT_EQ(g_messages, expected);
    EXPECT_FALSE(FileExists(CacheNative()));
    EXPECT_EQ(cache.m_cacheCount, 0);
}

// Fault hook: every write from the n-th on fails.
int g_writesLeft = -1;
int FailWritesHook(FILE*, CacheIoOp op, long, const void*, size_t)
{
    if (op != kCacheIoWrite)
        return 0;
    return g_writesLeft-- > 0 ? 0 : -1;
}

// Catches a failed write reported as success or leaving a half-made entry
// in the index.
TEST_F(LayoutTest, FailedWriteDuringStoreDiscards)
{
    for (int allowed = 0; allowed < 5; ++allowed) {
        SCOPED_TRACE(allowed);
        g_messages.clear();
        CBrowseCache cache;
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/a.jpg", MakeBytes(3000, 1)), 0);
        g_writesLeft = allowed;
        CacheIoHook old = SetCacheIoHook(FailWritesHook);
        EXPECT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/b.jpg", MakeBytes(3000, 2)), -1);
        SetCacheIoHook(old);
        EXPECT_EQ(g_messages, std::vector<std::string>{"Thumbnail image cache is corrupt or out of memory"});
        EXPECT_FALSE(FileExists(CacheNative()));
        EXPECT_EQ(cache.m_cacheCount, 0);
        EXPECT_EQ(cache.m_cacheFile, nullptr);
    }
}

// Catches an open that gives up for good or shows a message when the drive
// cannot hold the file.
TEST_F(LayoutTest, UncreatableFileFailsSilently)
{
    CBrowseCache cache;
    strcpy(cache.m_cachePath, "C:/missing-dir/ThumbNails.bin");
    EXPECT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), -1);
    EXPECT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/a.jpg", MakeBytes(10, 1)), -1);
    EXPECT_EQ(cache.m_cacheFile, nullptr);
    EXPECT_TRUE(g_messages.empty());
}

TEST(CompareBlockNumbers, OrdersAsUnsigned)
{
    uint32_t v[] = {5, 0x80000000u, 0, 0xFFFFFFFFu, 7, 5};
    qsort(v, 6, sizeof v[0], CBrowseCache::CompareBlockNumbers);
    const uint32_t sorted[] = {0, 5, 5, 7, 0x80000000u, 0xFFFFFFFFu};
    EXPECT_EQ(0, memcmp(v, sorted, sizeof v));
    uint32_t a = 3, b = 3, c = 4;
    EXPECT_EQ(CBrowseCache::CompareBlockNumbers(&a, &b), 0);
    EXPECT_EQ(CBrowseCache::CompareBlockNumbers(&a, &c), -1);
    EXPECT_EQ(CBrowseCache::CompareBlockNumbers(&c, &a), 1);
}

}  // namespace
