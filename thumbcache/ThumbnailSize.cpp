#include "thumbcache/ThumbnailSize.h"

#include <cmath>

void FitThumbnailSize(int width, int height, int* thumbWidth, int* thumbHeight)
{
    double r = width != 0 ? (double)height / (double)width : 1.0;
    // Truncated but kept as a double: a very tall strip overflows int.
    double th = std::trunc(r * kThumbnailSide);
    if (th > kThumbnailSide) {
        int tw = (int)(kThumbnailSide / r);
        *thumbWidth = tw > 0 ? tw : 1;
        *thumbHeight = kThumbnailSide;
        return;
    }
    *thumbWidth = kThumbnailSide;
    *thumbHeight = th >= 1 ? (int)th : 1;
}
