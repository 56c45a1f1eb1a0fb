#include "codec/RasterSource.h"

#include <cstring>

#include "codec/ConversionState.h"

static ConversionState* StateOf(j_compress_ptr cinfo)
{
    return static_cast<ConversionState*>(cinfo->client_data);
}

static JDIMENSION GetPixelRows(j_compress_ptr cinfo, RasterSource* source)
{
    ConversionState* state = StateOf(cinfo);
    memcpy(source->row, state->input + state->readPosition, source->rowWidth);
    state->readPosition += source->rowWidth;
    // Past the end a further call delivers the last row again; it never reads
    // beyond the raster.
    if (state->readPosition > state->inputLength)
        state->readPosition = state->inputLength - source->rowWidth;
    return 1;
}

static void StartInput(j_compress_ptr cinfo, RasterSource* source)
{
    ConversionState* state = StateOf(cinfo);
    cinfo->data_precision = 8;
    cinfo->image_width = (JDIMENSION)state->imageWidth;
    cinfo->image_height = (JDIMENSION)state->imageHeight;
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    source->GetPixelRows = GetPixelRows;
    source->rowWidth = (JDIMENSION)state->imageWidth * 3u;
    // One byte at least, so a zero width reaches the library's own check.
    source->rowStorage = static_cast<JSAMPROW>((*cinfo->mem->alloc_large)(
        (j_common_ptr)cinfo, JPOOL_IMAGE, source->rowWidth ? source->rowWidth : 1));
    source->row = source->rowStorage;
    source->buffer[0] = source->row;
    source->bufferHeight = 1;
}

static void FinishInput(j_compress_ptr, RasterSource*)
{
}

RasterSource* CreateRasterSource(j_compress_ptr cinfo)
{
    RasterSource* source = static_cast<RasterSource*>(
        (*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_IMAGE, sizeof(RasterSource)));
    memset(source, 0, sizeof *source);
    source->StartInput = StartInput;
    source->FinishInput = FinishInput;
    source->buffer = static_cast<JSAMPARRAY>(
        (*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_IMAGE, sizeof(JSAMPROW)));
    return source;
}
