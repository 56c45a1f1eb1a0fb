#pragma once
// The Exif "Orientation" of a JPEG stream: how the stored pixels must be
// turned and mirrored to show the picture upright.
//
// Values are those of the TIFF tag 0x0112:
//   1 as stored              5 mirrored, then turned counter-clockwise
//   2 mirrored left-right    6 turned clockwise
//   3 turned half a turn     7 mirrored, then turned clockwise
//   4 mirrored top-bottom    8 turned counter-clockwise
//
// The bytes are untrusted. The walk reads the markers before the first scan
// and, in the first APP1 segment that starts with "Exif\0\0", the TIFF
// header and the entries of IFD0; every offset and count is checked against
// the segment before it is used, and no other IFD is followed. Anything
// missing, cut short, out of range or unknown means 1 (as stored). The walk
// never affects decoding: it only reads.

#include <cstddef>

enum : int {
    kOrientationAsStored = 1,
    kOrientationLast = 8,
};

// 1..8 for `size` bytes of a JPEG stream; 1 when the stream says nothing
// usable.
int ReadExifOrientation(const unsigned char* bytes, size_t size);
