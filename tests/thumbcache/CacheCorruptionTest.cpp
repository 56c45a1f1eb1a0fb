// Damaged cache files: every value out of range, every broken block
// invariant and every cut is a corrupt file that is discarded with the
// message, never read past, never a crash.

#include <random>
#include <set>
#include <unistd.h>

#include "CacheTestSupport.h"

namespace {

constexpr long kBlock0 = 160028;
long BlockAt(uint32_t block) { return kBlock0 + (long)block * 1024; }
constexpr long kFreeList = 28;
constexpr long kEntryList = 80028;

const char kCorrupt[] = "Thumbnail image cache is corrupt or out of memory";
const char kMessedUp[] = "thumb_img_header is messed up";

// Three entries in a fresh file: 5000 bytes in blocks 0-6 (record 0, list 1),
// 100 bytes in 7-9 (record 7, list 8), 2048 bytes in 10-14 (record 10, list
// 11). The free list keeps 19999..15 in its first 19985 slots.
class CorruptionTest : public CacheTest {
protected:
    void WriteBaseFile()
    {
        CBrowseCache writer;
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(writer, "C:/a.jpg", MakeBytes(5000, 1)), 0);
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(writer, "C:/bb.jpg", MakeBytes(100, 2)), 0);
        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(writer, "C:/ccc.jpg", MakeBytes(2048, 3)), 0);
    }
};

struct Patch {
    long offset;
    int32_t value;
};

struct DamageCase {
    const char* what;
    std::vector<Patch> patches;
    long truncateTo;  // -1: keep the length
    bool messedUp;    // the name-length message comes first
};

std::vector<DamageCase> DamageCases()
{
    const long r0 = BlockAt(0);
    return {
        // Header values that do not describe the creator's layout.
        {"block size 512", {{4, 512}}, -1, false},
        {"block size 0", {{4, 0}}, -1, false},
        {"block size -1", {{4, -1}}, -1, false},
        {"free list offset 4", {{12, 4}}, -1, false},
        {"entry list offset moved", {{20, 80004}}, -1, false},
        {"data offset moved", {{24, 160004}}, -1, false},
        {"data offset negative", {{24, -28}}, -1, false},
        {"free count -1", {{8, -1}}, -1, false},
        {"free count 20001", {{8, 20001}}, -1, false},
        {"free count huge", {{8, 0x7FFFFFFF}}, -1, false},
        {"free count one too many", {{8, 19986}}, -1, false},
        {"free count one too few", {{8, 19984}}, -1, false},
        {"entry count -1", {{16, -1}}, -1, false},
        {"entry count one too many", {{16, 4}}, -1, false},
        {"entry count one too few", {{16, 2}}, -1, false},
        {"entry count 20001", {{16, 20001}}, -1, false},
        {"entry count huge", {{16, 0x40000000}}, -1, false},
        // Free list and entry list numbers.
        {"free number 20000", {{kFreeList, 20000}}, -1, false},
        {"free number -1", {{kFreeList, -1}}, -1, false},
        {"free number twice", {{kFreeList, 15}}, -1, false},
        {"free number owned by an entry", {{kFreeList, 3}}, -1, false},
        {"record block 20000", {{kEntryList, 20000}}, -1, false},
        {"record block -1", {{kEntryList, -1}}, -1, false},
        {"two entries share a record", {{kEntryList, 7}}, -1, false},
        {"record block is a block-list block", {{kEntryList, 1}}, -1, false},
        // The stream's bytes there read as a name length above 1024.
        {"record block is a data block", {{kEntryList, 2}}, -1, true},
        {"record block is free", {{kEntryList, 15}}, -1, false},
        // Record fields.
        {"block-list block 20000", {{r0 + 20, 20000}}, -1, false},
        {"block-list block -1", {{r0 + 20, -1}}, -1, false},
        {"block-list block is the record", {{r0 + 20, 0}}, -1, false},
        {"block-list block of another entry", {{r0 + 20, 8}}, -1, false},
        {"block-list count one too many", {{r0 + 16, 6}}, -1, false},
        {"block-list count 0", {{r0 + 16, 0}}, -1, false},
        {"block-list count huge", {{r0 + 16, 0x10000000}}, -1, false},
        {"data size -1", {{r0 + 24, -1}}, -1, false},
        {"data size 6000 with count 5", {{r0 + 24, 6000}}, -1, false},
        {"data size 260096 with matching count", {{r0 + 24, 260096}, {r0 + 16, 255}}, -1, false},
        {"data size huge with matching count", {{r0 + 24, 0x7FFFFC00}, {r0 + 16, 0x1FFFFF + 1}}, -1, false},
        {"name length 0", {{r0 + 8, 0}}, -1, false},
        {"name length 989", {{r0 + 8, 989}}, -1, false},
        {"name length 1024", {{r0 + 8, 1024}}, -1, false},
        {"name length 1025", {{r0 + 8, 1025}}, -1, true},
        {"name length 2000", {{r0 + 8, 2000}}, -1, true},
        {"name length -1", {{r0 + 8, -1}}, -1, true},
        {"name offset -1", {{r0 + 12, -1}}, -1, false},
        {"name offset 988", {{r0 + 12, 988}}, -1, false},
        {"name offset past the block with the name", {{r0 + 12, 980}}, -1, false},
        // Block lists.
        {"data block 20000", {{BlockAt(1), 20000}}, -1, false},
        {"data block -1", {{BlockAt(1) + 4, -1}}, -1, false},
        {"data block twice in one list", {{BlockAt(1) + 4, 2}}, -1, false},
        {"data block is another record", {{BlockAt(1) + 8, 7}}, -1, false},
        {"data block is free", {{BlockAt(11) + 4, 15}}, -1, false},
        {"data block of another entry", {{BlockAt(11), 9}}, -1, false},
        // Cuts.
        {"empty file", {}, 0, false},
        {"cut in the header", {}, 10, false},
        {"cut in the free list", {}, 128, false},
        {"cut in the entry list", {}, 80030, false},
        {"cut in the first record", {}, r0 + 20, false},
        {"cut in the first name", {}, r0 + 40, false},
        {"cut in a later record", {}, BlockAt(7) + 20, false},
        {"cut in a block list", {}, BlockAt(11) + 6, false},
    };
}

// Catches any damaged value that is trusted: each case must be discarded at
// open with the right messages, the file deleted, and a fresh one made by
// the next store.
TEST_F(CorruptionTest, DamagedFileIsDiscardedAtOpen)
{
    for (const DamageCase& c : DamageCases()) {
        SCOPED_TRACE(c.what);
        WriteBaseFile();
        for (const Patch& p : c.patches)
            WriteNumberAt(CacheNative(), p.offset, p.value);
        if (c.truncateTo >= 0)
            TruncateFile(CacheNative(), c.truncateTo);
        g_messages.clear();

        CBrowseCache cache;
        EXPECT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), -1);
        std::vector<std::string> expected;
        if (c.messedUp)
            expected.push_back(kMessedUp);
        expected.push_back(kCorrupt);
        EXPECT_EQ(g_messages, expected);
        EXPECT_FALSE(FileExists(CacheNative()));
        EXPECT_EQ(cache.m_cacheFile, nullptr);
        EXPECT_EQ(cache.m_cacheCount, 0);

        ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/fresh.jpg", MakeBytes(10, 9)), 0);
        EXPECT_EQ(ReadNumberAt(CacheNative(), 16), 1);
        ASSERT_EQ(unlink(CacheNative().c_str()), 0);
    }
}

// The undamaged base opens, so the cases above fail for their patch alone.
TEST_F(CorruptionTest, BaseFileOpensWithItsThreeEntries)
{
    WriteBaseFile();
    // Fields that are not interpreted may hold anything.
    WriteNumberAt(CacheNative(), 0, 12345);
    WriteNumberAt(CacheNative(), BlockAt(0), -7);
    WriteNumberAt(CacheNative(), BlockAt(0) + 28, -1);
    WriteNumberAt(CacheNative(), kEntryList + 4 * 3, 20000);
    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    ASSERT_EQ(cache.m_cacheCount, 3);
    EXPECT_STREQ(cache.m_cacheIndex[0].name, "C:/a.jpg");
    EXPECT_STREQ(cache.m_cacheIndex[1].name, "C:/bb.jpg");
    EXPECT_STREQ(cache.m_cacheIndex[2].name, "C:/ccc.jpg");
    EXPECT_EQ(cache.m_cacheIndex[1].firstBlock, 7);
    EXPECT_EQ(cache.m_cacheIndex[2].firstBlock, 10);
    EXPECT_TRUE(g_messages.empty());
    // A later store keeps the reserved header field.
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/d.jpg", MakeBytes(10, 4)), 0);
    EXPECT_EQ(ReadNumberAt(CacheNative(), 0), 12345);
}

// Every block free or in exactly one entry, by the independent parser.
void ExpectBlockInvariant(const ParsedCache& p)
{
    std::vector<int> seen(20000, 0);
    auto mark = [&](uint32_t b) {
        ASSERT_LT(b, 20000u);
        ++seen[b];
    };
    for (uint32_t b : p.freeList)
        mark(b);
    for (const ParsedEntry& e : p.entries) {
        mark(e.recordBlock);
        mark((uint32_t)e.record[5]);
        for (uint32_t b : e.dataBlocks)
            mark(b);
    }
    for (int b = 0; b < 20000; ++b)
        ASSERT_EQ(seen[b], 1) << "block " << b;
}

// Catches any random damage to the bookkeeping that slips through: after a
// flipped byte the open either discards or the file really is consistent,
// and every lookup stays inside the file.
TEST_F(CorruptionTest, RandomByteDamageIsRejectedOrHarmless)
{
    WriteBaseFile();
    const std::vector<unsigned char> base = ReadWholeFile(CacheNative());
    // Bytes whose damage matters: header, list heads and tails, records,
    // names and block lists.
    std::vector<long> hot;
    for (long i = 0; i < 28; ++i)
        hot.push_back(i);
    for (long i = 0; i < 64; ++i) {
        hot.push_back(kFreeList + i);
        hot.push_back(kFreeList + 4 * 19985 - 32 + i);
        hot.push_back(kEntryList + i);
    }
    for (uint32_t block : {0u, 1u, 7u, 8u, 10u, 11u})
        for (long i = 0; i < 60; ++i)
            hot.push_back(BlockAt(block) + i);
    std::mt19937 rng(20240611);
    int rejected = 0, accepted = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<unsigned char> b = base;
        int flips = 1 + (int)(rng() % 3);
        for (int f = 0; f < flips; ++f)
            b[(size_t)hot[rng() % hot.size()]] ^= (unsigned char)(1u << (rng() % 8));
        FILE* out = fopen(CacheNative().c_str(), "wb");
        ASSERT_NE(out, nullptr);
        fwrite(b.data(), 1, b.size(), out);
        fclose(out);
        g_messages.clear();

        CBrowseCache cache;
        if (cache.OpenThumbnailCache(cache.m_cachePath) != 0) {
            ASSERT_FALSE(g_messages.empty());
            EXPECT_EQ(g_messages.back(), kCorrupt);
            EXPECT_FALSE(FileExists(CacheNative()));
            ++rejected;
            continue;
        }
        ++accepted;
        EXPECT_TRUE(g_messages.empty());
        ParsedCache p = ParseCacheFile(CacheNative(), false);
        ExpectBlockInvariant(p);
        ASSERT_EQ((int)p.entries.size(), cache.m_cacheCount);
        for (int i = 0; i < cache.m_cacheCount; ++i)
            EXPECT_EQ((uint32_t)cache.m_cacheIndex[i].firstBlock, p.entries[i].recordBlock);
    }
    EXPECT_GT(rejected, 0);
    EXPECT_GT(accepted, 0);
}

}  // namespace
