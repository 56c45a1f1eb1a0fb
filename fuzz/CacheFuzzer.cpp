// Arbitrary bytes as the thumbnail cache file: open it, look up a few
// photos whose times match the entries the bytes describe, store one
// thumbnail, and check that a store reported as done can be read back by a
// fresh cache object. Drive C: is a private temporary directory.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "fuzz/CacheFuzzSupport.h"
#include "platform/DriveTable.h"
#include "platform/MemoryLimit.h"
#include "platform/MessageBox.h"
#include "thumbcache/BrowseCache.h"

namespace {

std::string g_dir;
int g_messages = 0;
volatile unsigned g_sink;

int CountMessage(const char*, unsigned int)
{
    ++g_messages;
    return 1;
}

void Check(bool ok)
{
    if (!ok)
        abort();
}

void WriteFile(const std::string& native, const uint8_t* data, size_t size)
{
    FILE* f = fopen(native.c_str(), "wb");
    Check(f != nullptr);
    Check(size == 0 || fwrite(data, 1, size, f) == size);
    Check(fclose(f) == 0);
}

void SetTime(const std::string& native, int32_t seconds)
{
    struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    utimes(native.c_str(), times);
}

void ReadWhole(const unsigned char* pixels, int width, int height)
{
    Check(width > 0 && height > 0);
    unsigned sum = 0;
    for (size_t i = 0; i < (size_t)width * height * 3; ++i)
        sum += pixels[i];
    g_sink = sum;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // tmpfs when present: every input rewrites the whole file.
    std::string templ = access("/dev/shm", W_OK) == 0 ? "/dev/shm/pixmoor-fuzz-cache-XXXXXX"
                                                      : "/tmp/pixmoor-fuzz-cache-XXXXXX";
    if (!mkdtemp(&templ[0]))
        abort();
    g_dir = templ;
    mkdir((g_dir + "/photos").c_str(), 0700);
    CDriveTable::Instance().SetDrive('C', g_dir);
    setenv("XDG_CACHE_HOME", g_dir.c_str(), 1);
    mkdir((g_dir + "/pixmoor").c_str(), 0700);
    SetMessageBoxHandler(CountMessage);
    // Streams in the file may declare large pictures.
    SetRasterByteLimit(64u << 20);
    atexit([] { system(("rm -rf '" + g_dir + "'").c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string cacheNative = g_dir + "/pixmoor/ThumbNails.bin";
    WriteFile(cacheNative, data, size);
    // The photos exist (except one chosen by the input) with the times the
    // file's entries carry, so lookups reach the entries' blocks.
    const int missing = size ? data[0] % (kFuzzPathCount + 1) : kFuzzPathCount;
    for (int i = 0; i < kFuzzPathCount; ++i) {
        std::string native = g_dir + "/" + kFuzzFileNames[i];
        if (i == missing) {
            unlink(native.c_str());
            continue;
        }
        WriteFile(native, (const uint8_t*)"x", 1);
        SetTime(native, FuzzTimeForPath(data, size, kFuzzPaths[i], i));
    }
    const char* storedPath = "C:/stored.jpg";
    std::string storedNative = g_dir + "/stored.jpg";
    WriteFile(storedNative, (const uint8_t*)"x", 1);
    SetTime(storedNative, 1000000000);

    g_messages = 0;
    CBrowseCache cache;
    int opened = cache.OpenThumbnailCache(cache.m_cachePath);
    Check((opened == 0) == (cache.m_cacheFile != nullptr));
    if (opened != 0)
        Check(g_messages > 0);  // a file that exists is never dropped silently
    for (int i = 0; i < kFuzzPathCount; ++i) {
        int w = -1, h = -1;
        unsigned char* pixels = cache.FindThumbnail(kFuzzPaths[i], &w, &h);
        if (pixels)
            ReadWhole(pixels, w, h);
        else
            Check(w == 0 && h == 0);
        free(pixels);
    }
    // A discard deletes the file and leaves the cache closed.
    if (!cache.m_cacheFile)
        Check(access(cacheNative.c_str(), F_OK) != 0 && cache.m_cacheCount == 0);

    int w = 0, h = 0;
    unsigned char* before = cache.m_cacheFile ? cache.FindThumbnail(storedPath, &w, &h) : nullptr;
    unsigned char thumb[12 * 8 * 3];
    for (size_t i = 0; i < sizeof thumb; ++i)
        thumb[i] = (unsigned char)(i * 7 + size);
    int stored = cache.StoreThumbnail(storedPath, thumb, 12, 8);
    if (stored == 0 && !before) {
        // What was stored is read back by a new object from the file on disk.
        CBrowseCache fresh;
        int messagesBefore = g_messages;
        Check(fresh.OpenThumbnailCache(fresh.m_cachePath) == 0);
        unsigned char* back = fresh.FindThumbnail(storedPath, &w, &h);
        Check(back != nullptr && w == 12 && h == 8);
        Check(g_messages == messagesBefore);
        free(back);
    }
    free(before);
    return 0;
}
