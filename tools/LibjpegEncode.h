#pragma once
// libjpeg's own encoder over a raster held in memory, for streams the
// project's converter does not make (progressive, arithmetic-coded, CMYK,
// other sampling): the library's defaults, then the caller's settings, then
// every row. Shared by the tests, the benchmarks and the crafted headers.

#include <functional>
#include <vector>

#include <cstdio>

#include <jpeglib.h>

// `components` 3 is R, G, B in, 4 is CMYK in. Empty on failure.
std::vector<unsigned char> LibjpegEncodeRows(const std::vector<unsigned char>& pixels, int width,
                                             int height, int components,
                                             const std::function<void(jpeg_compress_struct&)>& configure);
