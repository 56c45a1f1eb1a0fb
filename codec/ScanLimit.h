#pragma once
// A bound on the number of scans a decode will read. Each scan of a
// progressive (or multi-scan) stream makes the library walk the coefficients
// of every block it covers, and a scan that changes nothing can be a few
// bytes long, so a small file could otherwise keep the decoder busy for
// minutes. Real encoders write about ten scans; the bound is the one
// libjpeg-turbo's own TurboJPEG interface applies when asked to limit scans.

#include <cstdio>

#include <jpeglib.h>

constexpr int kMaxJpegScans = 500;

// A progress monitor that fails the decode once the stream has more than
// kMaxJpegScans scans. Plain C data: it lives in the decode's own record.
struct ScanLimitMonitor {
    struct jpeg_progress_mgr pub;  // first, so the library's pointer is ours
};

// Installs `monitor` on a decompression object whose error manager is a
// JpegErrorManager (codec/ErrorManager.h); too many scans end the decode
// like a fatal library error.
void InstallScanLimit(j_decompress_ptr cinfo, ScanLimitMonitor* monitor);
