// The view's zoom on photos of 4 to 82 megapixels, each figure a ratio to
// the photo's own decode (CJpegConverter::LoadFile) measured in this run:
//   - a scale change until a 1024 x 768 window is painted: SetDisplaySize,
//     then Draw into the window at the scroll position (target <= 0.1);
//   - a scroll step by a quarter window at 400 %: the strip it uncovers
//     painted, as the window's scroll repaints it (target <= 0.05);
//   - in a child process, the peak resident size while 400 % of the 24 MP
//     photo is painted and scrolled, against its full raster + 64 MB.
// With --today the whole-raster zoom (Rescale, then Draw) is timed too, on
// the photos up to 24 MP.
//
// Usage: bench_image_display [--today]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/common/BenchClock.h"
#include "bench/thumbcache/BenchPhotos.h"
#include "codec/JpegConverter.h"
#include "image/RgbImage.h"
#include "platform/QtDc.h"
#include "tools/ChildProcess.h"

namespace {

const int kWindowWidth = 1024, kWindowHeight = 768;
const int kRuns = 9;

struct Photo {
    std::string path;
    int megapixels;
};

bool WriteJpeg(const std::string& path, const unsigned char* px, int width, int height)
{
    CJpegConverter converter;
    converter.m_nQuality = 90;
    unsigned char* jpeg = converter.Encode(px, width, height);
    if (!jpeg)
        return false;
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(jpeg, 1, (size_t)converter.GetSize(), f) == (size_t)converter.GetSize();
    if (f)
        ok = std::fclose(f) == 0 && ok;
    std::free(jpeg);
    return ok;
}

// Photos of 4, 12, 20 and 24 MP at 3:2, and 82 MP as a 2 x 2 tiling of a
// 20.5 MP picture, encoded at quality 90.
std::vector<Photo> MakeBenchPhotos(const std::string& dir)
{
    std::vector<Photo> photos;
    for (int mp : {4, 12, 20, 24}) {
        const int w = (int)std::sqrt(mp * 1e6 * 3 / 2), h = w * 2 / 3;
        std::vector<unsigned char> px = MakePhotoPixels(w, h, (unsigned)mp);
        const std::string path = dir + "/" + std::to_string(mp) + "mp.jpg";
        if (WriteJpeg(path, px.data(), w, h))
            photos.push_back(Photo{path, mp});
    }
    const int tw = 5544, th = 3696;
    std::vector<unsigned char> tile = MakePhotoPixels(tw, th, 82);
    std::vector<unsigned char> big((size_t)4 * tw * th * 3);
    const size_t row = (size_t)tw * 3;
    for (int y = 0; y < 2 * th; ++y)
        for (int i = 0; i < 2; ++i)
            std::memcpy(&big[(size_t)y * 2 * row + i * row], &tile[(size_t)(y % th) * row], row);
    const std::string path = dir + "/82mp.jpg";
    if (WriteJpeg(path, big.data(), 2 * tw, 2 * th))
        photos.push_back(Photo{path, 82});
    return photos;
}

double DecodeSeconds(const std::string& path, int runs)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        CJpegConverter converter;
        const double start = Now();
        unsigned char* px = converter.LoadFile(path.c_str());
        t.push_back(Now() - start);
        std::free(px);
    }
    return Median(t);
}

bool LoadPhoto(const std::string& path, CRgbImage& image)
{
    CJpegConverter converter;
    unsigned char* px = converter.LoadFile(path.c_str());
    if (!px)
        return false;
    const int result = image.SetImage(path.c_str(), px, converter.GetWidth(), converter.GetHeight());
    std::free(px);
    return result == 0;
}

// The window's part of the display as the view paints it: the display drawn
// at (0, 0) in coordinates scrolled by (x, y), clipped to `clip` (device
// coordinates). Returns Draw's result.
int Paint(QImage& window, CRgbImage& image, int x, int y, const QRect& clip)
{
    QPainter painter(&window);
    painter.setClipRect(clip);
    CDC dc(NewDcImpl(&painter));
    dc.SetViewportOrg(-x, -y);
    return image.Draw(&dc, 0, 0, image.GetWidth(), image.GetHeight());
}

const QRect kWholeWindow(0, 0, kWindowWidth, kWindowHeight);

// The display size of each scale, as the view computes it; fit by its rule
// (width first, then height when too high).
struct Scale {
    const char* name;
    int w, h;
};

std::vector<Scale> Scales(int W, int H)
{
    int fw = kWindowWidth, fh = (int)(kWindowWidth / ((double)W / H));
    if (fh > kWindowHeight) {
        fh = kWindowHeight;
        fw = (int)(kWindowHeight * ((double)W / H));
    }
    return {{"25%", W / 4, H / 4}, {"50%", W / 2, H / 2}, {"100%", W, H},
            {"200%", 2 * W, 2 * H}, {"400%", 4 * W, 4 * H}, {"fit", fw, fh}};
}

// The scroll position that centres the window on a display of w x h.
int Centre(int display, int window)
{
    return std::max(0, (display - window) / 2);
}

// Seconds for a scale change until painted, as from the view's menu: from
// the window painted at `from`, `resize` (SetDisplaySize or Rescale) to `to`,
// then the window painted at the display's centre. Negative when the
// picture was not painted.
double ScaleChangeSeconds(CRgbImage& image, QImage& window, const Scale& from, const Scale& to,
                          const std::function<int(int, int)>& resize, int runs = kRuns)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        resize(from.w, from.h);
        Paint(window, image, Centre(from.w, kWindowWidth), Centre(from.h, kWindowHeight), kWholeWindow);
        const double start = Now();
        if (resize(to.w, to.h) != 0 ||
            Paint(window, image, Centre(to.w, kWindowWidth), Centre(to.h, kWindowHeight), kWholeWindow) == 0)
            return -1;
        t.push_back(Now() - start);
    }
    return Median(t);
}

// Each scale is reached from fit, and fit from 100 %.
const Scale& From(const std::vector<Scale>& scales, const Scale& to)
{
    return &to == &scales.back() ? scales[2] : scales.back();
}

// Scroll steps by a quarter window at the current display: each step paints
// only the strip it uncovers (new tiles each time). Median seconds.
double ScrollStepSeconds(CRgbImage& image, QImage& window, bool across)
{
    const int w = image.GetWidth(), h = image.GetHeight();
    int x = Centre(w, kWindowWidth) / 2, y = Centre(h, kWindowHeight) / 2;
    Paint(window, image, x, y, kWholeWindow);
    std::vector<double> t;
    for (int i = 0; i < 2 * kRuns + 1; ++i) {
        const int dx = across ? kWindowWidth / 4 : 0, dy = across ? 0 : kWindowHeight / 4;
        if (x + dx + kWindowWidth > w || y + dy + kWindowHeight > h)
            break;
        x += dx;
        y += dy;
        const QRect strip = across ? QRect(kWindowWidth - dx, 0, dx, kWindowHeight)
                                   : QRect(0, kWindowHeight - dy, kWindowWidth, dy);
        const double start = Now();
        Paint(window, image, x, y, strip);
        t.push_back(Now() - start);
    }
    return t.empty() ? -1 : Median(t);
}

long StatusKb(const char* field)
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0)
            kb = std::atol(line + n);
    std::fclose(f);
    return kb;
}

// Child: 400 % of the photo painted and scrolled over a stretch of the
// picture. Prints "baseline before peak full tiles" (kB, kB, kB, bytes,
// bytes): the resident size before the photo was read, once it is held,
// the peak from then on, the full raster and the tiles kept at the end.
int MeasureMemory(const char* path)
{
    QImage window(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
    window.fill(Qt::gray);
    const long baseline = StatusKb("VmRSS:");
    CRgbImage image;
    if (!LoadPhoto(path, image))
        return 1;
    const long before = StatusKb("VmRSS:");
    // Restart the peak from here: the decode's own peak is not the zoom's.
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    image.SetDisplaySize(4 * image.GetFullWidth(), 4 * image.GetFullHeight());
    int x = 0, y = 0;
    for (int step = 0; step < 200; ++step) {
        Paint(window, image, x, y, kWholeWindow);
        x = (x + kWindowWidth / 4) % std::max(1, image.GetWidth() - kWindowWidth);
        if (step % 20 == 19)
            y += kWindowHeight / 4;
    }
    const uint64_t full = 3 * (uint64_t)image.GetFullHeight() * (image.GetFullWidth() + 3);
    std::printf("%ld %ld %ld %llu %llu\n", baseline, before, StatusKb("VmHWM:"),
                (unsigned long long)full, (unsigned long long)image.GetDisplayTileBytes());
    return 0;
}

void Ratio(double seconds, double decode)
{
    if (seconds < 0)
        std::printf(" %8s", "grey");
    else
        std::printf(" %8.3f", seconds / decode);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--memory") == 0)
        return MeasureMemory(argv[2]);
    const bool today = argc > 1 && std::strcmp(argv[1], "--today") == 0;

    char dirTemplate[] = "/tmp/pixmoor-display-bench-XXXXXX";
    if (!mkdtemp(dirTemplate)) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    const std::string dir = dirTemplate;
    std::printf("making photos in %s ...\n", dir.c_str());
    std::vector<Photo> photos = MakeBenchPhotos(dir);

    QImage window(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
    window.fill(Qt::gray);
    std::printf("\nscale change until a %d x %d window is painted, and a scroll step of a quarter"
                " window at 400%%,\nas ratios to the photo's decode (targets: scale <= 0.1,"
                " scroll <= 0.05)\n\n",
                kWindowWidth, kWindowHeight);
    std::printf("%-6s %11s %9s %8s %8s %8s %8s %8s %8s %8s %8s\n", "photo", "size", "decode ms",
                "25%", "50%", "100%", "200%", "400%", "fit", "scroll->", "scroll v");
    for (const Photo& photo : photos) {
        CRgbImage image;
        if (!LoadPhoto(photo.path, image)) {
            std::printf("%-6d cannot be held\n", photo.megapixels);
            continue;
        }
        const int W = image.GetFullWidth(), H = image.GetFullHeight();
        const double decode = DecodeSeconds(photo.path, photo.megapixels > 50 ? 3 : kRuns);
        std::printf("%3d MP %5d x %-5d %9.1f", photo.megapixels, W, H, decode * 1e3);
        std::vector<double> lazy;
        const std::vector<Scale> scales = Scales(W, H);
        for (const Scale& s : scales) {
            lazy.push_back(ScaleChangeSeconds(image, window, From(scales, s), s,
                                              [&](int w, int h) { return image.SetDisplaySize(w, h); }));
            Ratio(lazy.back(), decode);
        }
        image.SetDisplaySize(4 * W, 4 * H);
        Ratio(ScrollStepSeconds(image, window, true), decode);
        image.SetDisplaySize(4 * W, 4 * H);
        Ratio(ScrollStepSeconds(image, window, false), decode);
        std::printf("\n%-24s", "   ms");
        for (double s : lazy)
            std::printf(" %8.2f", s * 1e3);
        std::printf("\n");
        // The whole display raster of today, up to 24 MP (82 MP at 400 %
        // would take 3.9 GB).
        if (today && photo.megapixels <= 24) {
            std::printf("%-24s", "   today (Rescale)");
            for (const Scale& s : scales)
                Ratio(ScaleChangeSeconds(
                          image, window, From(scales, s), s,
                          [&](int w, int h) { return image.Rescale(w, h); }, 3),
                      decode);
            std::printf("\n");
        }
    }

    for (const Photo& photo : photos) {
        if (photo.megapixels != 24)
            continue;
        ChildRun run = RunChild("/proc/self/exe", {"--memory", photo.path}, 600);
        long baseline = 0, before = 0, peak = 0;
        unsigned long long full = 0, tiles = 0;
        if (!run.exited ||
            std::sscanf(run.output.c_str(), "%ld %ld %ld %llu %llu", &baseline, &before, &peak,
                        &full, &tiles) != 5) {
            std::printf("\nmemory: the child failed\n");
            continue;
        }
        const double mb = 1024.0;
        const double view = (peak - baseline) / mb;
        std::printf("\npeak resident size at 400%% of 24 MP, painted and scrolled 200 times:\n"
                    "  process before the photo %.0f MB, with the photo held %.0f MB, peak %.0f MB\n"
                    "  the view's part %.0f MB against full raster %.0f MB + 64 MB = %.0f MB: %s\n"
                    "  tiles kept at the end %.1f MB\n",
                    baseline / mb, before / mb, peak / mb, view, full / 1048576.0,
                    full / 1048576.0 + 64, view <= full / 1048576.0 + 64 ? "within" : "OVER",
                    tiles / 1048576.0);
    }
    for (const Photo& photo : photos)
        std::remove(photo.path.c_str());
    rmdir(dir.c_str());
    return 0;
}
