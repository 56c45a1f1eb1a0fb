#include "codec/StreamCoverage.h"

bool StreamCanHoldPicture(j_decompress_ptr cinfo, uint64_t streamBytes)
{
    if (cinfo->arith_code)
        return (uint64_t)cinfo->image_width * cinfo->image_height <= kMaxArithmeticPixels;
    // Blocks of each component as the header reading set them up, without
    // the padding of partial MCUs: the smaller count, the gentler bound.
    uint64_t blocks = 0;
    for (int ci = 0; ci < cinfo->num_components; ci++)
        blocks += (uint64_t)cinfo->comp_info[ci].width_in_blocks *
                  cinfo->comp_info[ci].height_in_blocks;
    // streamBytes x 8 bits must reach kCoveragePercent % of one bit per block.
    return streamBytes * 8 * 100 >= blocks * kCoveragePercent;
}
