// Every allocation of the cache operations made to fail in turn
// (AllocationCampaign.h): a lookup gives the stored or a newly made
// thumbnail or null, a store is read back or reported as not stored, and
// entries are lost only with the discard message; whatever file is left
// opens without complaint.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCampaign.h"
#include "tests/thumbcache/CacheTestSupport.h"
#include "thumbcache/BrowseCache.h"

namespace {

const char kDiscardMessage[] = "Thumbnail image cache is corrupt or out of memory";

// The cache operations start from a file with three entries; a failed run
// may lose entries only with the discard message, and whatever file it
// leaves must open without complaint.
class CacheAllocationFailure : public CacheTest {
protected:
    void SetUp() override
    {
        CacheTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            std::string name = "old-" + std::to_string(i) + ".jpg";
            WritePhoto(Native(name), 80 + 10 * i, 60, 90, i);
            SetModifiedTime(Native(name), 1400000000LL + i);
        }
        WritePhoto(Native("new.jpg"), 90, 70, 90, 7);
        SetModifiedTime(Native("new.jpg"), 1450000000LL);
        CBrowseCache cache;
        for (int i = 0; i < 3; ++i) {
            int w, h;
            std::string path = "C:/old-" + std::to_string(i) + ".jpg";
            free(cache.GetThumbnail(path.c_str(), &w, &h));
        }
        ASSERT_EQ(cache.m_cacheCount, 3);
        m_pristine = ReadWholeFile(CacheNative());
        m_entries = 3;
    }

    void Restore()
    {
        FILE* f = fopen(CacheNative().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(fwrite(m_pristine.data(), 1, m_pristine.size(), f), m_pristine.size());
        ASSERT_EQ(fclose(f), 0);
        g_messages.clear();
    }

    // The pixels a lookup of `path` gives on an undamaged file.
    std::vector<unsigned char> Lookup(const char* path, int* w, int* h)
    {
        CBrowseCache cache;
        unsigned char* px = cache.GetThumbnail(path, w, h);
        EXPECT_NE(px, nullptr) << path;
        std::vector<unsigned char> v;
        if (px)
            v.assign(px, px + (size_t)*w * *h * 3);
        free(px);
        return v;
    }

    // The thumbnail GetThumbnail makes from the photo itself (no cache file).
    std::vector<unsigned char> Made(const char* path)
    {
        CBrowseCache cache;
        strcpy(cache.m_cachePath, "C:/elsewhere.bin");
        int w, h;
        unsigned char* px = cache.GetThumbnail(path, &w, &h);
        EXPECT_NE(px, nullptr) << path;
        std::vector<unsigned char> v;
        if (px)
            v.assign(px, px + (size_t)w * h * 3);
        free(px);
        remove(Native("elsewhere.bin").c_str());
        return v;
    }

    bool Same(const std::vector<unsigned char>& want) const
    {
        return m_px && want.size() == (size_t)m_w * m_h * 3 &&
               memcmp(m_px, want.data(), want.size()) == 0;
    }

    bool DiscardShown() const
    {
        for (const std::string& m : g_messages)
            if (m == kDiscardMessage)
                return true;
        return false;
    }

    // The file left behind opens cleanly; without the discard message it
    // still holds at least `keep` entries.
    void CheckFileLeft(int keep, long k)
    {
        bool discarded = DiscardShown();
        if (!FileExists(CacheNative())) {
            EXPECT_TRUE(discarded) << "the file vanished without the message, k=" << k;
            return;
        }
        g_messages.clear();
        CBrowseCache again;
        EXPECT_EQ(again.OpenThumbnailCache(again.m_cachePath), 0) << "k=" << k;
        EXPECT_TRUE(g_messages.empty()) << "the file left behind is damaged, k=" << k;
        if (!discarded) {
            EXPECT_GE(again.m_cacheCount, keep) << "entries lost without the message, k=" << k;
        }
    }

    // Releases what a run holds, the recorded messages' storage included.
    void Cleanup()
    {
        free(m_px);
        m_px = nullptr;
        m_cache.reset();
        std::vector<std::string>().swap(g_messages);
    }

    std::vector<unsigned char> m_pristine;
    int m_entries = 0;
    std::unique_ptr<CBrowseCache> m_cache;
    unsigned char* m_px = nullptr;
    int m_w = 0, m_h = 0;
};

TEST_F(CacheAllocationFailure, GetThumbnailOfANewPhoto)
{
    int rw, rh;
    Restore();
    std::vector<unsigned char> want = Lookup("C:/new.jpg", &rw, &rh);
    Campaign c;
    c.setup = [&] {
        Restore();
        m_cache.reset(new CBrowseCache);
    };
    c.op = [&] { m_px = m_cache->GetThumbnail("C:/new.jpg", &m_w, &m_h); };
    c.check = [&](bool hit, long k) {
        if (m_px) {
            EXPECT_TRUE(Same(want)) << "k=" << k;
        } else {
            EXPECT_TRUE(hit);
        }
        m_cache.reset();
        CheckFileLeft(m_entries, k);
    };
    c.cleanup = [&] { Cleanup(); };
    EXPECT_GT(RunCampaign("GetThumbnail (new photo)", c), 20);
}

TEST_F(CacheAllocationFailure, GetThumbnailOfAStoredPhoto)
{
    int rw, rh;
    Restore();
    std::vector<unsigned char> want = Lookup("C:/old-1.jpg", &rw, &rh);
    // A lookup that could not read the entry makes the thumbnail anew.
    std::vector<unsigned char> made = Made("C:/old-1.jpg");
    Campaign c;
    c.setup = [&] {
        Restore();
        m_cache.reset(new CBrowseCache);
    };
    c.op = [&] { m_px = m_cache->GetThumbnail("C:/old-1.jpg", &m_w, &m_h); };
    c.check = [&](bool hit, long k) {
        if (m_px) {
            EXPECT_TRUE(Same(want) || Same(made)) << "k=" << k;
        } else {
            EXPECT_TRUE(hit);
        }
        m_cache.reset();
        CheckFileLeft(m_entries, k);
    };
    c.cleanup = [&] { Cleanup(); };
    EXPECT_GT(RunCampaign("GetThumbnail (stored photo)", c), 10);
}

TEST_F(CacheAllocationFailure, StoreThumbnailIsReadBackOrNotStored)
{
    std::vector<unsigned char> thumb = MakePicture(40, 30, 5);
    int result = 0;
    Campaign c;
    c.setup = [&] {
        Restore();
        m_cache.reset(new CBrowseCache);
    };
    c.op = [&] { result = m_cache->StoreThumbnail("C:/new.jpg", thumb.data(), 40, 30); };
    c.check = [&](bool hit, long k) {
        EXPECT_TRUE(result == 0 || (hit && result == -1)) << "k=" << k << " result " << result;
        m_cache.reset();
        CheckFileLeft(m_entries, k);
        if (result == 0) {
            // The entry is on disk. It is found when the photo's time could
            // be read during the store; when memory for that ran out it was
            // keyed with time 0, as for any photo whose status is unreadable.
            CBrowseCache again;
            ASSERT_EQ(again.OpenThumbnailCache(again.m_cachePath), 0);
            ASSERT_EQ(again.m_cacheCount, m_entries + 1) << "k=" << k;
            const ThumbnailIndexEntry& slot = again.m_cacheIndex[m_entries];
            EXPECT_STREQ(slot.name, "C:/new.jpg");
            int w = 0, h = 0;
            unsigned char* px = again.FindThumbnail("C:/new.jpg", &w, &h);
            EXPECT_TRUE(px ? w == 40 && h == 30 : slot.fileTime == 0) << "a reported store is missing, k=" << k;
            free(px);
        }
    };
    c.cleanup = [&] { Cleanup(); };
    EXPECT_GT(RunCampaign("StoreThumbnail", c), 10);
}

// A file with fewer than 3 free blocks: the store evicts the ten oldest
// entries first.
TEST_F(CacheAllocationFailure, StoreThumbnailWithEviction)
{
    int entries = 3;
    {
        CBrowseCache cache;
        ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
        const int big = 253 * 1024 + 1000;  // 256 blocks
        while (ParseCacheFile(CacheNative(), false).header[2] >= 256 + 3) {
            std::string path = "C:/big-" + std::to_string(entries);
            ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, path.c_str(),
                                                         MakeBytes((size_t)big, entries)),
                      0);
            ++entries;
        }
        while (ParseCacheFile(CacheNative(), false).header[2] >= 3) {
            std::string path = "C:/small-" + std::to_string(entries);
            ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(cache, path.c_str(), MakeBytes(100, entries)),
                      0);
            ++entries;
        }
        ASSERT_EQ(cache.m_cacheCount, entries);
    }
    m_pristine = ReadWholeFile(CacheNative());
    m_entries = entries - 10;
    std::vector<unsigned char> thumb = MakePicture(150, 150, 5);  // at least 3 blocks
    int result = 0;
    Campaign c;
    c.setup = [&] {
        Restore();
        m_cache.reset(new CBrowseCache);
    };
    c.op = [&] { result = m_cache->StoreThumbnail("C:/new.jpg", thumb.data(), 150, 150); };
    c.check = [&](bool hit, long k) {
        EXPECT_TRUE(result == 0 || (hit && result == -1)) << "k=" << k << " result " << result;
        m_cache.reset();
        CheckFileLeft(m_entries, k);
    };
    c.cleanup = [&] { Cleanup(); };
    EXPECT_GT(RunCampaign("StoreThumbnail with eviction", c), 10);
}

}  // namespace
