#pragma once
// The bookkeeping of one conversion (decode or encode). Each conversion owns
// its own record, reachable from the library object through client_data, so
// conversions do not share state and may run side by side.

#include <cstddef>
#include <cstdint>

struct ConversionState {
    // Decoding: the JPEG stream; encoding: the raster being compressed.
    const unsigned char* input;
    uint64_t inputLength;
    uint64_t readPosition;

    // Decoding.
    bool stored;             // the raster in stored layout (image/StoredLayout.h)
    unsigned char* raster;   // null until allocated
    uint64_t rasterSize;     // exchange: width x height x 3; stored: its buffer size
    uint64_t bytesWritten;   // exchange layout: bytes so far
    uint64_t rowsWritten;    // stored layout: rows so far
    int decodedWidth;
    int decodedHeight;

    // Encoding.
    int imageWidth;
    int imageHeight;
    unsigned char* result;   // published by the destination at its end
    uint32_t resultSize;
    bool outputFailed;       // the result block could not be grown
};
