#include "codec/ChosenRows.h"

#include "codec/RasterSink.h"
#include "codec/RowReceiver.h"

bool RowsCanBeChosen(j_decompress_ptr cinfo)
{
    return !cinfo->arith_code && RowsConvertToRgb(cinfo);
}

namespace {

// Reads one row into `row`; false when the library delivered none.
bool ReadRow(j_decompress_ptr cinfo, JSAMPARRAY row)
{
    return jpeg_read_scanlines(cinfo, row, 1) == 1;
}

// Moves the output to row `target`. The library (2.1.5) skips a run
// correctly only when it starts on a row-group boundary (a group is
// max_v_samp_factor rows at full scale): one that starts inside a group
// makes the next rows come from before the skip where the chroma is upsampled
// without context rows (4:2:0 pictures at most 4 pixels wide, for one). So a
// run that would start inside a group first reads the rest of the group.
bool MoveTo(j_decompress_ptr cinfo, JDIMENSION target, JSAMPARRAY row)
{
    const JDIMENSION group = (JDIMENSION)cinfo->max_v_samp_factor;
    while (cinfo->output_scanline < target) {
        if (cinfo->output_scanline % group != 0) {
            if (!ReadRow(cinfo, row))
                return false;
        } else if (jpeg_skip_scanlines(cinfo, target - cinfo->output_scanline) == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

int DecodeChosenRows(j_decompress_ptr cinfo, CRowReceiver* receiver, JSAMPARRAY row,
                     unsigned char* rgb)
{
    const JDIMENSION height = cinfo->output_height;
    for (;;) {
        const int wanted = receiver->NextRow();
        if (wanted < 0 || (JDIMENSION)wanted < cinfo->output_scanline)
            return -1;
        if ((JDIMENSION)wanted >= height)
            break;
        if (!MoveTo(cinfo, (JDIMENSION)wanted, row) || !ReadRow(cinfo, row))
            return -1;
        // Three-component rows are R, G, B already.
        unsigned char* out = cinfo->out_color_components == 3 ? row[0] : rgb;
        ConvertRowToRgb(cinfo, row[0], out);
        receiver->TakeRow(wanted, out);
    }
    // The rows below the last one taken: skipped, but their data is read. A
    // skip to the very end would not read it, so the last row is decoded.
    if (cinfo->output_scanline < height) {
        if (!MoveTo(cinfo, height - 1, row) || !ReadRow(cinfo, row))
            return -1;
    }
    return 0;
}
