#include "tools/LibjpegEncode.h"

#include <cstdlib>

std::vector<unsigned char> LibjpegEncodeRows(const std::vector<unsigned char>& pixels, int width,
                                             int height, int components,
                                             const std::function<void(jpeg_compress_struct&)>& configure)
{
    if (width <= 0 || height <= 0 || pixels.size() < (size_t)width * height * components)
        return {};
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = (JDIMENSION)width;
    cinfo.image_height = (JDIMENSION)height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (configure)
        configure(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = (size_t)width * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels[cinfo.next_scanline * stride]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> result(out, out + outSize);
    free(out);
    return result;
}
