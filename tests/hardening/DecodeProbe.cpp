// A small process for measuring one decode: loads a JPEG file with the
// project's decoder (or makes its thumbnail through the cache) and prints
// the outcome, so its peak memory and time can be read from outside.
//
// Usage: pixmoor_decode_probe FILE LIMIT_MB [thumb]
//   LIMIT_MB: the raster limit in megabytes (0: the machine's default).
//   thumb: GetThumbnail with the cache file in a temporary drive C:.
// Prints "decoded W H PEAK_KB" or "null W H PEAK_KB" and exits 0 when the
// call returned. PEAK_KB is the process's own peak resident size (VmHWM),
// which, unlike the rusage of a forked child, starts afresh at exec.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "codec/JpegConverter.h"
#include "platform/DriveTable.h"
#include "platform/MemoryLimit.h"
#include "thumbcache/BrowseCache.h"
#include "tools/ChildProcess.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s FILE LIMIT_MB [thumb]\n", argv[0]);
        return 2;
    }
    long limitMb = atol(argv[2]);
    if (limitMb > 0)
        SetRasterByteLimit((uint64_t)limitMb << 20);
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    if (argc > 3 && std::string(argv[3]) == "thumb") {
        char dir[] = "/tmp/pixmoor-probe-XXXXXX";
        if (!mkdtemp(dir))
            return 1;
        CDriveTable::Instance().SetDrive('C', dir);
        setenv("XDG_CACHE_HOME", dir, 1);
        {
            CBrowseCache cache;
            pixels = cache.GetThumbnail(argv[1], &width, &height);
        }
        std::string cmd = std::string("rm -rf '") + dir + "'";
        if (system(cmd.c_str()) != 0)
            return 1;
    } else {
        CJpegConverter converter;
        pixels = converter.LoadFile(argv[1]);
        width = converter.GetWidth();
        height = converter.GetHeight();
    }
    free(pixels);
    printf("%s %d %d %ld\n", pixels ? "decoded" : "null", width, height, PeakResidentKb());
    return 0;
}
