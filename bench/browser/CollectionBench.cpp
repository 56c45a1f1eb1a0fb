// The browser on a folder of 10,000 photos, as a camera card holds them,
// each figure against a reference measured in the same run:
//   - Listing: ListDirectory of the folder into an empty browser against a
//     plain readdir + stat pass over the same directory; target ratio <= 3.
//   - ScrollMemory/zoom: the resident size after scrolling screen by screen
//     from the top to the end and back, letting every screen fill, against
//     the size after the first screen, at each cell zoom (-3 to +3 steps
//     from the start size); target: at most 64 MB more (ratio_to_64MB <= 1).
//   - FarCell/cached:0|1: a drag from the top to the middle of the grid,
//     then paint passes one at a time, until the first cell in view and
//     until every cell in view has its thumbnail (made, or read back from
//     the cache), against one paint pass over the whole client plus one
//     GetThumbnail of a photo; ratio 1 means the first cell in view comes
//     with the first pass after the drag.
//
// Usage: bench_browser_collection [--benchmark_filter=...]
// The photos (96 x 72, each different) are made once per run with the
// project's encoder in a temporary directory that serves as drive C:.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "bench/browser/BrowseBenchSupport.h"
#include "bench/common/BenchClock.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"

namespace {

const int kPhotos = 10000;
const char kCard[] = "C:/Card/";
std::string g_drive;  // native directory of drive C:

std::string PhotoName(int i)
{
    char name[32];
    snprintf(name, sizeof name, "DSC_%05d.jpg", i);
    return name;
}

long long ResidentBytes()
{
    long long pages = 0, resident = 0;
    FILE* f = fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    if (fscanf(f, "%lld %lld", &pages, &resident) != 2)
        resident = 0;
    fclose(f);
    return resident * sysconf(_SC_PAGESIZE);
}

// The reference: what any listing of the directory must at least do.
double ReaddirStatPass(const std::string& dir)
{
    const double t0 = Now();
    DIR* d = opendir(dir.c_str());
    long long bytes = 0;
    while (struct dirent* e = d ? readdir(d) : nullptr) {
        struct stat st;
        if (stat((dir + e->d_name).c_str(), &st) == 0)
            bytes += st.st_size;
    }
    if (d)
        closedir(d);
    benchmark::DoNotOptimize(bytes);
    return Now() - t0;
}

void BM_Listing(benchmark::State& state)
{
    std::vector<double> listing, reference;
    for (auto _ : state) {
        reference.push_back(ReaddirStatPass(g_drive + "/Card/"));
        CBrowse* b = new CBrowse;
        b->Create(nullptr, "Visual Browser", WS_POPUP | WS_VSCROLL | WS_HSCROLL, CRect(10, 10, 920, 710));
        b->SetPath(kCard);
        const double t0 = Now();
        b->ListDirectory();
        const double t = Now() - t0;
        listing.push_back(t);
        state.SetIterationTime(t);
        if (b->m_count != kPhotos + 1)  // and the way up
            state.SkipWithError("not every photo was listed");
        delete b;
        QCoreApplication::processEvents();
    }
    const double l = Median(listing), r = Median(reference);
    state.counters["listing_ms"] = l * 1e3;
    state.counters["readdir_stat_ms"] = r * 1e3;
    state.counters["ratio"] = l / r;
}

// Scrolls by whole screens to `target`, letting each screen fill; returns
// the largest resident size seen on the way.
long long ScrollScreens(CCountingBrowse* b, int target, long long peak)
{
    SCROLLINFO si = { sizeof si, SIF_ALL, 0, 0, 0, 0, 0 };
    b->GetScrollInfo(SB_VERT, &si);
    const int page = std::max(1, (int)si.nPage);
    while (b->m_scrollY != target) {
        const int from = b->m_scrollY;
        const int to = target > from ? std::min(target, from + page) : std::max(target, from - page);
        b->OnVScroll(SB_THUMBTRACK, (UINT)to, nullptr);
        RunUntilFilled(b);
        peak = std::max(peak, ResidentBytes());
        if (b->m_scrollY == from)
            break;  // the target is beyond the limit
    }
    return peak;
}

void BM_ScrollMemory(benchmark::State& state)
{
    const int zoom = (int)state.range(0);
    for (auto _ : state) {
        CCountingBrowse* b = OpenBrowser(kCard);
        RunUntilFilled(b);
        for (int i = 0; i < std::abs(zoom); ++i) {
            if (zoom > 0)
                b->OnZoomIn();
            else
                b->OnZoomOut();
            RunUntilFilled(b);
        }
        const long long first = ResidentBytes();
        const int held = PicturesListed(*b);
        long long peak = ScrollScreens(b, 1 << 30, first);
        const int bottom = b->m_scrollY;
        peak = ScrollScreens(b, 0, peak);
        const long long after = ResidentBytes();
        const double growth = (after - first) / 1048576.0;
        state.counters["cell_width"] = b->m_cellWidth;
        state.counters["pictures_held"] = held;
        state.counters["end_scroll_px"] = bottom;
        state.counters["first_screen_MB"] = first / 1048576.0;
        state.counters["growth_MB"] = growth;
        state.counters["peak_growth_MB"] = (peak - first) / 1048576.0;
        state.counters["ratio_to_64MB"] = growth / 64.0;
        delete b;
        QCoreApplication::processEvents();
    }
}

// Cells in view of the browser, in display order.
std::vector<int> CellsInView(const CBrowse* b)
{
    const BrowseView v = BrowseGeometry::ViewOf(b->Metrics(), b->m_clientWidth, b->m_clientHeight, b->m_count);
    std::vector<int> cells;
    for (int r = v.rows.first; r <= v.rows.last; ++r)
        for (int c = v.columns.first; c <= v.columns.last; ++c)
            if (r * b->m_columns + c < b->m_count)
                cells.push_back(r * b->m_columns + c);
    return cells;
}

bool HasPicture(const CBrowse* b, int p)
{
    return b->m_items[b->m_order[p].slot].GetHeight() != 0;
}

// One GetThumbnail of each of `count` photos from `first` on, through a
// cache of its own: made and stored, then again, read back.
void TimeOneFetch(int first, int count, double* made, double* cached)
{
    CBrowseCache cache;
    snprintf(cache.m_cachePath, sizeof cache.m_cachePath, "C:/reference-cache.bin");
    std::vector<double> cold, warm;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = first; i < first + count; ++i) {
            const std::string path = kCard + PhotoName(i);
            int w = 0, h = 0;
            const double t0 = Now();
            free(cache.GetThumbnail(path.c_str(), &w, &h));
            (pass == 0 ? cold : warm).push_back(Now() - t0);
        }
    }
    *made = Median(cold);
    *cached = Median(warm);
    remove((g_drive + "/reference-cache.bin").c_str());
}

void BM_FarCell(benchmark::State& state)
{
    const bool cached = state.range(0) != 0;
    double madeRef = 0, cachedRef = 0;
    TimeOneFetch(kPhotos / 2, 50, &madeRef, &cachedRef);
    std::vector<double> firstCell, wholeView, fullPass;
    int passes = 0;
    for (auto _ : state) {
        if (!cached)
            remove((g_drive + "/ThumbNails.bin").c_str());
        CCountingBrowse* b = OpenBrowser(kCard);
        RunUntilFilled(b);
        SCROLLINFO si = { sizeof si, SIF_ALL, 0, 0, 0, 0, 0 };
        b->GetScrollInfo(SB_VERT, &si);
        const UINT middle = (UINT)(si.nMax - (int)si.nPage) / 2;
        if (cached) {
            // The middle's thumbnails go into the cache; back at the top its
            // cells have given up their pictures again.
            b->OnVScroll(SB_THUMBTRACK, middle, nullptr);
            RunUntilFilled(b);
            b->OnVScroll(SB_THUMBTRACK, 0, nullptr);
            RunUntilFilled(b);
        }
        const double t0 = Now();
        b->OnVScroll(SB_THUMBTRACK, middle, nullptr);
        const std::vector<int> cells = CellsInView(b);
        double first = -1;
        int n = 0;
        for (;;) {
            b->UpdateWindow();  // one paint pass
            ++n;
            if (first < 0 && HasPicture(b, cells.front()))
                first = Now() - t0;
            if (std::all_of(cells.begin(), cells.end(), [&](int p) { return HasPicture(b, p); }))
                break;
            if (n > 10 * (int)cells.size()) {
                state.SkipWithError("the view did not fill");
                break;
            }
        }
        const double all = Now() - t0;
        state.SetIterationTime(first);
        firstCell.push_back(first);
        wholeView.push_back(all);
        passes = n;
        // A pass over the whole client that fetches nothing, as the first
        // pass after the drag is apart from its one fetch.
        RunUntilFilled(b);
        for (int i = 0; i < 5; ++i) {
            b->InvalidateRect(nullptr, FALSE);
            const double p0 = Now();
            b->UpdateWindow();
            fullPass.push_back(Now() - p0);
        }
        delete b;
        QCoreApplication::processEvents();
    }
    const double fetch = cached ? cachedRef : madeRef;
    const double pass = Median(fullPass);
    state.counters["first_cell_ms"] = Median(firstCell) * 1e3;
    state.counters["whole_view_ms"] = Median(wholeView) * 1e3;
    state.counters["passes_to_fill_view"] = passes;
    state.counters["one_fetch_ms"] = fetch * 1e3;
    state.counters["full_pass_ms"] = pass * 1e3;
    // 1 when the first cell in view costs one pass and one fetch.
    state.counters["first_cell_ratio"] = Median(firstCell) / (pass + fetch);
}

BENCHMARK(BM_Listing)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_ScrollMemory)->DenseRange(-3, 3)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FarCell)->ArgName("cached")->Arg(0)->Arg(1)->UseManualTime()->Iterations(3)->Unit(
    benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMessageBoxHandler(PrintMessage);

    char templ[] = "/tmp/pixmoor-collection-bench-XXXXXX";
    if (!mkdtemp(templ)) {
        perror("mkdtemp");
        return 1;
    }
    g_drive = templ;
    CDriveTable::Instance().SetDrive('C', g_drive);
    mkdir((g_drive + "/Card").c_str(), 0755);
    for (int i = 0; i < kPhotos; ++i) {
        if (WriteBenchPhoto(g_drive + "/Card/" + PhotoName(i), 96, 72, i) < 0) {
            fprintf(stderr, "could not write the photos in %s\n", templ);
            return 1;
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::string cmd = "rm -rf '" + g_drive + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", g_drive.c_str());
    return 0;
}
