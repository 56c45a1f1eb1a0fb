// A long random run of stores (with many evictions and refused sizes),
// checked after every step against a plain model of the free list, the
// entry list and the index.

#include <algorithm>
#include <map>
#include <memory>
#include <random>

#include "CacheTestSupport.h"

namespace {

struct ModelEntry {
    int id;
    std::string path;
    uint32_t recordBlock;
    uint32_t listBlock;
    std::vector<uint32_t> dataBlocks;
};

// The allocation and eviction rules written out the simple way.
class CacheModel {
public:
    CacheModel()
    {
        for (int b = 19999; b >= 0; --b)
            m_free.push_back((uint32_t)b);
    }

    bool Store(int id, const std::string& path, int size)
    {
        if (size > 260095)
            return false;
        size_t n = (size_t)size / 1024 + 3;
        if (m_free.size() < n) {
            size_t k = std::min<size_t>(m_entries.size(), 10);
            for (size_t i = 0; i < k; ++i) {
                const ModelEntry& e = m_entries[i];
                m_free.push_back(e.recordBlock);
                m_free.push_back(e.listBlock);
                m_free.insert(m_free.end(), e.dataBlocks.begin(), e.dataBlocks.end());
            }
            m_entries.erase(m_entries.begin(), m_entries.begin() + (long)k);
            if (m_free.size() < n)
                return false;
        }
        std::vector<uint32_t> taken(m_free.end() - (long)n, m_free.end());
        m_free.resize(m_free.size() - n);
        std::sort(taken.begin(), taken.end());
        m_entries.push_back(ModelEntry{id, path, taken[0], taken[1],
                                       std::vector<uint32_t>(taken.begin() + 2, taken.end())});
        return true;
    }

    const std::vector<uint32_t>& Free() const { return m_free; }
    const std::vector<ModelEntry>& Entries() const { return m_entries; }

private:
    std::vector<uint32_t> m_free;
    std::vector<ModelEntry> m_entries;
};

int RandomSize(std::mt19937& rng)
{
    switch (rng() % 20) {
    case 0:
        return (int)(rng() % 1024);
    case 1:
        return 1024 * (int)(1 + rng() % 254);  // whole blocks: an empty last block
    case 2:
        return 260095;
    case 3:
        return 260096 + (int)(rng() % 50000);  // refused
    case 4:
    case 5:
    case 6:
        return 1024 + (int)(rng() % 30000);
    default:
        return 100000 + (int)(rng() % 160096);
    }
}

void ExpectFileMatchesModel(const std::string& native, const CacheModel& model,
                            const CBrowseCache& cache, const std::map<int, std::vector<unsigned char>>& bytes,
                            bool withData)
{
    ParsedCache p = ParseCacheFile(native, withData);
    ASSERT_EQ(p.header[2], (int32_t)model.Free().size());
    ASSERT_EQ(p.header[4], (int32_t)model.Entries().size());
    ASSERT_EQ(p.freeList, model.Free());
    std::vector<int> owners(20000, 0);
    for (uint32_t b : p.freeList)
        ++owners[b];
    for (size_t i = 0; i < p.entries.size(); ++i) {
        const ParsedEntry& f = p.entries[i];
        const ModelEntry& m = model.Entries()[i];
        ASSERT_EQ(f.recordBlock, m.recordBlock) << i;
        ASSERT_EQ((uint32_t)f.record[5], m.listBlock) << i;
        ASSERT_EQ(f.dataBlocks, m.dataBlocks) << i;
        ASSERT_EQ(f.name, m.path) << i;
        ASSERT_EQ(f.record[6], (int32_t)bytes.at(m.id).size()) << i;
        if (withData) {
            ASSERT_EQ(f.data, bytes.at(m.id)) << "entry " << i << " holds other bytes";
        }
        ++owners[f.recordBlock];
        ++owners[(uint32_t)f.record[5]];
        for (uint32_t b : f.dataBlocks)
            ++owners[b];
    }
    for (int b = 0; b < 20000; ++b)
        ASSERT_EQ(owners[b], 1) << "block " << b;
    // The index mirrors the entry list slot for slot.
    ASSERT_EQ(cache.m_cacheCount, (int)model.Entries().size());
    for (int i = 0; i < cache.m_cacheCount; ++i) {
        ASSERT_EQ((uint32_t)cache.m_cacheIndex[i].firstBlock, model.Entries()[i].recordBlock) << i;
        ASSERT_EQ(std::string(cache.m_cacheIndex[i].name), model.Entries()[i].path) << i;
        ASSERT_EQ(cache.m_cacheIndex[i].fileTime, 0) << i;
    }
}

using ModelTest = CacheTest;

// Catches any drift between the file, the index and the allocation and
// eviction rules over many stores: a block handed out twice or lost, a list
// written in the wrong order, an index slot dropped or kept wrongly.
TEST_F(ModelTest, RandomStoresFollowTheModel)
{
    std::mt19937 rng(77);
    CacheModel model;
    std::map<int, std::vector<unsigned char>> bytes;
    auto cache = std::make_unique<CBrowseCache>();
    int stored = 0, refused = 0;
    for (int step = 0; step < 900; ++step) {
        SCOPED_TRACE(step);
        int size = RandomSize(rng);
        // Some paths come back: entries with equal names coexist.
        int name = rng() % 4 == 0 ? (int)(rng() % 20) : 1000 + step;
        std::string path = "C:/m/" + std::to_string(name) + ".jpg";
        bytes[step] = MakeBytes((size_t)size, (uint32_t)step);
        int result = CBrowseCacheTestAccess::StoreBytes(*cache, path.c_str(), bytes[step]);
        bool expected = model.Store(step, path, size);
        ASSERT_EQ(result == 0, expected) << "size " << size;
        (expected ? stored : refused) += 1;
        // Forget streams of evicted entries.
        for (auto it = bytes.begin(); it != bytes.end();) {
            bool live = std::any_of(model.Entries().begin(), model.Entries().end(),
                                    [&](const ModelEntry& e) { return e.id == it->first; });
            it = live ? std::next(it) : bytes.erase(it);
        }
        ExpectFileMatchesModel(CacheNative(), model, *cache, bytes, step % 50 == 0);
        if (step % 100 == 99) {
            // A new session loads the same index from the file.
            cache = std::make_unique<CBrowseCache>();
            ASSERT_EQ(cache->OpenThumbnailCache(cache->m_cachePath), 0);
            ExpectFileMatchesModel(CacheNative(), model, *cache, bytes, false);
        }
        if (HasFatalFailure())
            return;
    }
    EXPECT_TRUE(g_messages.empty());
    EXPECT_GT(stored, 700);
    EXPECT_GT(refused, 20);
}

}  // namespace
