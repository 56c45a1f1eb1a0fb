// Decoding a JPEG stream held in memory into a packed R, G, B raster, into
// a raster in the stored layout of a bottom-up DIB, or into the chosen rows
// of a CRowReceiver.

#include <climits>
#include <cstdlib>
#include <cstring>

#include "codec/ChosenRows.h"
#include "codec/ConversionState.h"
#include "codec/ErrorManager.h"
#include "codec/JpegConverter.h"
#include "codec/MemorySource.h"
#include "codec/RasterSink.h"
#include "codec/RowReceiver.h"
#include "codec/ScanLimit.h"
#include "codec/StreamCoverage.h"
#include "image/StoredLayout.h"
#include "platform/LargeBlock.h"
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
    CRowReceiver* receiver;  // null: the whole raster
    bool wantStored;         // the whole raster in stored layout
};

enum DecodeOutcome { kDecoded, kRowsTaken, kRefused, kFailed };

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

// What the stream can still deliver once its header is read: the bytes not
// yet handed to the library and those it holds unread. Markers before the
// first scan (comments, metadata) do not count, so padding them cannot buy
// a larger picture.
uint64_t BytesLeftAfterHeader(const DecodeJob* job)
{
    return job->state.inputLength - job->state.readPosition + job->cinfo.src->bytes_in_buffer;
}

// True when the declared picture may be decoded: the stream can hold it
// (codec/StreamCoverage.h) and its raster fits the memory budget.
bool DeclaredPictureAllowed(j_decompress_ptr cinfo, uint64_t streamBytes)
{
    return StreamCanHoldPicture(cinfo, streamBytes) && RasterBytesAllowed(RasterBytesFor(cinfo));
}

// What the receiver makes of the picture: 1 chosen rows, 0 the whole raster
// (also for streams whose rows cannot be chosen), -1 failure.
int PlanOutput(DecodeJob* job)
{
    j_decompress_ptr cinfo = &job->cinfo;
    if (!job->receiver || !RowsCanBeChosen(cinfo))
        return 0;
    return job->receiver->Begin((int)cinfo->output_width, (int)cinfo->output_height);
}

void DecodeWholeRaster(DecodeJob* job)
{
    RasterSink* sink = job->sink;
    (*sink->StartOutput)(&job->cinfo, sink);
    while (job->cinfo.output_scanline < job->cinfo.output_height) {
        JDIMENSION rows = jpeg_read_scanlines(&job->cinfo, sink->buffer, sink->bufferHeight);
        (*sink->PutPixelRows)(&job->cinfo, sink, rows);
    }
    (*sink->FinishOutput)(&job->cinfo, sink);
}

DecodeOutcome RunDecode(DecodeJob* job)
{
    if (setjmp(job->err.jump))
        return kFailed;
    j_decompress_ptr cinfo = &job->cinfo;
    jpeg_create_decompress(cinfo);
    cinfo->client_data = &job->state;
    InstallScanLimit(cinfo, &job->scanLimit);
    InstallMemorySource(cinfo);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK)
        return kFailed;
    job->state.stored = job->wantStored;
    job->sink = CreateRasterSink(cinfo);
    // Rows of an unusual layout are decoded as always and converted after.
    if (job->state.stored && !RowsConvertToRgb(cinfo))
        job->state.stored = false;
    job->state.decodedWidth = (int)cinfo->output_width;
    job->state.decodedHeight = (int)cinfo->output_height;
    // Refused before any decoding work: no point decoding rows into nothing.
    // The raster counts even when only chosen rows are kept, so both kinds of
    // decode refuse and fail alike.
    if (!DeclaredPictureAllowed(cinfo, BytesLeftAfterHeader(job)))
        return kRefused;
    LimitLibraryMemory(cinfo, RasterBytesFor(cinfo));
    const int plan = PlanOutput(job);
    if (plan < 0)
        return kFailed;
    jpeg_start_decompress(cinfo);
    if (plan > 0) {
        // Rows of one or four components need a row of their own as R, G, B.
        unsigned char* rgb = nullptr;
        if (cinfo->out_color_components != 3)
            rgb = static_cast<unsigned char*>((*cinfo->mem->alloc_large)(
                (j_common_ptr)cinfo, JPOOL_IMAGE, (size_t)cinfo->output_width * 3));
        if (DecodeChosenRows(cinfo, job->receiver, job->sink->buffer, rgb) != 0)
            return kFailed;
    } else {
        DecodeWholeRaster(job);
    }
    jpeg_finish_decompress(cinfo);
    return plan > 0 ? kRowsTaken : kDecoded;
}

// An exchange-layout raster in stored layout, in a new block; the old one
// is released. Null when there is no memory for it.
unsigned char* ToStoredLayout(unsigned char* exchange, int width, int height)
{
    const uint64_t bytes = StoredRasterBytes(width, height);
    unsigned char* stored = nullptr;
    if (RasterBytesAllowedBeside((uint64_t)width * height * 3, bytes) && bytes <= SIZE_MAX)
        stored = static_cast<unsigned char*>(AllocLargeBlock((size_t)bytes));
    if (stored)
        FlipRowsSwapRedBlue(exchange, (size_t)width * 3, stored, StoredStride(width), width, height);
    free(exchange);
    return stored;
}

// Runs one decode and releases the library object. Null raster and 0 x 0 for
// a failure; the declared size for a refusal.
DecodeOutcome Decode(const unsigned char* bytes, uint32_t size, CRowReceiver* receiver,
                     bool stored, unsigned char** raster, int* width, int* height)
{
    *raster = nullptr;
    *width = 0;
    *height = 0;
    DecodeJob job;
    memset(&job, 0, sizeof job);
    job.state.input = bytes;
    job.state.inputLength = bytes ? size : 0;
    job.receiver = receiver;
    job.wantStored = stored && !receiver;
    job.cinfo.err = InitErrorManager(&job.err);

    DecodeOutcome outcome = RunDecode(&job);
    jpeg_destroy_decompress(&job.cinfo);

    if (outcome == kFailed) {
        free(job.state.raster);
        return kFailed;
    }
    *width = job.state.decodedWidth;
    *height = job.state.decodedHeight;
    *raster = job.state.raster;
    if (job.wantStored && !job.state.stored && *raster)
        *raster = ToStoredLayout(*raster, *width, *height);
    return outcome;
}

}  // namespace

unsigned char* JpegToRgb(const unsigned char* bytes, uint32_t size, int* width, int* height)
{
    unsigned char* raster = nullptr;
    Decode(bytes, size, nullptr, false, &raster, width, height);
    return raster;
}

unsigned char* JpegToStoredRaster(const unsigned char* bytes, uint32_t size, int* width, int* height)
{
    unsigned char* raster = nullptr;
    Decode(bytes, size, nullptr, true, &raster, width, height);
    return raster;
}

int JpegToRgbRows(const unsigned char* bytes, uint32_t size, CRowReceiver* receiver,
                  unsigned char** raster, int* width, int* height)
{
    DecodeOutcome outcome = Decode(bytes, size, receiver, false, raster, width, height);
    return outcome == kRowsTaken || (outcome == kDecoded && *raster) ? 0 : -1;
}
