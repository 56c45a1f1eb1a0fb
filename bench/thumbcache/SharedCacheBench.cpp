// What sharing one cache file costs, as ratios against references measured
// in the same process, on a cache of 6000 entries:
//   - a lookup (cache hit) when no other user changed the file, against
//     decoding the same thumbnail stream alone (the lock, the stat and the
//     check of the header and entry list are the difference);
//   - a lookup right after another user stored one entry (the index follows
//     the appended entry) and right after another user evicted (follows the
//     evicted slots), against the unchanged lookup;
//   - a store right after another user's store, against a store with
//     nothing changed.
// The two users are two cache objects in one process: each opens the file
// itself, so their locks exclude each other as two processes' do.
//
// Usage: pixmoor_shared_cache_bench

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/common/BenchClock.h"
#include "codec/JpegConverter.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"
#include "thumbcache/BrowseCache.h"

namespace {

int QuietMessage(const char* text, unsigned int)
{
    fprintf(stderr, "message: %s\n", text);
    return 1;
}

std::vector<unsigned char> Pixels(int w, int h, unsigned seed)
{
    std::vector<unsigned char> px((size_t)w * h * 3);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = (unsigned char)((i * 7 + seed * 31 + (i / 97) * 13) & 0xFF);
    return px;
}

std::string PathOf(int i)
{
    return "C:/Photos/2024/Holiday/IMG_" + std::to_string(10000 + i) + ".jpg";
}

// One timed lookup of entry `i`; the result is checked and freed.
double TimedLookup(CBrowseCache& cache, int i)
{
    int w = 0, h = 0;
    const double t0 = Now();
    unsigned char* t = cache.FindThumbnail(PathOf(i).c_str(), &w, &h);
    const double t1 = Now();
    if (!t)
        fprintf(stderr, "lookup of %d found nothing\n", i);
    free(t);
    return t1 - t0;
}

}  // namespace

int main()
{
    SetMessageBoxHandler(QuietMessage);
    char work[] = "/tmp/pixmoor-sharebench-XXXXXX";
    if (!mkdtemp(work)) {
        perror("mkdtemp");
        return 1;
    }
    CDriveTable::Instance().SetDrive('C', work);
    setenv("XDG_CACHE_HOME", work, 1);  // the cache file in work/pixmoor
    const std::vector<unsigned char> small = Pixels(8, 8, 3);
    const std::vector<unsigned char> thumb = Pixels(150, 100, 5);
    {
        CBrowseCache builder;
        for (int i = 0; i < 6000; ++i)
            builder.StoreThumbnail(PathOf(i).c_str(), small.data(), 8, 8);
        printf("a cache of %d entries\n", builder.m_cacheCount);
    }

    CBrowseCache mine, other;
    mine.OpenThumbnailCache(mine.m_cachePath);
    other.OpenThumbnailCache(other.m_cachePath);
    std::vector<double> quiet, afterStore, decodeOnly, storeQuiet, storeAfter;
    int next = 6000;
    for (int r = 0; r < 200; ++r) {
        const int i = 3000 + r;
        quiet.push_back(TimedLookup(mine, i));
        // Reference: decoding a stream of the same thumbnail alone.
        CJpegConverter enc;
        enc.m_nQuality = 65;
        unsigned char* jpeg = enc.Encode(small.data(), 8, 8);
        const double t0 = Now();
        CJpegConverter dec;
        unsigned char* again = dec.Decode(jpeg, (uint32_t)enc.GetSize());
        decodeOnly.push_back(Now() - t0);
        free(again);
        free(jpeg);

        other.StoreThumbnail(PathOf(next++).c_str(), small.data(), 8, 8);
        afterStore.push_back(TimedLookup(mine, i));

        double t1 = Now();
        mine.StoreThumbnail(PathOf(next++).c_str(), thumb.data(), 150, 100);
        storeQuiet.push_back(Now() - t1);
        other.StoreThumbnail(PathOf(next++).c_str(), small.data(), 8, 8);
        t1 = Now();
        mine.StoreThumbnail(PathOf(next++).c_str(), thumb.data(), 150, 100);
        storeAfter.push_back(Now() - t1);
    }
    // Evictions by the other user: fill the file with large entries until it
    // evicts, then look up one of the entries that are left.
    std::vector<double> afterEvict;
    const std::vector<unsigned char> large = Pixels(150, 150, 9);
    for (int r = 0; r < 60 && other.m_cacheCount > 0; ++r) {
        // Until the other user's oldest slot has gone.
        const std::string oldest = other.m_cacheIndex[0].name;
        while (other.m_cacheFile && other.m_cacheCount > 0 && oldest == other.m_cacheIndex[0].name)
            other.StoreThumbnail(PathOf(next++).c_str(), large.data(), 150, 150);
        afterEvict.push_back(TimedLookup(mine, 5999));
    }

    const double q = Median(quiet);
    printf("lookup, nothing changed: median %.3f ms, %.2f x decoding the stream alone (%.3f ms)\n",
           q * 1e3, q / Median(decodeOnly), Median(decodeOnly) * 1e3);
    printf("lookup after another user's store: median %.3f ms, %.2f x the unchanged lookup\n",
           Median(afterStore) * 1e3, Median(afterStore) / q);
    printf("lookup after another user's eviction: median %.3f ms, %.2f x the unchanged lookup\n",
           Median(afterEvict) * 1e3, Median(afterEvict) / q);
    printf("store after another user's store: median %.3f ms, %.2f x a store with nothing changed "
           "(%.3f ms)\n",
           Median(storeAfter) * 1e3, Median(storeAfter) / Median(storeQuiet), Median(storeQuiet) * 1e3);
    printf("entries at the end: %d and %d\n", mine.m_cacheCount, other.m_cacheCount);

    std::string cmd = std::string("rm -rf '") + work + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", work);
    return 0;
}
