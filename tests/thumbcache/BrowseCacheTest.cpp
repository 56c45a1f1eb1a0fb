// The cache operations with real photographs: thumbnail sizes, hits without
// opening the photograph, keys of path and time, damaged data found at
// lookup, and the modification time.

#include <cstring>
#include <unistd.h>

#include "CacheTestSupport.h"
#include "codec/JpegConverter.h"
#include "platform/FileSystem.h"
#include "thumbcache/ThumbnailSize.h"

namespace {

const char kCorrupt[] = "Thumbnail image cache is corrupt or out of memory";

using OperationsTest = CacheTest;

struct FitCase {
    int width, height, thumbWidth, thumbHeight;
};

// Catches a wrong rounding or branch of the 150 x 150 fit.
TEST(ThumbnailSize, FitsInto150By150)
{
    const FitCase cases[] = {
        {3000, 2000, 150, 100}, {2000, 3000, 100, 150}, {1000, 1000, 150, 150},
        {640, 480, 150, 112},   {1, 500, 1, 150},       {500, 1, 150, 1},
        {1, 1, 150, 150},       {1000, 1003, 150, 150},  // trunc(150.45) is not above 150
        {1000, 1007, 148, 150}, {65500, 1, 150, 1},      {1, 65500, 1, 150},
        {0, 10, 150, 150},      {150, 149, 150, 149},
    };
    for (const FitCase& c : cases) {
        int tw = -1, th = -1;
        FitThumbnailSize(c.width, c.height, &tw, &th);
        EXPECT_EQ(tw, c.thumbWidth) << c.width << "x" << c.height;
        EXPECT_EQ(th, c.thumbHeight) << c.width << "x" << c.height;
    }
}

// Pixels of the stored entry as a lookup decodes them: the thumbnail
// encoded at quality 65 and decoded again.
std::vector<unsigned char> RoundTrip(const unsigned char* pixels, int width, int height)
{
    CJpegConverter enc;
    enc.m_nQuality = 65;
    unsigned char* jpeg = enc.Encode(pixels, width, height);
    EXPECT_NE(jpeg, nullptr);
    CJpegConverter dec;
    unsigned char* out = dec.Decode(jpeg, (uint32_t)enc.GetSize());
    free(jpeg);
    EXPECT_NE(out, nullptr);
    std::vector<unsigned char> v(out, out + (size_t)width * height * 3);
    free(out);
    return v;
}

// Catches thumbnails of the wrong size, an entry not stored, or a stored
// entry that does not read back at the same size.
TEST_F(OperationsTest, PhotosGetFittedThumbnailsThatAreStored)
{
    const FitCase cases[] = {
        {3000, 2000, 150, 100}, {2000, 3000, 100, 150}, {1000, 1000, 150, 150},
        {640, 480, 150, 112},   {1, 500, 1, 150},
    };
    CBrowseCache cache;
    int stored = 0;
    for (const FitCase& c : cases) {
        std::string name = "p" + std::to_string(c.width) + "x" + std::to_string(c.height) + ".jpg";
        SCOPED_TRACE(name);
        WritePhoto(Native(name), c.width, c.height);
        std::string path = "C:/" + name;
        int w = -1, h = -1;
        unsigned char* thumb = cache.GetThumbnail(path.c_str(), &w, &h);
        ASSERT_NE(thumb, nullptr);
        EXPECT_EQ(w, c.thumbWidth);
        EXPECT_EQ(h, c.thumbHeight);
        ASSERT_EQ(cache.m_cacheCount, ++stored);
        EXPECT_EQ(std::string(cache.m_cacheIndex[stored - 1].name), path);

        int fw = -1, fh = -1;
        unsigned char* found = cache.FindThumbnail(path.c_str(), &fw, &fh);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(fw, c.thumbWidth);
        EXPECT_EQ(fh, c.thumbHeight);
        std::vector<unsigned char> expect = RoundTrip(thumb, w, h);
        EXPECT_EQ(0, memcmp(found, expect.data(), expect.size()));
        free(found);
        free(thumb);
    }
    EXPECT_TRUE(g_messages.empty());

    // The entries survive a new session.
    CBrowseCache next;
    int w = 0, h = 0;
    unsigned char* again = next.GetThumbnail("C:/p640x480.jpg", &w, &h);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 112);
    EXPECT_EQ(next.m_cacheCount, 5);
    free(again);
}

// Replaces a photograph's bytes with garbage and puts its time back.
void SpoilKeepingTime(const std::string& native, long long mtime)
{
    FILE* f = fopen(native.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("this is no longer a JPEG file", f);
    fclose(f);
    SetModifiedTime(native, mtime);
}

// Catches a hit that decodes the photograph again instead of the cache, and
// a time check that is skipped.
TEST_F(OperationsTest, UnchangedPhotoIsServedFromTheCacheAndChangedOneGetsANewEntry)
{
    const std::string native = Native("photo.jpg");
    WritePhoto(native, 400, 300);
    SetModifiedTime(native, 1700000000);
    CBrowseCache cache;
    int w = 0, h = 0;
    unsigned char* first = cache.GetThumbnail("C:/photo.jpg", &w, &h);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(w, 150);
    ASSERT_EQ(h, 112);
    std::vector<unsigned char> cached = RoundTrip(first, w, h);
    free(first);

    // The photograph cannot be decoded any more: only the cache can answer.
    SpoilKeepingTime(native, 1700000000);
    unsigned char* second = cache.GetThumbnail("C:/photo.jpg", &w, &h);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 112);
    EXPECT_EQ(0, memcmp(second, cached.data(), cached.size()));
    free(second);
    EXPECT_EQ(cache.m_cacheCount, 1);

    // A new time makes the entry stale; the new photograph gets its own entry.
    WritePhoto(native, 300, 400, 90, 5);
    SetModifiedTime(native, 1700000100);
    unsigned char* third = cache.GetThumbnail("C:/photo.jpg", &w, &h);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(w, 112);
    EXPECT_EQ(h, 150);
    free(third);
    ASSERT_EQ(cache.m_cacheCount, 2);
    EXPECT_STREQ(cache.m_cacheIndex[0].name, cache.m_cacheIndex[1].name);
    EXPECT_EQ(cache.m_cacheIndex[0].fileTime, 1700000000);
    EXPECT_EQ(cache.m_cacheIndex[1].fileTime, 1700000100);

    // Each time finds its own entry, though the older comes first.
    SpoilKeepingTime(native, 1700000000);
    unsigned char* old = cache.FindThumbnail("C:/photo.jpg", &w, &h);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 112);
    free(old);
    SetModifiedTime(native, 1700000100);
    unsigned char* newer = cache.FindThumbnail("C:/photo.jpg", &w, &h);
    ASSERT_NE(newer, nullptr);
    EXPECT_EQ(w, 112);
    free(newer);
    SetModifiedTime(native, 1700000200);
    EXPECT_EQ(cache.FindThumbnail("C:/photo.jpg", &w, &h), nullptr);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_TRUE(g_messages.empty());
}

// Catches keys folded by case or separator.
TEST_F(OperationsTest, KeysAreCaseAndSeparatorSensitive)
{
    ASSERT_EQ(mkdir(Native("Dir").c_str(), 0755), 0);
    WritePhoto(Native("Dir/a.jpg"), 64, 32);
    const char* paths[] = {"C:/Dir/a.jpg", "c:/Dir/a.jpg", "C:\\Dir\\a.jpg", "C:/Dir\\a.jpg"};
    CBrowseCache cache;
    for (int i = 0; i < 4; ++i) {
        int w = 0, h = 0;
        unsigned char* t = cache.GetThumbnail(paths[i], &w, &h);
        ASSERT_NE(t, nullptr) << paths[i];
        free(t);
        EXPECT_EQ(cache.m_cacheCount, i + 1) << paths[i] << " was taken for an earlier key";
    }
    // All four are hits now.
    SpoilKeepingTime(Native("Dir/a.jpg"), 1600000000);
    CBrowseCache again;
    for (const char* p : paths) {
        int w = 0, h = 0;
        EXPECT_EQ(again.GetThumbnail(p, &w, &h), nullptr) << "time changed, so no hit: " << p;
    }
    EXPECT_EQ(again.m_cacheCount, 4);
}

// Catches a store of an empty picture that writes something or opens the file.
TEST_F(OperationsTest, StoreWithZeroWidthOrHeightWritesNothing)
{
    CBrowseCache cache;
    unsigned char px[3] = {1, 2, 3};
    EXPECT_EQ(cache.StoreThumbnail("C:/a.jpg", px, 0, 1), 0);
    EXPECT_EQ(cache.StoreThumbnail("C:/a.jpg", px, 1, 0), 0);
    EXPECT_FALSE(FileExists(CacheNative()));
    ASSERT_EQ(cache.StoreThumbnail("C:/a.jpg", px, 1, 1), 0);
    long size = FileSize(CacheNative());
    EXPECT_EQ(cache.StoreThumbnail("C:/a.jpg", px, 0, 0), 0);
    EXPECT_EQ(FileSize(CacheNative()), size);
    EXPECT_EQ(cache.m_cacheCount, 1);
}

// Catches a lookup of names that are not JPEG names, or of unreadable photos,
// that returns something or sizes other than 0.
TEST_F(OperationsTest, NonJpegNamesAndBadPhotosGiveNull)
{
    WritePhoto(Native("a.jpeg"), 20, 20);
    FILE* f = fopen(Native("bad.jpg").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("not a jpeg", f);
    fclose(f);
    CBrowseCache cache;
    for (const char* p : {"C:/a.jpeg", "C:/bad.jpg", "C:/missing.jpg", "C:/a.Jpg"}) {
        int w = -1, h = -1;
        EXPECT_EQ(cache.GetThumbnail(p, &w, &h), nullptr) << p;
        EXPECT_EQ(w, 0) << p;
        EXPECT_EQ(h, 0) << p;
    }
    EXPECT_EQ(cache.m_cacheCount, 0);
    EXPECT_TRUE(g_messages.empty());
}

// Catches a cache that gives up the thumbnail when the file cannot exist.
TEST_F(OperationsTest, ThumbnailsAreMadeWithoutACacheFile)
{
    WritePhoto(Native("a.jpg"), 300, 150);
    CBrowseCache cache;
    strcpy(cache.m_cachePath, "C:/no-such-dir/ThumbNails.bin");
    for (int i = 0; i < 2; ++i) {
        int w = 0, h = 0;
        unsigned char* t = cache.GetThumbnail("C:/a.jpg", &w, &h);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(w, 150);
        EXPECT_EQ(h, 75);
        free(t);
    }
    EXPECT_EQ(cache.m_cacheFile, nullptr);
    EXPECT_TRUE(g_messages.empty());
}

// Stores three photographs' thumbnails and returns their data blocks' span.
class LookupDamageTest : public OperationsTest {
protected:
    void StoreThree(CBrowseCache& cache)
    {
        for (const char* n : {"a.jpg", "b.jpg", "c.jpg"}) {
            WritePhoto(Native(n), 200, 200, 90, n[0]);
            int w = 0, h = 0;
            unsigned char* t = cache.GetThumbnail(("C:/" + std::string(n)).c_str(), &w, &h);
            ASSERT_NE(t, nullptr);
            free(t);
        }
        ASSERT_EQ(cache.m_cacheCount, 3);
        g_messages.clear();
    }
};

// Catches data cut short being decoded as a truncated thumbnail, or a file
// that keeps failing: the first lookup of the entry discards the cache, and
// the same GetThumbnail makes the thumbnail again into a fresh file.
TEST_F(LookupDamageTest, FileCutInDataBlocksIsDiscardedAtFirstLookupOfThatEntry)
{
    {
        CBrowseCache writer;
        StoreThree(writer);
    }
    ParsedCache p = ParseCacheFile(CacheNative(), false);
    ASSERT_EQ(p.entries.size(), 3u);
    const ParsedEntry& last = p.entries[2];
    ASSERT_GT(last.record[6], 1024);
    TruncateFile(CacheNative(), 160028 + (long)last.dataBlocks[0] * 1024 + 500);

    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    EXPECT_EQ(cache.m_cacheCount, 3);
    int w = 0, h = 0;
    unsigned char* a = cache.FindThumbnail("C:/a.jpg", &w, &h);
    ASSERT_NE(a, nullptr);
    free(a);
    EXPECT_TRUE(g_messages.empty());

    unsigned char* c = cache.GetThumbnail("C:/c.jpg", &w, &h);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(w, 150);
    free(c);
    EXPECT_EQ(g_messages, std::vector<std::string>{kCorrupt});
    ASSERT_EQ(cache.m_cacheCount, 1);
    EXPECT_STREQ(cache.m_cacheIndex[0].name, "C:/c.jpg");
    EXPECT_EQ(ReadNumberAt(CacheNative(), 16), 1);
}

struct LookupPatch {
    const char* what;
    int entry;
    int field;  // record field index, -1 for the block list's first number,
                // -2 for the index slot pointing at entry 0's record
    int32_t value;
    bool served;  // the lookup still serves b.jpg's own thumbnail
};

// Catches a lookup that trusts the file after open: a record that no longer
// matches the index, or a block number out of range, discards the cache and
// never serves another photograph's thumbnail. An index that disagrees with
// the file's entry list (as after another process's stores) is brought back
// in step and serves b.jpg's own thumbnail.
TEST_F(LookupDamageTest, RecordChangedAfterOpenIsNotServed)
{
    const LookupPatch patches[] = {
        {"time changed", 1, 1, 12345, false},
        {"block list moved out of range", 1, 5, 20000, false},
        {"data size grown", 1, 6, 1 << 30, false},
        {"data block out of range", 1, -1, -5, false},
        {"record of another entry", 1, -2, 0, true},
    };
    for (const LookupPatch& patch : patches) {
        SCOPED_TRACE(patch.what);
        CBrowseCache cache;
        StoreThree(cache);
        ParsedCache p = ParseCacheFile(CacheNative(), false);
        const ParsedEntry& e = p.entries[patch.entry];
        if (patch.field >= 0) {
            WriteNumberAt(CacheNative(), 160028 + (long)e.recordBlock * 1024 + 4 * patch.field,
                          patch.value);
        } else if (patch.field == -1) {
            WriteNumberAt(CacheNative(), 160028 + (long)(uint32_t)e.record[5] * 1024, patch.value);
        } else {
            // The index points at entry 0's record while asking for b.jpg.
            cache.m_cacheIndex[patch.entry].firstBlock = (int)p.entries[0].recordBlock;
        }
        int w = -1, h = -1;
        unsigned char* t = cache.FindThumbnail("C:/b.jpg", &w, &h);
        if (patch.served) {
            CBrowseCache reader;
            ASSERT_EQ(reader.OpenThumbnailCache(reader.m_cachePath), 0);
            int rw = 0, rh = 0;
            unsigned char* own = reader.FindThumbnail("C:/b.jpg", &rw, &rh);
            ASSERT_NE(t, nullptr);
            ASSERT_NE(own, nullptr);
            ASSERT_EQ(w * h, rw * rh);
            EXPECT_EQ(memcmp(t, own, (size_t)w * h * 3), 0);
            unsigned char* other = reader.FindThumbnail("C:/a.jpg", &rw, &rh);
            ASSERT_NE(other, nullptr);
            EXPECT_NE(memcmp(t, other, (size_t)w * h * 3), 0) << "a.jpg's thumbnail served";
            free(other);
            free(own);
            EXPECT_TRUE(g_messages.empty());
            EXPECT_EQ(cache.m_cacheIndex[1].firstBlock, (int)e.recordBlock);
        } else {
            EXPECT_EQ(t, nullptr);
            EXPECT_EQ(w, 0);
            EXPECT_EQ(g_messages, std::vector<std::string>{kCorrupt});
            EXPECT_FALSE(FileExists(CacheNative()));
            EXPECT_EQ(cache.m_cacheCount, 0);
        }
        free(t);
        g_messages.clear();
        PlatformRemoveFile("C:/ThumbNails.bin");
    }
}

// Catches an entry whose stream does not decode being treated as corrupt.
TEST_F(OperationsTest, UndecodableEntryIsMadeAgainWithoutDiscarding)
{
    WritePhoto(Native("a.jpg"), 100, 50);
    CBrowseCache cache;
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/a.jpg", MakeBytes(700, 1)), 0);
    // The raw bytes were stored under the photo's current time.
    cache.m_cacheIndex[0].fileTime = CBrowseCache::GetModifiedTime("C:/a.jpg");
    WriteNumberAt(CacheNative(), 160028 + 4, cache.m_cacheIndex[0].fileTime);
    int w = 0, h = 0;
    unsigned char* t = cache.GetThumbnail("C:/a.jpg", &w, &h);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 75);
    free(t);
    EXPECT_EQ(cache.m_cacheCount, 2);
    EXPECT_TRUE(g_messages.empty());
}

struct TimeCase {
    long long mtime;
    int expected;
};

// Catches an int cast that turns late or early times into garbage, or
// negative keys.
TEST_F(OperationsTest, ModifiedTimeInWholeSeconds)
{
    const TimeCase cases[] = {
        {0, 0},
        {1000, 1000},
        {2147483647LL, 2147483647},
        {-5, 0},
        {2147483648LL + 5, 5},        // past 2038 the low 31 bits still change
        {4294967296LL + 7, 7},
    };
    const std::string native = Native("t.jpg");
    WritePhoto(native, 8, 8);
    for (const TimeCase& c : cases) {
        SetModifiedTime(native, c.mtime);
        EXPECT_EQ(CBrowseCache::GetModifiedTime("C:/t.jpg"), c.expected) << c.mtime;
    }
    EXPECT_EQ(CBrowseCache::GetModifiedTime("C:/none.jpg"), -1);
    EXPECT_EQ(CBrowseCache::GetModifiedTime("Q:/t.jpg"), -1);
}

// Catches a key that ignores the time for photos with times past 2^31.
TEST_F(OperationsTest, LateTimesStillKeyEntries)
{
    const std::string native = Native("late.jpg");
    WritePhoto(native, 40, 40);
    SetModifiedTime(native, 3000000000LL);
    CBrowseCache cache;
    int w = 0, h = 0;
    free(cache.GetThumbnail("C:/late.jpg", &w, &h));
    SetModifiedTime(native, 3000000001LL);
    EXPECT_EQ(cache.FindThumbnail("C:/late.jpg", &w, &h), nullptr);
    SetModifiedTime(native, 3000000000LL);
    unsigned char* t = cache.FindThumbnail("C:/late.jpg", &w, &h);
    EXPECT_NE(t, nullptr);
    free(t);
}

// Catches a reset that leaves the file open or the index behind.
TEST_F(OperationsTest, ResetDropsFileAndIndex)
{
    CBrowseCache cache;
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, "C:/a.jpg", MakeBytes(10, 1)), 0);
    strcpy(cache.m_cachePath, "C:/other.bin");
    cache.ResetCache();
    EXPECT_STREQ(cache.m_cachePath, "C:/ThumbNails.bin");
    EXPECT_EQ(cache.m_cacheFile, nullptr);
    EXPECT_EQ(cache.m_cacheIndex, nullptr);
    EXPECT_EQ(cache.m_cacheCount, 0);
    EXPECT_TRUE(FileExists(CacheNative()));
}

}  // namespace
