#pragma once
// The reference the codec's figures are measured against: plain libjpeg,
// the file read whole, jpeg_mem_src, every scanline into one buffer.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg error manager that prints the message and jumps back.
struct ReferenceError {
    struct jpeg_error_mgr pub;
    jmp_buf jump;
};

// error_exit of ReferenceError.
void ReferenceExit(j_common_ptr cinfo);

// Reads and decodes the file; false when it cannot be read or decoded.
// `components` (may be null) receives the decoder's output components.
bool ReferenceDecode(const char* path, int* components);

// Seconds taken by ReferenceDecode, file read included; -1 on failure.
double TimeReferenceDecode(const char* path);
