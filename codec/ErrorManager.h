#pragma once
// libjpeg's standard error manager with a way back to the conversion routine.
// A fatal error writes the library's message to standard error (one line)
// and longjmps to `jump`; warnings and trace messages keep the standard
// behaviour: only the first warning of a conversion is written, trace level 0.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorManager {
    struct jpeg_error_mgr pub;  // first, so the library's pointer is ours
    jmp_buf jump;
};

// Fills `mgr` and returns the pointer to store in cinfo->err.
struct jpeg_error_mgr* InitErrorManager(JpegErrorManager* mgr);
