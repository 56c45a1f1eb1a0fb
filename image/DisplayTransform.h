#pragma once
// One of the eight turns and mirrors of a picture, kept as the map from a
// position in the turned picture back to the position in the picture as it
// was before: u = a x + b y + ou, v = c x + d y + ov, with (a b; c d) a
// signed permutation and the offsets those that keep the result inside the
// original picture. Positions are picture coordinates, (0, 0) top-left.
//
// A display built part by part keeps one of these: its pixels are those of
// the picture resampled when it was sized, then turned and mirrored as the
// user has since.

struct DisplayTransform {
    int a, b, c, d;
};

DisplayTransform IdentityTransform();
bool IsIdentity(const DisplayTransform& t);
// True for the odd numbers of quarter turns: width and height swap.
bool SwapsSides(const DisplayTransform& t);

// The transform after the picture it describes is turned by 90 degrees
// clockwise, counter-clockwise, or mirrored left to right.
DisplayTransform AfterClockwise(const DisplayTransform& t);
DisplayTransform AfterCounterClockwise(const DisplayTransform& t);
DisplayTransform AfterMirror(const DisplayTransform& t);

// Position (u, v) in the original (origWidth x origHeight) of position
// (x, y) in the transformed picture.
void MapToOriginal(const DisplayTransform& t, int x, int y, int origWidth, int origHeight,
                   int* u, int* v);
// Position (x, y) in the transformed picture of position (u, v) of the
// original (origWidth x origHeight); the inverse of MapToOriginal.
void MapFromOriginal(const DisplayTransform& t, int u, int v, int origWidth, int origHeight,
                     int* x, int* y);

// The rectangle of the original that the rectangle [left, right) x [top,
// bottom) of the transformed picture shows (right and bottom exclusive;
// not empty).
void MapRectToOriginal(const DisplayTransform& t, int left, int top, int right, int bottom,
                       int origWidth, int origHeight, int* uLeft, int* vTop, int* uRight,
                       int* vBottom);
