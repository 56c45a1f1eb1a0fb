#include "image/Orientation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/RgbImage.h"

namespace {

bool Mirrors(int orientation)
{
    return orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7;
}

// Quarter turns clockwise after the mirror: 0, 1, 2 or 3 (3 is one turn
// counter-clockwise).
int QuarterTurns(int orientation)
{
    switch (orientation) {
    case 3: case 4: return 2;
    case 6: case 7: return 1;
    case 5: case 8: return 3;
    default: return 0;
    }
}

bool IsKnown(int orientation)
{
    return orientation >= 1 && orientation <= 8;
}

}  // namespace

bool OrientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

void OrientImage(CRgbImage& image, int orientation)
{
    if (!IsKnown(orientation))
        return;
    if (Mirrors(orientation))
        image.Mirror();
    switch (QuarterTurns(orientation)) {
    case 1: image.RotateClockwise(); break;
    case 2: image.HalfTurn(); break;
    case 3: image.RotateCounterClockwise(); break;
    default: break;
    }
}

unsigned char* OrientRgb(const unsigned char* pixels, int width, int height, int orientation,
                         int* outWidth, int* outHeight)
{
    *outWidth = *outHeight = 0;
    if (!pixels || width <= 0 || height <= 0)
        return nullptr;
    if (!IsKnown(orientation))
        orientation = 1;
    const bool swap = OrientationSwapsSides(orientation);
    const int ow = swap ? height : width;
    const int oh = swap ? width : height;
    const size_t bytes = (size_t)width * (size_t)height * 3;
    unsigned char* out = (unsigned char*)std::malloc(bytes);
    if (!out)
        return nullptr;

    // Source pixel (x, y) lands on (x', y') of the w' x h' result; both are
    // affine in x and y, so the destination offset is origin + x dx + y dy.
    const ptrdiff_t px = 3;
    const ptrdiff_t row = (ptrdiff_t)ow * 3;
    const ptrdiff_t right = (ptrdiff_t)(ow - 1) * px;
    const ptrdiff_t bottom = (ptrdiff_t)(oh - 1) * row;
    ptrdiff_t origin = 0, dx = px, dy = row;
    switch (orientation) {
    case 2: origin = right; dx = -px; dy = row; break;           // (w-1-x, y)
    case 3: origin = right + bottom; dx = -px; dy = -row; break; // (w-1-x, h-1-y)
    case 4: origin = bottom; dx = px; dy = -row; break;          // (x, h-1-y)
    case 5: origin = 0; dx = row; dy = px; break;                // (y, x)
    case 6: origin = right; dx = row; dy = -px; break;           // (h-1-y, x)
    case 7: origin = right + bottom; dx = -row; dy = -px; break; // (h-1-y, w-1-x)
    case 8: origin = bottom; dx = -row; dy = px; break;          // (y, w-1-x)
    default: break;
    }
    const unsigned char* s = pixels;
    for (int y = 0; y < height; ++y) {
        unsigned char* d = out + origin + (ptrdiff_t)y * dy;
        for (int x = 0; x < width; ++x, s += 3, d += dx)
            std::memcpy(d, s, 3);
    }
    *outWidth = ow;
    *outHeight = oh;
    return out;
}
