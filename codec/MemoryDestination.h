#pragma once
// A libjpeg destination manager that collects the compressed stream in one
// block grown with realloc: by exactly 4096 bytes each time the 4096-byte
// staging buffer fills, and by the exact remainder at the end, so the
// finished block is exactly as long as the stream.
//
// term_destination publishes the block and its size in the ConversionState
// (result, resultSize), then frees the manager and detaches it from the
// compression object. If the block cannot be grown, everything gathered is
// released, outputFailed is set and the library is told the buffer was not
// emptied (a suspension the conversion routine treats as failure).

#include <cstdio>

#include <jpeglib.h>

enum { kMemoryDestinationChunk = 4096 };

struct MemoryDestination {
    struct jpeg_destination_mgr pub;
    JOCTET* block;      // the output so far, grown with realloc
    size_t blockSize;
    JOCTET* staging;    // kMemoryDestinationChunk bytes from the image pool
};

// Allocates the manager with malloc and installs it in cinfo->dest; clears
// the published result. cinfo->client_data must point to the ConversionState.
// Returns -1 when the manager cannot be allocated.
int InstallMemoryDestination(j_compress_ptr cinfo);

// After a failed conversion: releases the manager still installed (if any)
// and the output it gathered, and detaches it.
void DiscardMemoryDestination(j_compress_ptr cinfo);
