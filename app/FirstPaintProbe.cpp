#include "app/FirstPaintProbe.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

void NoteFirstPaint()
{
    static bool noted = false;
    if (noted)
        return;
    noted = true;
    if (!getenv("PIXMOOR_BENCH_FIRST_PAINT"))
        return;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    printf("first-paint %lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    fflush(stdout);
}
