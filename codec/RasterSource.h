#pragma once
// The encoder's input module: hands the library the rows of a packed
// R, G, B raster (the ConversionState's input), one row at a time, copied
// into a row of its own. The raster is never modified.

#include <cstdio>

#include <jpeglib.h>

struct RasterSource;
typedef void (*RasterSourceOp)(j_compress_ptr cinfo, RasterSource* source);

struct RasterSource {
    RasterSourceOp StartInput;
    JDIMENSION (*GetPixelRows)(j_compress_ptr cinfo, RasterSource* source);
    RasterSourceOp FinishInput;
    JSAMPARRAY buffer;        // handed to jpeg_write_scanlines: one row pointer
    JDIMENSION bufferHeight;  // always 1
    JSAMPROW rowStorage;      // from the image pool
    JSAMPROW row;
    JDIMENSION rowWidth;      // width x 3, in bytes
};

// Builds the module in the image pool. StartInput then describes the image
// (width and height from the ConversionState, 3 components, RGB) to the
// library. cinfo->client_data must point to the ConversionState.
RasterSource* CreateRasterSource(j_compress_ptr cinfo);
