#include "codec/RasterSink.h"

#include <cstdlib>
#include <cstring>

#include "codec/ConversionState.h"
#include "image/StoredLayout.h"
#include "platform/LargeBlock.h"

static ConversionState* StateOf(j_decompress_ptr cinfo)
{
    return static_cast<ConversionState*>(cinfo->client_data);
}

uint64_t RasterBytesFor(j_decompress_ptr cinfo)
{
    if (StateOf(cinfo)->stored)
        return StoredRasterBytes((int)cinfo->output_width, (int)cinfo->output_height);
    return (uint64_t)cinfo->output_width * (uint64_t)cinfo->output_height * 3u;
}

// Three-component rows have the raster's own layout (the library writes
// B, G, R for the stored layout), so the library can write them in place
// instead of into the row storage.
static bool RowsGoStraightIn(j_decompress_ptr cinfo)
{
    return cinfo->out_color_components == 3 && StateOf(cinfo)->raster != nullptr;
}

// Where row `y` (0 = top) of the picture goes in a stored-layout raster.
static unsigned char* StoredRow(j_decompress_ptr cinfo, uint64_t y)
{
    const int width = (int)cinfo->output_width;
    const uint64_t height = cinfo->output_height;
    return StateOf(cinfo)->raster + (height - 1 - y) * StoredStride(width);
}

// Points the one-row buffer at where the next row belongs.
static void AimRow(j_decompress_ptr cinfo, RasterSink* sink)
{
    ConversionState* state = StateOf(cinfo);
    sink->row = sink->rowStorage;
    if (RowsGoStraightIn(cinfo)) {
        if (state->stored && state->rowsWritten < cinfo->output_height)
            sink->row = StoredRow(cinfo, state->rowsWritten);
        else if (!state->stored && state->bytesWritten + sink->rowWidth <= state->rasterSize)
            sink->row = state->raster + state->bytesWritten;
    }
    sink->buffer[0] = sink->row;
}

static void StartOutput(j_decompress_ptr cinfo, RasterSink* sink)
{
    ConversionState* state = StateOf(cinfo);
    state->decodedWidth = (int)cinfo->output_width;
    state->decodedHeight = (int)cinfo->output_height;
    state->rasterSize = RasterBytesFor(cinfo);
    state->bytesWritten = 0;
    state->rowsWritten = 0;
    // A size that size_t cannot hold is an allocation failure like any other.
    // The raster is a plain malloc block (the caller frees it), offered for
    // huge pages when large so its first write is not thousands of faults.
    state->raster = state->rasterSize <= (uint64_t)SIZE_MAX
                        ? static_cast<unsigned char*>(AllocLargeBlock((size_t)state->rasterSize))
                        : nullptr;
    AimRow(cinfo, sink);
}

static inline JSAMPLE Scale255(unsigned a, unsigned b)
{
    // a * b / 255 rounded to nearest, exact for all 8-bit a and b (the
    // same values as (a * b + 127) / 255, without the division).
    unsigned t = a * b + 128u;
    return (JSAMPLE)((t + (t >> 8)) >> 8);
}

static void CmykToRgb(const JSAMPLE* in, unsigned char* out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; x++, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255u - c;
            m = 255u - m;
            y = 255u - y;
            k = 255u - k;
        }
        out[0] = Scale255(c, k);
        out[1] = Scale255(m, k);
        out[2] = Scale255(y, k);
    }
}

static bool IsGray(j_decompress_ptr cinfo)
{
    return cinfo->out_color_components == 1;
}

static bool IsCmyk(j_decompress_ptr cinfo)
{
    return cinfo->out_color_space == JCS_CMYK && cinfo->out_color_components == 4;
}

bool RowsConvertToRgb(j_decompress_ptr cinfo)
{
    return IsGray(cinfo) || IsCmyk(cinfo) || cinfo->out_color_components == 3;
}

void ConvertRowToRgb(j_decompress_ptr cinfo, const JSAMPLE* in, unsigned char* out)
{
    const JDIMENSION width = cinfo->output_width;
    if (IsGray(cinfo)) {
        for (JDIMENSION x = 0; x < width; x++, out += 3) {
            out[0] = in[x];
            out[1] = in[x];
            out[2] = in[x];
        }
    } else if (IsCmyk(cinfo)) {
        CmykToRgb(in, out, width, cinfo->saw_Adobe_marker != FALSE);
    } else if (in != out) {
        memcpy(out, in, (size_t)width * 3);
    }
}

// A stored-layout row: converted to R, G, B where it is not already in
// place, then turned into B, G, R.
static void PutStoredRow(j_decompress_ptr cinfo, RasterSink* sink)
{
    ConversionState* state = StateOf(cinfo);
    if (state->rowsWritten >= cinfo->output_height)
        return;
    unsigned char* out = StoredRow(cinfo, state->rowsWritten);
    if (sink->row != out) {
        ConvertRowToRgb(cinfo, sink->row, out);
        // Grey rows have R = G = B: nothing to swap.
        for (JDIMENSION x = 0; !IsGray(cinfo) && x < cinfo->output_width; x++, out += 3) {
            const unsigned char red = out[0];
            out[0] = out[2];
            out[2] = red;
        }
    }
    state->rowsWritten++;
    AimRow(cinfo, sink);
}

static void PutPixelRows(j_decompress_ptr cinfo, RasterSink* sink, JDIMENSION rows)
{
    ConversionState* state = StateOf(cinfo);
    if (!state->raster || rows == 0)
        return;
    if (state->stored) {
        PutStoredRow(cinfo, sink);
        return;
    }
    const bool rgb = RowsConvertToRgb(cinfo);
    const uint64_t rowBytes = rgb ? (uint64_t)cinfo->output_width * 3u : (uint64_t)sink->rowWidth;
    if (state->bytesWritten + rowBytes > state->rasterSize) {
        fputs("Too many bytes for buffer\n", stderr);
        return;
    }
    unsigned char* out = state->raster + state->bytesWritten;
    if (rgb)
        ConvertRowToRgb(cinfo, sink->row, out);
    else
        memcpy(out, sink->row, rowBytes);
    state->bytesWritten += rowBytes;
    AimRow(cinfo, sink);
}

static void FinishOutput(j_decompress_ptr cinfo, RasterSink*)
{
    // An unusual layout (fewer samples than R, G, B per pixel) leaves the end
    // of the raster unfilled; hand out black rather than stale heap bytes.
    ConversionState* state = StateOf(cinfo);
    if (state->stored) {
        // Rows the library never delivered are the bottom of the picture,
        // the start of the bottom-up buffer.
        const uint64_t missing = cinfo->output_height - state->rowsWritten;
        if (state->raster && missing > 0)
            memset(state->raster, 0, (size_t)(missing * StoredStride((int)cinfo->output_width)));
        return;
    }
    if (state->raster && state->bytesWritten < state->rasterSize)
        memset(state->raster + state->bytesWritten, 0,
               (size_t)(state->rasterSize - state->bytesWritten));
}

RasterSink* CreateRasterSink(j_decompress_ptr cinfo)
{
    // The library's colour conversion writes B, G, R as cheaply as R, G, B.
    if (StateOf(cinfo)->stored && cinfo->out_color_space == JCS_RGB)
        cinfo->out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(cinfo);
    RasterSink* sink = static_cast<RasterSink*>(
        (*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_IMAGE, sizeof(RasterSink)));
    sink->StartOutput = StartOutput;
    sink->PutPixelRows = PutPixelRows;
    sink->FinishOutput = FinishOutput;
    sink->rowWidth = cinfo->output_width * (JDIMENSION)cinfo->output_components;
    sink->rowStorage = static_cast<JSAMPROW>(
        (*cinfo->mem->alloc_large)((j_common_ptr)cinfo, JPOOL_IMAGE, sink->rowWidth));
    sink->row = sink->rowStorage;
    sink->buffer = static_cast<JSAMPARRAY>(
        (*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_IMAGE, sizeof(JSAMPROW)));
    sink->buffer[0] = sink->row;
    sink->bufferHeight = 1;
    return sink;
}
