#include "app/FirstPaintProbe.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long g_nPicturePaints = 0;

void WriteTime(const char* what)
{
    if (!getenv("PIXMOOR_BENCH_FIRST_PAINT"))
        return;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    printf("%s %lld\n", what, (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    fflush(stdout);
}

}  // namespace

void NoteViewPaint(bool drewPicture)
{
    static bool viewPainted = false;
    if (!viewPainted) {
        viewPainted = true;
        WriteTime("view-paint");
    }
    if (!drewPicture)
        return;
    if (g_nPicturePaints++ == 0)
        WriteTime("first-paint");
}

long PicturePaintCount()
{
    return g_nPicturePaints;
}
