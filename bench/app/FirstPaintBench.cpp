// How close the viewer comes to the speed of its decoder, per photo, on the
// offscreen platform. Each figure is a median over the runs, and each ratio
// has its decode measured in the same run:
//   - start-up: the viewer started with the photo, from the fork to its
//     first paint with the picture, less the same for the viewer started
//     without a photo (its own start-up), over the decode in a fresh process;
//   - File Open in a running viewer (the document road), from the request to
//     the painted frame, over the same decode;
//   - Next / Previous Picture between two photos of the same size, from the
//     command to the painted frame, over the same decode.
// The decode in a fresh process is the reference because the viewer decodes
// into new memory each time (the picture shown stays until the new one is
// ready); the decode in this process, which reuses memory it has freed, is
// reported beside it. Before every measured run the memory it will need is
// touched and released (bench/common/WarmPages.h), so that the viewer and
// the reference decode meet free memory in the same state.
// The photos are test charts of 4, 12, 20, 24 and 82 megapixels made by
// tools/pixmoor_make_sample, or the files named; each lies in a folder of its
// own beside a copy, which the steps go to and back from.
//
// usage: bench_app_first_paint [RUNS] [photo.jpg ...]   (5 runs)
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "app/res/Resource.h"
#include "bench/app/RunningViewer.h"
#include "bench/app/ViewerStart.h"
#include "bench/common/BenchClock.h"
#include "bench/common/WarmPages.h"
#include "codec/JpegConverter.h"
#include "tools/ChildProcess.h"

namespace {

const double kTarget = 1.15;

struct PhotoRuns {
    std::string name;
    std::string a, b;  // the photo and its copy, alone in their folder
    int width = 0, height = 0;
    std::vector<double> freshDecode, hereDecode, firstPaint, open, step;  // ms
};

bool CopyFile(const std::string& from, const std::string& to)
{
    FILE* in = fopen(from.c_str(), "rb");
    FILE* out = fopen(to.c_str(), "wb");
    bool ok = in && out;
    char buf[1 << 16];
    size_t got;
    while (ok && (got = fread(buf, 1, sizeof buf, in)) > 0)
        ok = fwrite(buf, 1, got, out) == got;
    if (in)
        fclose(in);
    if (out && fclose(out) != 0)
        ok = false;
    return ok;
}

// A folder `name` in `work` holding a.jpg (made, or copied from `source`)
// and its copy b.jpg.
bool MakePhotoPair(const std::string& work, const std::string& name, const char* source, int w, int h,
                   PhotoRuns* photo)
{
    const std::string dir = work + "/" + name;
    if (mkdir(dir.c_str(), 0700) != 0)
        return false;
    photo->name = name;
    photo->a = dir + "/a.jpg";
    photo->b = dir + "/b.jpg";
    if (source) {
        if (!CopyFile(source, photo->a))
            return false;
    } else if (!RunChild(PIXMOOR_MAKE_SAMPLE, { photo->a, std::to_string(w), std::to_string(h) }, 120).exited) {
        return false;
    }
    return CopyFile(photo->a, photo->b);
}

double HereDecodeMs(PhotoRuns* photo)
{
    CJpegConverter converter;
    const double t0 = Now();
    unsigned char* pixels = converter.LoadFile(photo->a.c_str());
    const double ms = (Now() - t0) * 1e3;
    if (!pixels)
        return -1;
    photo->width = converter.GetWidth();
    photo->height = converter.GetHeight();
    free(pixels);
    return ms;
}

// What a run with this photo allocates: the decode's raster, the picture
// beside the one it replaces, the file and the window's buffers.
size_t RunBytes(const PhotoRuns& photo)
{
    return (size_t)photo.width * photo.height * 3 * 2 + ((size_t)64 << 20);
}

bool AllMeasured(const std::vector<double>& v)
{
    return !v.empty() && std::none_of(v.begin(), v.end(), [](double x) { return x < 0; });
}

double LoadAverage()
{
    double load[1] = { -1 };
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

void Report(const std::vector<PhotoRuns>& photos, const std::vector<double>& empty, int runs)
{
    const double startUp = Median(empty);
    printf("viewer start without a photo to its first paint: %.1f ms\n\n", startUp);
    printf("%-6s %11s %7s %7s | %7s %5s | %7s %5s | %7s %5s\n", "photo", "size", "fresh", "warm", "start", "ratio",
           "open", "ratio", "step", "ratio");
    printf("%-6s %11s %7s %7s | %7s %5s | %7s %5s | %7s %5s\n", "", "", "decode", "decode", "-empty", "", "", "", "",
           "");
    for (const PhotoRuns& p : photos) {
        const double fresh = Median(p.freshDecode), warm = Median(p.hereDecode);
        const double first = Median(p.firstPaint) - startUp, open = Median(p.open), step = Median(p.step);
        printf("%-6s %5dx%-5d %7.1f %7.1f | %7.1f %5.2f | %7.1f %5.2f | %7.1f %5.2f\n", p.name.c_str(), p.width,
               p.height, fresh, warm, first, first / fresh, open, open / fresh, step, step / fresh);
    }
    printf("milliseconds, medians of %d runs; ratios over the fresh decode, each with the target <= %.2f\n", runs,
           kTarget);
    printf("open and step over the warm decode (this process, memory it has freed before):\n");
    for (const PhotoRuns& p : photos)
        printf("  %s %.2f %.2f", p.name.c_str(), Median(p.open) / Median(p.hereDecode),
               Median(p.step) / Median(p.hereDecode));
    printf("\n");
}

// Qt's notes about what the offscreen platform cannot do (raise a window)
// would drown the figures.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg && type != QtInfoMsg && type != QtWarningMsg)
        fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--decode") == 0)
        return RunDecodeChild(argv[2]);
    int runs = 5;
    std::vector<const char*> named;
    for (int i = 1; i < argc; ++i) {
        if (atoi(argv[i]) > 0 && strspn(argv[i], "0123456789") == strlen(argv[i]))
            runs = atoi(argv[i]);
        else
            named.push_back(argv[i]);
    }

    char work[] = "/tmp/pixmoor-bench-XXXXXX";
    if (!mkdtemp(work)) {
        perror("mkdtemp");
        return 1;
    }
    // The viewer in this process keeps its settings and desktop entry here
    // too, and asks no session bus for a name.
    setenv("XDG_CONFIG_HOME", (std::string(work) + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (std::string(work) + "/data").c_str(), 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");

    std::vector<PhotoRuns> photos;
    static const struct { const char* name; int w, h; } kMade[] = {
        { "4mp", 2448, 1632 }, { "12mp", 4272, 2848 }, { "20mp", 5472, 3648 }, { "24mp", 6000, 4000 },
        { "82mp", 11000, 7500 } };
    bool made = true;
    if (named.empty()) {
        for (const auto& m : kMade) {
            photos.emplace_back();
            made = made && MakePhotoPair(work, m.name, nullptr, m.w, m.h, &photos.back());
        }
    } else {
        for (size_t i = 0; i < named.size(); ++i) {
            photos.emplace_back();
            made = made && MakePhotoPair(work, "photo" + std::to_string(i + 1), named[i], 0, 0, &photos.back());
        }
    }
    // Each photo's size, for the memory its runs need.
    for (PhotoRuns& p : photos)
        made = made && HereDecodeMs(&p) >= 0;
    printf("load average at start %.2f\n", LoadAverage());

    // Child processes first, before this process has a Qt application.
    std::vector<double> empty;
    for (int r = 0; made && r < runs; ++r) {
        WarmFreePages((size_t)64 << 20);
        empty.push_back(MsToViewerMark(PIXMOOR_PROGRAM, nullptr, work, "view-paint"));
        for (PhotoRuns& p : photos) {
            WarmFreePages(RunBytes(p));
            p.firstPaint.push_back(MsToViewerMark(PIXMOOR_PROGRAM, p.a.c_str(), work, "first-paint"));
            WarmFreePages(RunBytes(p));
            p.freshDecode.push_back(FreshProcessDecodeMs(p.a.c_str()));
        }
    }

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    qInstallMessageHandler(QuietQtMessages);
    QApplication qapp(qtArgc, argv);
    bool measured = made && AllMeasured(empty);
    {
        CRunningViewer viewer;
        measured = measured && viewer.Start();
        // Each run opens the photo the last step left, so the open loads
        // anew; the step then goes to the other one of the pair.
        for (int r = 0; measured && r < runs; ++r) {
            for (PhotoRuns& p : photos) {
                WarmFreePages(RunBytes(p));
                p.hereDecode.push_back(HereDecodeMs(&p));
                WarmFreePages(RunBytes(p));
                p.open.push_back(viewer.OpenMs(r % 2 ? p.b : p.a));
                WarmFreePages(RunBytes(p));
                p.step.push_back(viewer.CommandMs(r % 2 ? ID_VIEW_PREV_PICTURE : ID_VIEW_NEXT_PICTURE));
            }
        }
    }
    for (const PhotoRuns& p : photos)
        measured = measured && AllMeasured(p.freshDecode) && AllMeasured(p.hereDecode) &&
                   AllMeasured(p.firstPaint) && AllMeasured(p.open) && AllMeasured(p.step);
    if (system(("rm -rf '" + std::string(work) + "'").c_str()) != 0) {
        // a leftover temporary folder is harmless
    }
    if (!measured) {
        fprintf(stderr, "a photo could not be made, decoded or shown\n");
        return 1;
    }
    Report(photos, empty, runs);
    printf("load average at end %.2f\n", LoadAverage());
    return 0;
}
