// Timing of the picture operations the view runs on a large photograph, each
// set against a memory operation on the same bytes measured in this run:
//   fit to 1024 x 768 and 400% rebuild (Rescale), rotation of the full
//   raster, and StretchDIBits of a huge display raster into a window.
//
// Usage: bench_image [photo.jpg]  (default: the sample photo of the build;
// without one a 4000 x 3000 picture is made up).

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "codec/JpegConverter.h"
#include "image/RgbImage.h"
#include "platform/QtDc.h"

namespace {

const int kRuns = 5;

double Seconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Median of kRuns runs; `prepare` runs before each and is not timed.
double Median(const std::function<void()>& work, const std::function<void()>& prepare = nullptr)
{
    std::vector<double> t;
    for (int i = 0; i < kRuns; ++i) {
        if (prepare)
            prepare();
        t.push_back(Seconds(work));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// A smooth made-up picture with some noise, like a photograph to the
// resampler (its speed does not depend on the values).
unsigned char* MakePicture(int w, int h)
{
    unsigned char* p = (unsigned char*)std::malloc((size_t)w * h * 3);
    if (!p)
        return nullptr;
    uint32_t noise = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            noise = noise * 1664525u + 1013904223u;
            unsigned char* q = p + ((size_t)y * w + x) * 3;
            q[0] = (unsigned char)((x * 255) / w);
            q[1] = (unsigned char)((y * 255) / h);
            q[2] = (unsigned char)(noise >> 24);
        }
    return p;
}

// Keeps the compiler from dropping a buffer's writes before it is freed.
void Keep(const void* p)
{
    asm volatile("" : : "r"(p) : "memory");
}

size_t RasterBytes(const CRgbImage& image)
{
    return ((size_t)image.GetWidth() * 3 + (size_t)image.GetPad()) * (size_t)image.GetHeight();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const char* path = argc > 1 ? argv[1] : PIXMOOR_SAMPLE_JPEG;
    CJpegConverter converter;
    unsigned char* pixels = converter.LoadFile(path);
    int W = converter.GetWidth(), H = converter.GetHeight();
    if (pixels) {
        std::printf("picture: %s, %d x %d\n", path, W, H);
    } else {
        W = 4000;
        H = 3000;
        pixels = MakePicture(W, H);
        std::printf("picture: %s not readable, made up %d x %d\n", path, W, H);
    }
    CRgbImage image;
    if (!pixels || image.SetImage("bench", pixels, W, H) != 0) {
        std::fprintf(stderr, "cannot hold the picture\n");
        return 1;
    }
    std::free(pixels);
    const size_t fullBytes = RasterBytes(image);
    std::vector<unsigned char> copy(fullBytes), target(fullBytes);
    std::memset(copy.data(), 1, fullBytes);
    std::memset(target.data(), 2, fullBytes);
    const double memcpyFull = Median([&] { std::memcpy(target.data(), copy.data(), fullBytes); });
    // Rescale and the rotations write into a newly allocated raster, whose
    // pages the system supplies on first touch; this reference pays the same.
    const double memcpyFresh = Median([&] {
        unsigned char* p = (unsigned char*)std::malloc(fullBytes);
        std::memcpy(p, copy.data(), fullBytes);
        Keep(p);
        std::free(p);
    });
    std::printf("memcpy of the full raster (%.1f MB): %.2f ms; into a new buffer %.2f ms\n",
                fullBytes / 1e6, memcpyFull * 1e3, memcpyFresh * 1e3);

    // Fit into 1024 x 768 keeping the aspect ratio.
    double scale = std::min(1024.0 / W, 768.0 / H);
    int fitW = std::max(1, (int)(W * scale)), fitH = std::max(1, (int)(H * scale));
    const double fit = Median([&] { image.Rescale(fitW, fitH); });
    std::printf("Rescale to fit %d x %d: %.2f ms = %.2f x memcpy of the full raster\n", fitW,
                fitH, fit * 1e3, fit / memcpyFull);

    // 400%: compared with memset of the bytes it writes.
    const int bigW = W * 4, bigH = H * 4;
    const double grow = Median([&] { image.Rescale(bigW, bigH); });
    const size_t bigBytes = RasterBytes(image);
    std::vector<unsigned char> fill(bigBytes);
    std::memset(fill.data(), 1, bigBytes);
    const double memsetBig = Median([&] { std::memset(fill.data(), 3, bigBytes); });
    fill.clear();
    fill.shrink_to_fit();
    const double memsetFresh = Median([&] {
        unsigned char* p = (unsigned char*)std::malloc(bigBytes);
        std::memset(p, 3, bigBytes);
        Keep(p);
        std::free(p);
    });
    std::printf("Rescale to 400%% %d x %d (%.0f MB): %.1f ms\n"
                "  memset of a new buffer of the same size %.1f ms: Rescale runs at %.0f%% of it "
                "(target >= 30%%)\n"
                "  memset of memory already mapped %.1f ms: %.0f%% of that\n",
                bigW, bigH, bigBytes / 1e6, grow * 1e3, memsetFresh * 1e3,
                100.0 * memsetFresh / grow, memsetBig * 1e3, 100.0 * memsetBig / grow);

    // StretchDIBits of the 400% raster into a 1024 x 768 window against a
    // 1024 x 768 raster drawn whole.
    QImage window(1024, 768, QImage::Format_RGB32);
    window.fill(Qt::gray);
    const double hugeDraw = Median([&] {
        QPainter painter(&window);
        CDC dc(NewDcImpl(&painter));
        dc.SetViewportOrg(-bigW / 2, -bigH / 2);
        image.Draw(&dc, 0, 0, image.GetWidth(), image.GetHeight());
    });
    CRgbImage small;
    {
        unsigned char* p = MakePicture(1024, 768);
        small.SetImage("window", p, 1024, 768);
        std::free(p);
    }
    const double smallDraw = Median([&] {
        QPainter painter(&window);
        CDC dc(NewDcImpl(&painter));
        small.Draw(&dc, 0, 0, small.GetWidth(), small.GetHeight());
    });
    std::printf("StretchDIBits %d-wide raster into 1024 x 768: %.2f ms; 1024 x 768 raster: "
                "%.2f ms; ratio %.2f (target ~1)\n",
                bigW, hugeDraw * 1e3, smallDraw * 1e3, hugeDraw / smallDraw);

    // Rotation of the full raster alone (no display raster), against memcpy.
    image.Rescale(0, 0);
    const double turn = Median([&] { image.RotateClockwise(); });
    std::printf("RotateClockwise of the full raster: %.2f ms = %.2f x memcpy into a new buffer "
                "(target <= 3), %.2f x memcpy between mapped buffers\n",
                turn * 1e3, turn / memcpyFresh, turn / memcpyFull);
    return 0;
}
