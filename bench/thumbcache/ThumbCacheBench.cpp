// Thumbnail cache timings in one run, as ratios against references measured
// in the same process:
//   - cold GetThumbnail (decode, shrink, encode, store) per photo against
//     LoadFile of the same file (target: total <= 0.85 x) and against a plain
//     libjpeg-turbo full decode (target <= 1.15 x);
//   - the peak resident size of one cold GetThumbnail of each 24 MP photo, in
//     a process of its own, against the photo's full raster (target <= 1/4
//     for a baseline photo);
//   - warm GetThumbnail (a cache hit) per thumbnail; target <= 1 ms, also as a
//     ratio to decoding the same thumbnail stream alone;
//   - StoreThumbnail of a 150 x 100 thumbnail against its encoding alone;
//   - OpenThumbnailCache of a file holding 6000 entries against reading the
//     same file sequentially.
//
// Usage: pixmoor_thumbcache_bench [-r REPETITIONS] [PHOTO_DIRECTORY]
// Without a directory, photos of 4 to 24 megapixels are made in a temporary
// directory, each as a baseline file and as its lossless progressive
// transcode: test charts drawn by the project's sample-photo tool and
// pictures of gradients and fine noise encoded by the project's encoder.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/common/BenchClock.h"
#include "tools/ChildProcess.h"
#include "bench/common/ReferenceDecode.h"
#include "bench/thumbcache/BenchPhotos.h"
#include "codec/JpegConverter.h"
#include "image/RgbImage.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"
#include "thumbcache/BrowseCache.h"
#include "thumbcache/ThumbnailSize.h"

namespace {

int QuietMessage(const char* text, UINT)
{
    fprintf(stderr, "message: %s\n", text);
    return IDOK;
}

// ---- Measurements ----------------------------------------------------------

struct ColdFigures {
    double reference;
    double cold;
    double load;
    double shrink;
};

// Where a cold thumbnail's time goes: LoadFile, then the shrink.
void TimeParts(const std::string& path, double* load, double* shrink)
{
    double t0 = Now();
    CJpegConverter converter;
    unsigned char* photo = converter.LoadFile(path.c_str());
    double t1 = Now();
    int tw = 0, th = 0;
    FitThumbnailSize(converter.GetWidth(), converter.GetHeight(), &tw, &th);
    CRgbImage image;
    image.SetScaledImage("tmp", photo, converter.GetWidth(), converter.GetHeight(), tw, th);
    free(photo);
    unsigned char* thumb = image.ExportRgb();
    double t2 = Now();
    free(thumb);
    *load = t1 - t0;
    *shrink = t2 - t1;
}

}  // namespace

// Child: one cold GetThumbnail of FILE with a new cache file in DIR, then
// the process's peak resident size in KB on standard output.
int PeakOfOneThumbnail(const char* file, const std::string& dir)
{
    SetMessageBoxHandler(QuietMessage);
    CDriveTable::Instance().SetDrive('C', dir);
    {
        CBrowseCache cache;
        snprintf(cache.m_cachePath, sizeof cache.m_cachePath, "C:/peak%d.bin", (int)getpid());
        int w = 0, h = 0;
        free(cache.GetThumbnail(file, &w, &h));
        unlink((dir + "/peak" + std::to_string(getpid()) + ".bin").c_str());
    }
    printf("%ld\n", PeakResidentKb());
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 4 && !strcmp(argv[1], "--peak-thumb"))
        return PeakOfOneThumbnail(argv[2], argv[3]);
    int reps = 3;
    std::string photoDir;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "-r") && i + 1 < argc)
            reps = std::max(1, atoi(argv[++i]));
        else
            photoDir = argv[i];
    }
    SetMessageBoxHandler(QuietMessage);

    char work[] = "/tmp/pixmoor-thumbbench-XXXXXX";
    if (!mkdtemp(work)) {
        perror("mkdtemp");
        return 1;
    }
    const std::string workDir = work;
    CDriveTable::Instance().SetDrive('C', workDir);

    std::vector<std::string> photos;
    if (photoDir.empty()) {
        printf("making 16 photos of 4 to 24 MP, half of them progressive, in %s ...\n",
               workDir.c_str());
        fflush(stdout);
        photos = MakePhotos(workDir);
    } else {
        photos = ListPhotos(photoDir);
    }
    if (photos.empty()) {
        fprintf(stderr, "no photos\n");
        return 1;
    }

    // Cold: each repetition uses a fresh cache file, opened before timing.
    std::vector<ColdFigures> cold(photos.size(), ColdFigures{1e9, 1e9, 1e9, 1e9});
    for (int r = 0; r < reps; ++r) {
        CBrowseCache cache;
        snprintf(cache.m_cachePath, sizeof cache.m_cachePath, "C:/cold%d.bin", r);
        cache.OpenThumbnailCache(cache.m_cachePath);
        for (size_t i = 0; i < photos.size(); ++i) {
            ColdFigures& f = cold[i];
            f.reference = std::min(f.reference, TimeReferenceDecode(photos[i].c_str()));
            int w = 0, h = 0;
            double t0 = Now();
            unsigned char* thumb = cache.GetThumbnail(photos[i].c_str(), &w, &h);
            double t1 = Now();
            free(thumb);
            f.cold = std::min(f.cold, t1 - t0);
            double load = 0, shrink = 0;
            TimeParts(photos[i], &load, &shrink);
            f.load = std::min(f.load, load);
            f.shrink = std::min(f.shrink, shrink);
        }
        std::string native = workDir + "/cold" + std::to_string(r) + ".bin";
        unlink(native.c_str());
    }
    printf("\ncold GetThumbnail against LoadFile and a plain libjpeg-turbo decode (best of %d):\n",
           reps);
    printf("%-30s %10s %9s %9s %9s %8s %8s %9s\n", "photo", "size", "decode ms", "load ms",
           "cold ms", "/load", "/decode", "shrink ms");
    double sumRef = 0, sumCold = 0, sumShrink = 0, sumLoad = 0;
    std::vector<double> ratios;
    for (size_t i = 0; i < photos.size(); ++i) {
        const ColdFigures& f = cold[i];
        CJpegConverter probe;
        unsigned char* px = probe.LoadFile(photos[i].c_str());
        free(px);
        std::string name = photos[i].substr(photos[i].find_last_of('/') + 1);
        char size[32];
        snprintf(size, sizeof size, "%dx%d", probe.GetWidth(), probe.GetHeight());
        printf("%-30s %10s %9.1f %9.1f %9.1f %8.3f %8.3f %9.1f\n", name.c_str(), size,
               f.reference * 1e3, f.load * 1e3, f.cold * 1e3, f.cold / f.load,
               f.cold / f.reference, f.shrink * 1e3);
        sumRef += f.reference;
        sumCold += f.cold;
        sumLoad += f.load;
        sumShrink += f.shrink;
        ratios.push_back(f.cold / f.reference);
    }
    printf("cold / LoadFile: total %.3f (target <= 0.85)\n", sumCold / sumLoad);
    printf("cold / decode: total %.3f, median %.3f (target <= 1.15); LoadFile / decode %.3f, "
           "shrink of a full raster: %.1f %% of cold\n",
           sumCold / sumRef, Median(ratios), sumLoad / sumRef, 100.0 * sumShrink / sumCold);

    // Peak memory of one cold thumbnail of each 24 MP photo, in a process of
    // its own, against an idle child and the photo's full raster.
    {
        ChildRun idle = RunChild("/proc/self/exe", {"--peak-thumb", "none.txt", workDir}, 60);
        long idleKb = 0;
        sscanf(idle.output.c_str(), "%ld", &idleKb);
        printf("\npeak resident size of one cold GetThumbnail (idle child %ld KB):\n", idleKb);
        for (const std::string& p : photos) {
            CJpegConverter probe;
            free(probe.LoadFile(p.c_str()));
            const double raster = 3.0 * probe.GetWidth() * probe.GetHeight();
            if (raster < 20e6 * 3)
                continue;
            ChildRun r = RunChild("/proc/self/exe", {"--peak-thumb", p, workDir}, 600);
            long kb = 0;
            if (!r.exited || sscanf(r.output.c_str(), "%ld", &kb) != 1) {
                printf("%-30s failed\n", p.c_str());
                continue;
            }
            std::string name = p.substr(p.find_last_of('/') + 1);
            printf("%-30s peak %7.1f MB, %7.1f MB over idle; full raster %6.1f MB: %.3f "
                   "(target <= 0.25 for a baseline photo)\n",
                   name.c_str(), kb / 1024.0, (kb - idleKb) / 1024.0, raster / 1048576.0,
                   (kb - idleKb) * 1024.0 / raster);
        }
    }

    // Warm: every photo is in the cache; each lookup is timed.
    {
        CBrowseCache cache;
        snprintf(cache.m_cachePath, sizeof cache.m_cachePath, "C:/warm.bin");
        for (const std::string& p : photos) {
            int w = 0, h = 0;
            free(cache.GetThumbnail(p.c_str(), &w, &h));
        }
        std::vector<double> warm, decodeOnly;
        for (int round = 0; round < 20; ++round) {
            for (const std::string& p : photos) {
                int w = 0, h = 0;
                double t0 = Now();
                unsigned char* t = cache.GetThumbnail(p.c_str(), &w, &h);
                double t1 = Now();
                // Reference: decoding a thumbnail stream of the same size alone.
                CJpegConverter enc;
                enc.m_nQuality = 65;
                unsigned char* jpeg = enc.Encode(t, w, h);
                double t2 = Now();
                CJpegConverter dec;
                unsigned char* again = dec.Decode(jpeg, (uint32_t)enc.GetSize());
                double t3 = Now();
                free(again);
                free(jpeg);
                free(t);
                warm.push_back(t1 - t0);
                decodeOnly.push_back(t3 - t2);
            }
        }
        printf("\nwarm GetThumbnail (cache hit): median %.3f ms per thumbnail (target <= 1 ms); "
               "%.2f x decoding the thumbnail stream alone (%.3f ms)\n",
               Median(warm) * 1e3, Median(warm) / Median(decodeOnly), Median(decodeOnly) * 1e3);
    }

    // Store: a 150 x 100 thumbnail, against its encoding alone.
    {
        std::vector<unsigned char> px = MakePhotoPixels(150, 100, 7);
        CBrowseCache cache;
        snprintf(cache.m_cachePath, sizeof cache.m_cachePath, "C:/store.bin");
        cache.OpenThumbnailCache(cache.m_cachePath);
        std::vector<double> store, encode;
        for (int i = 0; i < 400; ++i) {
            std::string path = "C:/store/" + std::to_string(i) + ".jpg";
            double t0 = Now();
            cache.StoreThumbnail(path.c_str(), px.data(), 150, 100);
            double t1 = Now();
            CJpegConverter enc;
            enc.m_nQuality = 65;
            unsigned char* jpeg = enc.Encode(px.data(), 150, 100);
            double t2 = Now();
            free(jpeg);
            store.push_back(t1 - t0);
            encode.push_back(t2 - t1);
        }
        printf("\nStoreThumbnail 150x100: median %.3f ms, %.2f x its encoding alone (%.3f ms); "
               "%d entries after 400 stores\n",
               Median(store) * 1e3, Median(store) / Median(encode), Median(encode) * 1e3,
               cache.m_cacheCount);
    }

    // Open: a cache of 6000 small entries (3 blocks each), built once.
    {
        std::vector<unsigned char> px = MakePhotoPixels(8, 8, 3);
        {
            CBrowseCache builder;
            snprintf(builder.m_cachePath, sizeof builder.m_cachePath, "C:/open.bin");
            for (int i = 0; i < 6000; ++i) {
                std::string path = "C:/Photos/2024/Holiday/IMG_" + std::to_string(10000 + i) + ".jpg";
                builder.StoreThumbnail(path.c_str(), px.data(), 8, 8);
            }
            printf("\nopen: built a cache of %d entries\n", builder.m_cacheCount);
        }
        const std::string native = workDir + "/open.bin";
        std::vector<double> open, readAll;
        for (int i = 0; i < 15; ++i) {
            CBrowseCache cache;
            snprintf(cache.m_cachePath, sizeof cache.m_cachePath, "C:/open.bin");
            double t0 = Now();
            int ok = cache.OpenThumbnailCache(cache.m_cachePath);
            double t1 = Now();
            if (ok != 0 || cache.m_cacheCount != 6000)
                printf("open failed: %d, %d entries\n", ok, cache.m_cacheCount);
            FILE* f = fopen(native.c_str(), "rb");
            std::vector<unsigned char> buf(1 << 20);
            size_t total = 0, got;
            while ((got = fread(buf.data(), 1, buf.size(), f)) > 0)
                total += got;
            fclose(f);
            double t2 = Now();
            open.push_back(t1 - t0);
            readAll.push_back(t2 - t1);
        }
        printf("OpenThumbnailCache with 6000 entries: median %.2f ms, %.2f x reading the whole "
               "%.1f MB file sequentially (%.2f ms)\n",
               Median(open) * 1e3, Median(open) / Median(readAll),
               (double)(160028 + 6000 * 3 * 1024) / 1e6, Median(readAll) * 1e3);
    }

    std::string cmd = "rm -rf '" + workDir + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", workDir.c_str());
    return 0;
}
