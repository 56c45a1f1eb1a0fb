#pragma once
// The receiving end of a decode that keeps only some rows of a picture
// (JpegToRgbRows in codec/JpegConverter.h). The decoder calls it between
// library calls, never from inside the library, so it may be ordinary C++.

class CRowReceiver {
public:
    virtual ~CRowReceiver() {}

    // The picture's size, once its header has passed the size checks, for a
    // stream whose rows can be had one at a time exactly as a whole decode
    // gives them. Returns 1 to take chosen rows, 0 to have the whole raster
    // decoded instead, -1 to fail the decode (no memory for the receiver).
    virtual int Begin(int width, int height) = 0;
    // The next row wanted: rows are asked for in ascending order, each at
    // most once; the picture's height when no further row is wanted.
    virtual int NextRow() = 0;
    // Row y in exchange layout (width x 3 bytes: R, G, B), valid during the
    // call only.
    virtual void TakeRow(int y, const unsigned char* rgb) = 0;
};
