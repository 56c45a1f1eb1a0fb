// Writes small valid thumbnail cache files into a directory, as seeds for
// fuzz_cache: a new file, then files holding entries for the paths the
// fuzzer looks up (one entry, all of them, a stale and a fresh entry for
// the same path, a stream that fills its last block exactly).
//
// Usage: pixmoor_cache_seeds OUTDIR

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <vector>

#include "fuzz/CacheFuzzSupport.h"
#include "platform/DriveTable.h"
#include "thumbcache/BrowseCache.h"

namespace {

std::string g_dir;

void Touch(const char* fileName, int seconds)
{
    std::string native = g_dir + "/" + fileName;
    FILE* f = fopen(native.c_str(), "wb");
    if (f)
        fclose(f);
    struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    utimes(native.c_str(), times);
}

std::vector<unsigned char> Picture(int width, int height, int seed)
{
    std::vector<unsigned char> p((size_t)width * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* q = &p[((size_t)y * width + x) * 3];
            q[0] = (unsigned char)(x * 255 / width + seed * 40);
            q[1] = (unsigned char)(y * 255 / height);
            q[2] = (unsigned char)((x ^ y) * 8 + seed);
        }
    return p;
}

bool Store(CBrowseCache& cache, int which, int seconds, int width, int height)
{
    Touch(kFuzzFileNames[which], seconds);
    std::vector<unsigned char> p = Picture(width, height, which);
    return cache.StoreThumbnail(kFuzzPaths[which], p.data(), width, height) == 0;
}

bool CopyOut(const std::string& outDir, const char* name)
{
    std::string cmd = "cp '" + g_dir + "/pixmoor/ThumbNails.bin' '" + outDir + "/" + name + "'";
    return system(cmd.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::string outDir = argv[1];
    char templ[] = "/tmp/pixmoor-seeds-XXXXXX";
    if (!mkdtemp(templ))
        return 1;
    g_dir = templ;
    mkdir((g_dir + "/photos").c_str(), 0700);
    CDriveTable::Instance().SetDrive('C', g_dir);
    setenv("XDG_CACHE_HOME", g_dir.c_str(), 1);

    bool ok = true;
    {
        CBrowseCache cache;
        ok = ok && cache.OpenThumbnailCache(cache.m_cachePath) == 0 && CopyOut(outDir, "cache-empty.bin");
        ok = ok && Store(cache, 0, 1500000000, 16, 12) && CopyOut(outDir, "cache-one.bin");
        ok = ok && Store(cache, 1, 1500000100, 150, 100) && Store(cache, 2, 1500000200, 40, 150) &&
             Store(cache, 3, 1500000300, 3, 3) && CopyOut(outDir, "cache-four.bin");
        // The photo changed: a second entry for a.jpg beside the stale one.
        ok = ok && Store(cache, 0, 1600000000, 20, 20) && CopyOut(outDir, "cache-stale-and-fresh.bin");
    }
    std::string cmd = "rm -rf '" + g_dir + "'";
    if (system(cmd.c_str()) != 0 || !ok) {
        fprintf(stderr, "could not write the seeds\n");
        return 1;
    }
    return 0;
}
