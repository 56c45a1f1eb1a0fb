// Decoding a JPEG stream held in memory into a packed R, G, B raster.

#include <climits>
#include <cstdlib>
#include <cstring>

#include "codec/ConversionState.h"
#include "codec/ErrorManager.h"
#include "codec/JpegConverter.h"
#include "codec/MemorySource.h"
#include "codec/RasterSink.h"
#include "codec/ScanLimit.h"
#include "codec/StreamCoverage.h"
#include "platform/MemoryLimit.h"

namespace {

// Everything one decode needs, as plain C data: the routine that calls
// setjmp holds nothing with a destructor.
struct DecodeJob {
    struct jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    ConversionState state;
    ScanLimitMonitor scanLimit;
    RasterSink* sink;
};

enum DecodeOutcome { kDecoded, kRefused, kFailed };

// Bounds the library's own working memory (whole-image coefficient arrays of
// progressive or multi-scan files) by what the picture's memory budget leaves
// beside its raster: beyond it the library would need backing store, which it
// reports as a fatal error.
void LimitLibraryMemory(j_decompress_ptr cinfo, uint64_t rasterBytes)
{
    const uint64_t limit = MaxRasterBytes();
    uint64_t left = limit > rasterBytes ? limit - rasterBytes : 0;
    if (left > (uint64_t)LONG_MAX)
        left = (uint64_t)LONG_MAX;
    // 0 would tell the library that there is no bound at all.
    cinfo->mem->max_memory_to_use = left > 0 ? (long)left : 1;
}

// True when the declared picture may be decoded: the stream can hold it
// (codec/StreamCoverage.h) and its raster fits the memory budget.
bool DeclaredPictureAllowed(j_decompress_ptr cinfo, uint64_t streamBytes)
{
    return StreamCanHoldPicture(cinfo, streamBytes) && RasterBytesAllowed(RasterBytesFor(cinfo));
}

DecodeOutcome RunDecode(DecodeJob* job)
{
    if (setjmp(job->err.jump))
        return kFailed;
    jpeg_create_decompress(&job->cinfo);
    job->cinfo.client_data = &job->state;
    InstallScanLimit(&job->cinfo, &job->scanLimit);
    InstallMemorySource(&job->cinfo);
    if (jpeg_read_header(&job->cinfo, TRUE) != JPEG_HEADER_OK)
        return kFailed;
    job->sink = CreateRasterSink(&job->cinfo);
    if (!DeclaredPictureAllowed(&job->cinfo, job->state.inputLength)) {
        // Refused before any decoding work: no point decoding rows into nothing.
        job->state.decodedWidth = (int)job->cinfo.output_width;
        job->state.decodedHeight = (int)job->cinfo.output_height;
        return kRefused;
    }
    LimitLibraryMemory(&job->cinfo, RasterBytesFor(&job->cinfo));
    jpeg_start_decompress(&job->cinfo);
    RasterSink* sink = job->sink;
    (*sink->StartOutput)(&job->cinfo, sink);
    while (job->cinfo.output_scanline < job->cinfo.output_height) {
        JDIMENSION rows = jpeg_read_scanlines(&job->cinfo, sink->buffer, sink->bufferHeight);
        (*sink->PutPixelRows)(&job->cinfo, sink, rows);
    }
    (*sink->FinishOutput)(&job->cinfo, sink);
    jpeg_finish_decompress(&job->cinfo);
    return kDecoded;
}

}  // namespace

unsigned char* JpegToRgb(const unsigned char* bytes, uint32_t size, int* width, int* height)
{
    *width = 0;
    *height = 0;
    DecodeJob job;
    memset(&job, 0, sizeof job);
    job.state.input = bytes;
    job.state.inputLength = bytes ? size : 0;
    job.cinfo.err = InitErrorManager(&job.err);

    DecodeOutcome outcome = RunDecode(&job);
    jpeg_destroy_decompress(&job.cinfo);

    if (outcome == kFailed) {
        free(job.state.raster);
        return nullptr;
    }
    *width = job.state.decodedWidth;
    *height = job.state.decodedHeight;
    return job.state.raster;
}
