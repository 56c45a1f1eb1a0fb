#include "image/DisplayTransform.h"

#include <algorithm>

namespace {

// Offset of one coordinate of the map: where a row of the matrix holds -1
// the coordinate runs backwards and starts at the far side.
int Offset(int p, int q, int size)
{
    return (p < 0 || q < 0) ? size - 1 : 0;
}

}  // namespace

DisplayTransform IdentityTransform()
{
    return DisplayTransform{1, 0, 0, 1};
}

bool IsIdentity(const DisplayTransform& t)
{
    return t.a == 1 && t.b == 0 && t.c == 0 && t.d == 1;
}

bool SwapsSides(const DisplayTransform& t)
{
    return t.a == 0;
}

// A clockwise turn puts the pixel at (x, y) of a picture H high at
// (H - 1 - y, x): the new picture at (x', y') shows the old one at
// (y', H - 1 - x'). Composing that after the map multiplies the matrix by
// (0 1; -1 0) on the right.
DisplayTransform AfterClockwise(const DisplayTransform& t)
{
    return DisplayTransform{-t.b, t.a, -t.d, t.c};
}

// Counter-clockwise: (x', y') shows (W - 1 - y', x'), matrix (0 -1; 1 0).
DisplayTransform AfterCounterClockwise(const DisplayTransform& t)
{
    return DisplayTransform{t.b, -t.a, t.d, -t.c};
}

// Mirror: (x', y') shows (W - 1 - x', y'), matrix (-1 0; 0 1).
DisplayTransform AfterMirror(const DisplayTransform& t)
{
    return DisplayTransform{-t.a, t.b, -t.c, t.d};
}

void MapToOriginal(const DisplayTransform& t, int x, int y, int origWidth, int origHeight,
                   int* u, int* v)
{
    *u = t.a * x + t.b * y + Offset(t.a, t.b, origWidth);
    *v = t.c * x + t.d * y + Offset(t.c, t.d, origHeight);
}

// The matrix is orthogonal, so its inverse is its transpose.
void MapFromOriginal(const DisplayTransform& t, int u, int v, int origWidth, int origHeight,
                     int* x, int* y)
{
    const int du = u - Offset(t.a, t.b, origWidth);
    const int dv = v - Offset(t.c, t.d, origHeight);
    *x = t.a * du + t.c * dv;
    *y = t.b * du + t.d * dv;
}

void MapRectToOriginal(const DisplayTransform& t, int left, int top, int right, int bottom,
                       int origWidth, int origHeight, int* uLeft, int* vTop, int* uRight,
                       int* vBottom)
{
    int u0, v0, u1, v1;
    MapToOriginal(t, left, top, origWidth, origHeight, &u0, &v0);
    MapToOriginal(t, right - 1, bottom - 1, origWidth, origHeight, &u1, &v1);
    *uLeft = std::min(u0, u1);
    *uRight = std::max(u0, u1) + 1;
    *vTop = std::min(v0, v1);
    *vBottom = std::max(v0, v1) + 1;
}
