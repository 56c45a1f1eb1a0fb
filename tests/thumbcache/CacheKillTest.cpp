// A process killed at any write of a store or an eviction leaves a file that
// the next open either serves correctly (every entry finished before the
// kill, each with its own bytes) or discards. A child process replays a
// sequence of stores from a full cache and kills itself at the k-th write,
// before it, or after a torn part of it.

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "CacheTestSupport.h"
#include "thumbcache/CacheBlockStore.h"
#include "thumbcache/CacheFileIo.h"

namespace {

const char kCorrupt[] = "Thumbnail image cache is corrupt or out of memory";

long g_writeCount = 0;
long g_killAt = -1;
int g_tearMode = 0;
struct WriteRange {
    long offset;
    size_t size;
};
std::vector<WriteRange> g_writes;

enum TearMode { kKillBefore, kKillAfter4Bytes, kKillAfterHalf, kKillBeforeLast4Bytes, kTearModes };

size_t TornLength(int mode, size_t size)
{
    switch (mode) {
    case kKillAfter4Bytes:
        return std::min<size_t>(4, size);
    case kKillAfterHalf:
        return (size / 2) & ~(size_t)3;
    case kKillBeforeLast4Bytes:
        return size > 4 ? size - 4 : 0;
    default:
        return 0;
    }
}

// In the child: at the chosen write, let a prefix reach the file, then die.
int KillHook(FILE* file, CacheIoOp op, long, const void* data, size_t size)
{
    if (op != kCacheIoWrite || ++g_writeCount != g_killAt)
        return 0;
    size_t keep = TornLength(g_tearMode, size);
    if (keep > 0) {
        fwrite(data, 1, keep, file);
        fflush(file);
    }
    kill(getpid(), SIGKILL);
    return -1;
}

int CountHook(FILE*, CacheIoOp op, long offset, const void*, size_t size)
{
    if (op == kCacheIoWrite) {
        ++g_writeCount;
        g_writes.push_back(WriteRange{offset, size});
    }
    return 0;
}

struct Scenario {
    std::vector<int> base;  // ids stored to fill the cache
    std::vector<int> run;   // ids stored by the child
    std::map<int, std::vector<unsigned char>> bytes;
};

// A full cache (fills need evictions already) and a run of big and small
// stores that evicts every few steps.
Scenario MakeScenario(uint32_t seed)
{
    std::mt19937 rng(seed);
    Scenario s;
    int id = 0;
    for (int i = 0; i < 95; ++i, ++id) {
        s.base.push_back(id);
        s.bytes[id] = MakeBytes(150000 + rng() % 110000, (uint32_t)id);
    }
    for (int i = 0; i < 28; ++i, ++id) {
        s.run.push_back(id);
        size_t size = rng() % 3 == 0 ? 50 + rng() % 6000 : 180000 + rng() % 80000;
        s.bytes[id] = MakeBytes(size, (uint32_t)id);
    }
    return s;
}

std::string PathOf(int id) { return "C:/k" + std::to_string(id) + ".jpg"; }

int StoreId(CBrowseCache& cache, const Scenario& s, int id)
{
    return CBrowseCacheTestAccess::StoreBytes(cache, PathOf(id).c_str(), s.bytes.at(id));
}

std::vector<int> IndexIds(const CBrowseCache& cache)
{
    std::vector<int> ids;
    for (int i = 0; i < cache.m_cacheCount; ++i)
        ids.push_back(atoi(cache.m_cacheIndex[i].name + 4));
    return ids;
}

// Puts the file back to `bytes`: whole, or only where the first `count`
// writes of the run went (the file is 20 MB; a run touches a few).
void RestoreFile(const std::string& native, const std::vector<unsigned char>& bytes, bool whole,
                 long count)
{
    int fd = open(native.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    if (whole) {
        ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), (ssize_t)bytes.size());
    } else {
        for (long i = 0; i < count; ++i) {
            const WriteRange& w = g_writes[i];
            if ((size_t)w.offset >= bytes.size())
                continue;
            size_t n = std::min(w.size, bytes.size() - (size_t)w.offset);
            ASSERT_EQ(pwrite(fd, bytes.data() + w.offset, n, w.offset), (ssize_t)n);
        }
    }
    ASSERT_EQ(ftruncate(fd, (off_t)bytes.size()), 0);
    close(fd);
}

struct KillStats {
    int points = 0;
    int served = 0;
    int discarded = 0;
};

using KillTest = CacheTest;

// Catches a write order that lets a killed store or eviction leave a
// committed entry with garbage, blocks owned twice, or entries that lost
// their data: a later open must serve each surviving entry's own bytes.
TEST_F(KillTest, KilledStoresAndEvictionsLeaveAConsistentOrRejectedFile)
{
    KillStats stats;
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const Scenario s = MakeScenario(seed);
        unlink(CacheNative().c_str());
        {
            CBrowseCache filler;
            for (int id : s.base)
                ASSERT_EQ(StoreId(filler, s, id), 0);
        }
        const std::vector<unsigned char> base = ReadWholeFile(CacheNative());

        // A dry run numbers the writes and records the entries after each store.
        std::vector<long> endOfStore;
        std::vector<std::vector<int>> states;
        g_writes.clear();
        {
            CBrowseCache cache;
            ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
            states.push_back(IndexIds(cache));
            g_writeCount = 0;
            CacheIoHook old = SetCacheIoHook(CountHook);
            for (int id : s.run) {
                StoreId(cache, s, id);
                endOfStore.push_back(g_writeCount);
                states.push_back(IndexIds(cache));
            }
            SetCacheIoHook(old);
        }
        ASSERT_TRUE(g_messages.empty());
        const long writes = g_writeCount;
        bool wholeRestore = true;
        ASSERT_GT(writes, 100);

        for (long k = 1; k <= writes; ++k) {
            for (int mode = 0; mode < kTearModes; ++mode) {
                if (mode != kKillBefore && g_writes[k - 1].size <= 8)
                    continue;
                SCOPED_TRACE(::testing::Message() << "write " << k << " mode " << mode);
                RestoreFile(CacheNative(), base, wholeRestore, k);
                wholeRestore = false;
                pid_t pid = fork();
                ASSERT_GE(pid, 0);
                if (pid == 0) {
                    SetCacheIoHook(KillHook);
                    g_writeCount = 0;
                    g_killAt = k;
                    g_tearMode = mode;
                    CBrowseCache cache;
                    for (int id : s.run)
                        StoreId(cache, s, id);
                    _exit(3);
                }
                int status = 0;
                ASSERT_EQ(waitpid(pid, &status, 0), pid);
                ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
                ++stats.points;

                // The store in flight: entries both before and after it must
                // survive; those it evicts or adds may or may not.
                size_t step = std::lower_bound(endOfStore.begin(), endOfStore.end(), k) -
                              endOfStore.begin();
                ASSERT_LT(step, s.run.size());
                const std::vector<int>& before = states[step];
                const std::vector<int>& after = states[step + 1];
                std::vector<int> order = before;
                for (int id : after)
                    if (std::find(before.begin(), before.end(), id) == before.end())
                        order.push_back(id);

                g_messages.clear();
                CBrowseCache cache;
                if (cache.OpenThumbnailCache(cache.m_cachePath) != 0) {
                    EXPECT_EQ(g_messages, std::vector<std::string>{kCorrupt});
                    ++stats.discarded;
                    wholeRestore = true;
                    continue;
                }
                ++stats.served;
                ASSERT_TRUE(g_messages.empty());
                std::vector<int> present = IndexIds(cache);
                size_t at = 0;
                for (int i = 0; i < cache.m_cacheCount; ++i) {
                    int id = present[i];
                    auto it = std::find(order.begin() + at, order.end(), id);
                    ASSERT_NE(it, order.end()) << "entry " << id << " out of place or unknown";
                    at = it - order.begin() + 1;
                    unsigned char* bytes = nullptr;
                    int size = 0;
                    ASSERT_EQ(ReadCacheEntry(cache.m_cacheFile, (uint32_t)cache.m_cacheIndex[i].firstBlock,
                                             cache.m_cacheIndex[i].name, 0, &bytes, &size),
                              kCacheOk);
                    const std::vector<unsigned char>& own = s.bytes.at(id);
                    bool same = (size_t)size == own.size() && memcmp(bytes, own.data(), own.size()) == 0;
                    free(bytes);
                    ASSERT_TRUE(same) << "entry " << id << " serves other bytes";
                }
                for (int id : before) {
                    if (std::find(after.begin(), after.end(), id) != after.end()) {
                        ASSERT_NE(std::find(present.begin(), present.end(), id), present.end())
                            << "finished entry " << id << " lost";
                    }
                }
                // The survivor keeps working.
                if (stats.served % 16 == 0) {
                    EXPECT_EQ(StoreId(cache, s, s.run.back()), 0);
                    wholeRestore = true;
                }
            }
        }
    }
    printf("kill points %d: served %d, discarded %d\n", stats.points, stats.served, stats.discarded);
    EXPECT_GE(stats.points, 1000);
    EXPECT_GT(stats.served, stats.discarded);
}

}  // namespace
