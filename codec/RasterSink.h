#pragma once
// The decoder's output module: collects the rows that jpeg_read_scanlines
// delivers, one at a time, into one packed R, G, B raster allocated with
// malloc at its final size (the ConversionState's raster, which the caller
// receives).
//
// Grayscale samples are repeated three times. Four-component output (CMYK;
// the library turns YCCK into CMYK itself) is converted to RGB here: with an
// Adobe APP14 marker the samples are stored inverted, as Photoshop writes
// them, otherwise they are plain ink amounts. Any other layout is copied
// sample by sample, and a row that does not fit is dropped with
// "Too many bytes for buffer" on standard error. Rows that are already
// R, G, B are decoded in place, straight into the raster, saving a copy.

#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

struct RasterSink;
typedef void (*RasterSinkOp)(j_decompress_ptr cinfo, RasterSink* sink);

struct RasterSink {
    RasterSinkOp StartOutput;
    void (*PutPixelRows)(j_decompress_ptr cinfo, RasterSink* sink, JDIMENSION rows);
    RasterSinkOp FinishOutput;
    JSAMPARRAY buffer;        // handed to jpeg_read_scanlines: one row pointer
    JDIMENSION bufferHeight;  // always 1
    JSAMPROW rowStorage;      // from the image pool
    JSAMPROW row;             // where the next row goes: the row storage, or
                              // its place in the raster when rows are R, G, B
    JDIMENSION rowWidth;      // output width x output components, in samples
};

// Runs jpeg_calc_output_dimensions and builds the sink in the image pool.
// Call after jpeg_read_header; cinfo->client_data is the ConversionState.
RasterSink* CreateRasterSink(j_decompress_ptr cinfo);

// Bytes of the raster for the output dimensions, in 64 bits.
uint64_t RasterBytesFor(j_decompress_ptr cinfo);

// True when the output rows are grayscale, CMYK or three components: the
// layouts the sink turns into R, G, B.
bool RowsConvertToRgb(j_decompress_ptr cinfo);

// One output row `in` (as jpeg_read_scanlines delivers it) as R, G, B in `out`
// (output width x 3 bytes), the way the sink stores it: grayscale repeated,
// CMYK converted, three components copied (`out` may be `in` for those).
void ConvertRowToRgb(j_decompress_ptr cinfo, const JSAMPLE* in, unsigned char* out);
