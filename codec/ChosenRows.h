#pragma once
// Decoding only the rows a CRowReceiver asks for: the rows between them are
// passed over with jpeg_skip_scanlines, which still reads their entropy-coded
// data (so warnings and errors come where a whole decode meets them) but
// leaves out their inverse DCT, upsampling and colour conversion.

#include <cstdio>

#include <jpeglib.h>

class CRowReceiver;

// True when the stream, whose header `cinfo` has read, can be decoded that
// way with every row equal to the whole decode's: output in a layout the
// raster sink turns into R, G, B, and Huffman coding. Arithmetic-coded
// streams are rare, and too few are at hand to show that skipping gives
// their rows exactly, so they keep the whole decode.
bool RowsCanBeChosen(j_decompress_ptr cinfo);

// Between jpeg_start_decompress and jpeg_finish_decompress: hands `receiver`
// the rows it asks for, then decodes down to the last row, so the rest of
// the stream is read as a whole decode reads it. `row` is a one-row buffer
// for jpeg_read_scanlines; `rgb` (output width x 3 bytes) receives the rows
// of one or four components as R, G, B (unused, and may be null, for three). Returns 0, or -1 when the receiver
// asks for a row out of order or the library delivers none.
int DecodeChosenRows(j_decompress_ptr cinfo, CRowReceiver* receiver, JSAMPARRAY row,
                     unsigned char* rgb);
