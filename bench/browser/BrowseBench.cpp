// Browser timings in one run, as ratios against references measured in the
// same process:
//   - one paint pass over a directory of 999 items (the way up and 998
//     photos) with every thumbnail present, against one cached GetThumbnail
//     (the work a pass adds when it fetches); target: the pass costs less;
//   - the same pass scrolled to the middle of the grid;
//   - a pass clipped to one cell, as the passes that fill a directory are
//     (each invalidates only the cell it fetched);
//   - filling that directory from cached thumbnails, from the first paint
//     to the last, against 998 cached GetThumbnail calls alone.
//
// Usage: bench_browser [-r REPETITIONS]
// The photos (640 x 480, each one different) are made with the project's
// encoder in a temporary directory that serves as drive C:.

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "browser/Browse.h"
#include "codec/JpegConverter.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"

namespace {

const int kPhotos = 998;  // with the way up: the 999-item limit

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int Silent(const char* text, unsigned int)
{
    fprintf(stderr, "message: %s\n", text);
    return IDOK;
}

// A 640 x 480 picture with gradients and a seed-dependent pattern.
long long WritePhoto(const std::string& path, int seed)
{
    const int w = 640, h = 480;
    std::vector<unsigned char> px((size_t)w * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &px[((size_t)y * w + x) * 3];
            p[0] = (unsigned char)(x * 255 / w + seed);
            p[1] = (unsigned char)(y * 255 / h + 3 * seed);
            p[2] = (unsigned char)(((x / (8 + seed % 13)) ^ (y / 11)) * 37);
        }
    }
    CJpegConverter enc;
    unsigned char* jpeg = enc.Encode(px.data(), w, h);
    if (!jpeg)
        return -1;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        free(jpeg);
        return -1;
    }
    fwrite(jpeg, 1, (size_t)enc.GetSize(), f);
    fclose(f);
    free(jpeg);
    return enc.GetSize();
}

int PicturesListed(const CBrowse& b)
{
    int n = 0;
    for (int slot = 0; slot < b.m_count; ++slot)
        n += b.m_items[slot].GetHeight() != 0;
    return n;
}

const DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                     WS_VSCROLL | WS_HSCROLL;

CBrowse* OpenBrowser(const char* path)
{
    CBrowse* b = new CBrowse;
    if (!b->Create(nullptr, "Visual Browser", kStyle, CRect(10, 10, 920, 710)))
        return nullptr;
    b->SetPath(path);
    b->ShowWindow(SW_SHOW);
    return b;
}

// Runs the event loop until every listed item has its picture.
void RunUntilFilled(CBrowse* b)
{
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (b->m_count > 0 && PicturesListed(*b) == b->m_count)
            return;
    }
}

// One paint pass over the rectangle (null: the whole client), now.
double TimePass(CBrowse* b, const RECT* rect = nullptr)
{
    b->InvalidateRect(rect, FALSE);
    const double t0 = Now();
    b->UpdateWindow();
    return Now() - t0;
}

}  // namespace

int main(int argc, char** argv)
{
    int reps = 200;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "-r") && i + 1 < argc)
            reps = std::max(1, atoi(argv[++i]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMessageBoxHandler(Silent);

    char templ[] = "/tmp/pixmoor-browse-bench-XXXXXX";
    if (!mkdtemp(templ)) {
        perror("mkdtemp");
        return 1;
    }
    const std::string dir = templ;
    CDriveTable::Instance().SetDrive('C', dir);
    setenv("XDG_CACHE_HOME", dir.c_str(), 1);  // the cache file in dir/pixmoor
    mkdir((dir + "/B").c_str(), 0755);
    long long bytes = 0;
    std::vector<std::string> paths;
    for (int i = 0; i < kPhotos; ++i) {
        char name[32];
        snprintf(name, sizeof name, "img_%04d.jpg", i);
        const long long size = WritePhoto(dir + "/B/" + name, i);
        if (size < 0)
            return 1;
        bytes += size;
        paths.push_back(std::string("C:/B/") + name);
    }
    printf("directory: %d photos of 640 x 480, %.1f MB, plus the way up = 999 items\n", kPhotos,
           bytes / 1e6);

    // Cold fill: makes and stores every thumbnail.
    CBrowse* browser = OpenBrowser("C:/B/");
    double t0 = Now();
    RunUntilFilled(browser);
    const double cold = Now() - t0;
    printf("cold fill (decode, shrink, encode, store each photo): %.2f s, %.2f ms per photo\n", cold,
           cold * 1e3 / kPhotos);

    // Reference: a cached GetThumbnail, through the same browser's cache.
    std::vector<double> fetch;
    for (int r = 0; r < std::max(1, reps / 100); ++r) {
        for (const std::string& p : paths) {
            int w = 0, h = 0;
            const double a = Now();
            unsigned char* px = browser->GetThumbnail(p.c_str(), &w, &h);
            fetch.push_back(Now() - a);
            free(px);
        }
    }
    const double fetchMedian = Median(fetch);

    // A full pass over 999 items, all present, at the top and in the middle;
    // a pass clipped to one visible cell.
    std::vector<double> top, middle, cell;
    for (int r = 0; r < reps; ++r)
        top.push_back(TimePass(browser));
    const RECT one = { 256, 166, 379, 274 };  // cell (1, 2) with its frames
    for (int r = 0; r < reps; ++r)
        cell.push_back(TimePass(browser, &one));
    browser->OnVScroll(SB_THUMBTRACK, 7000, nullptr);
    QCoreApplication::processEvents();
    for (int r = 0; r < reps; ++r)
        middle.push_back(TimePass(browser));
    const double topMedian = Median(top);
    const double middleMedian = Median(middle);
    const double cellMedian = Median(cell);
    printf("cached GetThumbnail:             %8.3f ms (reference)\n", fetchMedian * 1e3);
    printf("full pass, top of grid:          %8.3f ms  ratio %.2f\n", topMedian * 1e3,
           topMedian / fetchMedian);
    printf("full pass, middle of grid:       %8.3f ms  ratio %.2f\n", middleMedian * 1e3,
           middleMedian / fetchMedian);
    printf("pass clipped to one cell (fill): %8.3f ms  ratio %.2f (target < 1)\n", cellMedian * 1e3,
           cellMedian / fetchMedian);
    delete browser;
    QCoreApplication::processEvents();

    // Warm fill: a new window (index loaded afresh) over cached thumbnails.
    std::vector<double> fills;
    for (int r = 0; r < 3; ++r) {
        browser = OpenBrowser("C:/B/");
        t0 = Now();
        RunUntilFilled(browser);
        fills.push_back(Now() - t0);
        delete browser;
        QCoreApplication::processEvents();
    }
    const double fill = Median(fills);
    printf("warm fill, first paint to last: %.3f s (%.3f ms per item)  ratio to %d cached fetches alone: %.2f\n",
           fill, fill * 1e3 / kPhotos, kPhotos, fill / (fetchMedian * kPhotos));

    const std::string cmd = "rm -rf '" + dir + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", dir.c_str());
    return 0;
}
