// The check kept in each entry record's formerly reserved word: the
// standard CRC-32, verified on every lookup of entries that carry one, and
// entries written without one (older files) still served.

#include <gtest/gtest.h>

#include <cstring>

#include "tests/thumbcache/CacheTestSupport.h"
#include "thumbcache/CacheFormat.h"

namespace {

const char kDiscardMessage[] = "Thumbnail image cache is corrupt or out of memory";

// Catches another polynomial, start value or final inversion: the file
// must stay readable by any CRC-32 implementation.
TEST(CacheStreamCheck, IsTheStandardCrc32NeverZero)
{
    const unsigned char digits[] = "123456789";
    EXPECT_EQ(CacheStreamCheck(digits, 9), 0xCBF43926u);
    EXPECT_EQ(CacheStreamCheck(digits, 0), 1u);  // CRC-32 of nothing is 0
}

using StreamCheckTest = CacheTest;

// The first entry of a new file has its record in block 0.
constexpr long kFirstRecord = kCacheDataStart;

// A new cache file holding the thumbnail of C:/photo.jpg.
void StoreOne(const std::string& photo)
{
    WritePhoto(photo, 120, 90);
    CBrowseCache cache;
    int w = 0, h = 0;
    unsigned char* px = cache.GetThumbnail("C:/photo.jpg", &w, &h);
    EXPECT_NE(px, nullptr);
    free(px);
}

// Catches a lookup that serves a damaged stream (other pixels) instead of
// dropping the file with the message.
TEST_F(StreamCheckTest, DamagedStreamIsNotServed)
{
    StoreOne(Native("photo.jpg"));
    ParsedCache parsed = ParseCacheFile(CacheNative(), false);
    ASSERT_EQ(parsed.entries.size(), 1u);
    EXPECT_NE(ReadNumberAt(CacheNative(), kFirstRecord), 0);
    // One byte in the middle of the stream's first data block.
    long at = kCacheDataStart + (long)parsed.entries[0].dataBlocks[0] * kCacheBlockSize + 300;
    WriteNumberAt(CacheNative(), at, ReadNumberAt(CacheNative(), at) ^ 0x10);

    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    int w = -1, h = -1;
    unsigned char* px = cache.FindThumbnail("C:/photo.jpg", &w, &h);
    EXPECT_EQ(px, nullptr);
    EXPECT_EQ(g_messages, std::vector<std::string>{kDiscardMessage});
    free(px);
}

// Catches a lookup that serves a stream cut short by a damaged size: the
// decoder's recovery would fill the missing rows with grey.
TEST_F(StreamCheckTest, DamagedSizeIsNotServed)
{
    StoreOne(Native("photo.jpg"));
    const long sizeField = kFirstRecord + 24;
    WriteNumberAt(CacheNative(), sizeField, ReadNumberAt(CacheNative(), sizeField) - 1);

    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    int w = -1, h = -1;
    unsigned char* px = cache.FindThumbnail("C:/photo.jpg", &w, &h);
    EXPECT_EQ(px, nullptr);
    EXPECT_EQ(g_messages, std::vector<std::string>{kDiscardMessage});
    free(px);
}

// Catches a reader that rejects the entries of files written before the
// check existed (their word is 0).
TEST_F(StreamCheckTest, EntryWithoutCheckIsServed)
{
    StoreOne(Native("photo.jpg"));
    WriteNumberAt(CacheNative(), kFirstRecord, 0);
    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    int w = 0, h = 0;
    unsigned char* px = cache.FindThumbnail("C:/photo.jpg", &w, &h);
    EXPECT_NE(px, nullptr);
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 112);
    EXPECT_TRUE(g_messages.empty());
    free(px);
}

}  // namespace
