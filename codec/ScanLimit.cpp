#include "codec/ScanLimit.h"

#include <csetjmp>

#include "codec/ErrorManager.h"

namespace {

// Called by the library while it consumes input, at least once per row of
// blocks, so the check comes soon after the scan that passes the bound.
void CheckScanCount(j_common_ptr cinfo)
{
    j_decompress_ptr dinfo = (j_decompress_ptr)cinfo;
    if (dinfo->input_scan_number <= kMaxJpegScans)
        return;
    fprintf(stderr, "JPEG stream has more than %d scans\n", kMaxJpegScans);
    JpegErrorManager* mgr = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    longjmp(mgr->jump, 1);
}

}  // namespace

void InstallScanLimit(j_decompress_ptr cinfo, ScanLimitMonitor* monitor)
{
    monitor->pub.progress_monitor = CheckScanCount;
    monitor->pub.pass_counter = 0;
    monitor->pub.pass_limit = 0;
    monitor->pub.completed_passes = 0;
    monitor->pub.total_passes = 0;
    cinfo->progress = &monitor->pub;
}
