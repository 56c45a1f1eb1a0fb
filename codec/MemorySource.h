#pragma once
// A libjpeg source manager that feeds the decoder from a stream held in
// memory (the ConversionState's input, reached through client_data), in
// chunks of at most 4096 bytes copied into a buffer of its own.
//
// Fine points: the manager never suspends. When the stream runs out it
// inserts an EOI marker after a "Premature end of JPEG file" warning, so a
// file cut inside its scan data still decodes to a full picture (the library
// fills in the missing part); a stream that delivered no byte at all is the
// fatal "Empty input file".

#include <cstdio>

#include <jpeglib.h>

enum { kMemorySourceChunk = 4096 };

struct MemorySource {
    struct jpeg_source_mgr pub;
    JOCTET* buffer;     // kMemorySourceChunk bytes from the permanent pool
    boolean startOfFile;
};

// Installs the manager (from the library's permanent pool) in cinfo->src.
// cinfo->client_data must point to the conversion's ConversionState.
void InstallMemorySource(j_decompress_ptr cinfo);
