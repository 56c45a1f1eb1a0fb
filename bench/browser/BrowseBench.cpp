// Browser timings in one run, as ratios against references measured in the
// same process:
//   - one paint pass over a directory of 999 items (the way up and 998
//     photos) with every thumbnail near the view present, against one cached
//     GetThumbnail (the work a pass adds when it fetches); target: the pass
//     costs less;
//   - the same pass scrolled to the middle of the grid;
//   - a pass clipped to one cell, as the passes that fill a directory are
//     (each invalidates only the cell it fetched);
//   - filling the cells near the view from cached thumbnails, from the first
//     paint to the last, against as many cached GetThumbnail calls alone.
//
// Usage: bench_browser [-r REPETITIONS]
// The photos (640 x 480, each one different) are made with the project's
// encoder in a temporary directory that serves as drive C:.

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "bench/browser/BrowseBenchSupport.h"
#include "bench/common/BenchClock.h"
#include "browser/Browse.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"

namespace {

const int kPhotos = 998;  // with the way up: 999 items

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
    SetMessageBoxHandler(PrintMessage);

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
        const long long size = WriteBenchPhoto(dir + "/B/" + name, 640, 480, i);
        if (size < 0)
            return 1;
        bytes += size;
        paths.push_back(std::string("C:/B/") + name);
    }
    printf("directory: %d photos of 640 x 480, %.1f MB, plus the way up = 999 items\n", kPhotos,
           bytes / 1e6);

    // Cold fill: makes and stores every thumbnail near the view.
    CCountingBrowse* browser = OpenBrowser("C:/B/");
    double t0 = Now();
    RunUntilFilled(browser);
    const double cold = Now() - t0;
    const int near = PicturesListed(*browser) - 1;  // less the way up
    printf("cold fill of the %d photos near the view (decode, shrink, encode, store each): %.2f s, %.2f ms "
           "per photo\n",
           near, cold, cold * 1e3 / near);

    // Reference: a cached GetThumbnail, through the same browser's cache,
    // every photo stored once first.
    for (const std::string& p : paths) {
        int w = 0, h = 0;
        free(browser->GetThumbnail(p.c_str(), &w, &h));
    }
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
           fill, fill * 1e3 / near, near, fill / (fetchMedian * near));

    const std::string cmd = "rm -rf '" + dir + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", dir.c_str());
    return 0;
}
