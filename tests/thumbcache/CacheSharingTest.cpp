// Two users of one cache file: forked processes storing and looking up at
// once, an object whose file another process has discarded and made anew,
// and a lock that another holder keeps.

#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CacheTestSupport.h"
#include "codec/JpegConverter.h"
#include "platform/FileSystem.h"

namespace {

// A key stored under a path that names no file (time 0), with a JPEG stream
// and the pixels every lookup of it must return.
struct SharedKey {
    std::string path;
    std::vector<unsigned char> jpeg;
    std::vector<unsigned char> pixels;
};

// Noise pictures of `side` x `side`: at quality 95 their streams take a
// good share of the 20000 blocks, so a few dozen of them force evictions.
std::vector<SharedKey> MakeKeys(const char* prefix, int count, int side)
{
    std::vector<SharedKey> keys;
    for (int k = 0; k < count; ++k) {
        std::vector<unsigned char> picture = MakeBytes((size_t)side * side * 3, 1000u + (uint32_t)k);
        CJpegConverter encoder;
        encoder.m_nQuality = 95;
        unsigned char* jpeg = encoder.Encode(picture.data(), side, side);
        CJpegConverter decoder;
        unsigned char* pixels = decoder.Decode(jpeg, (uint32_t)encoder.GetSize());
        SharedKey key;
        key.path = std::string("C:/") + prefix + std::to_string(k) + ".jpg";
        key.jpeg.assign(jpeg, jpeg + encoder.GetSize());
        key.pixels.assign(pixels, pixels + (size_t)side * side * 3);
        free(jpeg);
        free(pixels);
        keys.push_back(std::move(key));
    }
    return keys;
}

// Problems a lookup can show: null is allowed (evicted, or a lock not had),
// anything else must be the key's own pixels.
int CheckLookup(CBrowseCache& cache, const SharedKey& key)
{
    int w = 0, h = 0;
    unsigned char* t = cache.FindThumbnail(key.path.c_str(), &w, &h);
    int problems = 0;
    if (t && ((size_t)w * h * 3 != key.pixels.size() || memcmp(t, key.pixels.data(), key.pixels.size()) != 0))
        problems = 1;
    free(t);
    return problems;
}

// In a child: `rounds` random stores and lookups over `mine` (stored) and
// `all` (looked up). Exits with the number of wrong lookups plus messages.
[[noreturn]] void RunUser(const std::vector<SharedKey>& mine, const std::vector<SharedKey>& all,
                          int rounds, uint32_t seed)
{
    g_messages.clear();
    CBrowseCache cache;
    std::mt19937 random(seed);
    int problems = 0;
    for (int r = 0; r < rounds; ++r) {
        // Every key is stored at least once when rounds >= keys.
        const SharedKey& store = mine[(size_t)r % mine.size()];
        if (CBrowseCacheTestAccess::StoreBytes(cache, store.path.c_str(), store.jpeg) != 0 &&
            cache.m_cacheFile == nullptr)
            ++problems;  // a failed store must not lose the file
        problems += CheckLookup(cache, all[random() % all.size()]);
    }
    problems += (int)g_messages.size();
    _exit(problems > 100 ? 100 : problems);
}

// Runs two users at once and returns their exit codes.
std::vector<int> RunTwoUsers(const std::vector<SharedKey>& a, const std::vector<SharedKey>& b,
                             int rounds)
{
    std::vector<SharedKey> all = a;
    all.insert(all.end(), b.begin(), b.end());
    pid_t pids[2];
    for (int i = 0; i < 2; ++i) {
        pids[i] = fork();
        if (pids[i] == 0)
            RunUser(i == 0 ? a : b, all, rounds, 7u + (uint32_t)i);
    }
    std::vector<int> codes;
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status));
    }
    return codes;
}

class SharingTest : public CacheTest {};

// Catches a process that stores with a stale index (the other's entries
// overwritten, or the file discarded with the message), or serves a block
// another process has reused: both users see only their keys' own pixels,
// no message, and afterwards the file passes the open's full check with every
// key of both users still there (the first round) or served exactly (the
// second round, where evictions take turns).
TEST_F(SharingTest, TwoProcessesStoreAndLookUpAtOnce)
{
    const struct {
        const char* what;
        int keysEach;
        int side;
        int rounds;
        bool everyKeyKept;
    } rounds[] = {
        {"small thumbnails, no eviction", 40, 48, 120, true},
        {"large streams, evictions", 12, 150, 250, false},
    };
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.what);
        PlatformRemoveFile("C:/ThumbNails.bin");
        const std::vector<SharedKey> a = MakeKeys("a", round.keysEach, round.side);
        const std::vector<SharedKey> b = MakeKeys("b", round.keysEach, round.side);
        EXPECT_EQ(RunTwoUsers(a, b, round.rounds), (std::vector<int>{0, 0}));

        CBrowseCache reader;
        ASSERT_EQ(reader.OpenThumbnailCache(reader.m_cachePath), 0);
        EXPECT_TRUE(g_messages.empty());
        EXPECT_GT(reader.m_cacheCount, 0);
        for (const std::vector<SharedKey>* keys : {&a, &b})
            for (const SharedKey& key : *keys) {
                int w = 0, h = 0;
                unsigned char* t = reader.FindThumbnail(key.path.c_str(), &w, &h);
                if (round.everyKeyKept) {
                    EXPECT_NE(t, nullptr) << key.path << " lost";
                }
                if (t) {
                    EXPECT_EQ(memcmp(t, key.pixels.data(), key.pixels.size()), 0) << key.path;
                }
                free(t);
            }
    }
}

// Catches an object that keeps using a file another process has discarded
// (its stores would vanish with the unlinked file) or removes the new one.
TEST_F(SharingTest, FileDiscardedAndMadeAnewElsewhereIsFollowed)
{
    const std::vector<SharedKey> keys = MakeKeys("k", 3, 32);
    CBrowseCache first;
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(first, keys[0].path.c_str(), keys[0].jpeg), 0);
    // Another user discards the file and stores into a new one.
    ASSERT_EQ(PlatformRemoveFile("C:/ThumbNails.bin"), 0);
    CBrowseCache second;
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(second, keys[1].path.c_str(), keys[1].jpeg), 0);

    EXPECT_EQ(CheckLookup(first, keys[1]), 0);
    int w = 0, h = 0;
    unsigned char* gone = first.FindThumbnail(keys[0].path.c_str(), &w, &h);
    EXPECT_EQ(gone, nullptr);
    free(gone);
    ASSERT_EQ(CBrowseCacheTestAccess::StoreBytes(first, keys[2].path.c_str(), keys[2].jpeg), 0);
    EXPECT_EQ(CheckLookup(second, keys[2]), 0);
    unsigned char* seen = second.FindThumbnail(keys[2].path.c_str(), &w, &h);
    EXPECT_NE(seen, nullptr);
    free(seen);
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(ParseCacheFile(CacheNative(), false).entries.size(), 2u);
}

// Catches a store that waits for a lock forever or fails loudly: while
// another holder keeps the file, a new photo's thumbnail is still made and
// returned, nothing is written, no message; afterwards it is stored.
TEST_F(SharingTest, LockHeldElsewhereSkipsTheStore)
{
    WritePhoto(Native("p.jpg"), 120, 80);
    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    const std::vector<unsigned char> before = ReadWholeFile(CacheNative());
    const int holder = open(CacheNative().c_str(), O_RDWR);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    int w = 0, h = 0;
    unsigned char* t = cache.GetThumbnail("C:/p.jpg", &w, &h);
    EXPECT_NE(t, nullptr);
    EXPECT_EQ(w, 150);
    free(t);
    EXPECT_EQ(ReadWholeFile(CacheNative()), before);
    EXPECT_NE(cache.m_cacheFile, nullptr);
    close(holder);
    t = cache.GetThumbnail("C:/p.jpg", &w, &h);
    free(t);
    EXPECT_EQ(cache.m_cacheCount, 1);
    EXPECT_TRUE(g_messages.empty());
}

}  // namespace
