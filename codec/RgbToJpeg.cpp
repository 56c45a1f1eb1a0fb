// Encoding a packed R, G, B raster into a JPEG stream held in memory.

#include <cstdlib>
#include <cstring>

#include "codec/ConversionState.h"
#include "codec/ErrorManager.h"
#include "codec/JpegConverter.h"
#include "codec/MemoryDestination.h"
#include "codec/RasterSource.h"

namespace {

// Everything one encode needs, as plain C data (see DecodeJob).
struct EncodeJob {
    struct jpeg_compress_struct cinfo;
    JpegErrorManager err;
    ConversionState state;
};

// 0 when the stream is complete and published in job->state, -1 otherwise.
int RunEncode(EncodeJob* job, int quality)
{
    if (setjmp(job->err.jump))
        return -1;
    j_compress_ptr cinfo = &job->cinfo;
    jpeg_create_compress(cinfo);
    cinfo->client_data = &job->state;
    // The defaults need only the input colour space; the image itself is
    // described by StartInput afterwards, and the JPEG colour space is then
    // chosen again for that description.
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    RasterSource* source = CreateRasterSource(cinfo);
    (*source->StartInput)(cinfo, source);
    jpeg_default_colorspace(cinfo);
    if (InstallMemoryDestination(cinfo) != 0)
        return -1;
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JDIMENSION rows = (*source->GetPixelRows)(cinfo, source);
        // Nothing written means the destination could not grow its block.
        if (jpeg_write_scanlines(cinfo, source->buffer, rows) == 0)
            return -1;
    }
    (*source->FinishInput)(cinfo, source);
    jpeg_finish_compress(cinfo);
    return job->state.result ? 0 : -1;
}

}  // namespace

unsigned char* RgbToJpeg(const unsigned char* pixels, int width, int height, int quality,
                         int* size)
{
    *size = 0;
    // Negative sizes would wrap to huge dimensions in the library's unsigned
    // fields; zero is left to the library, which reports an empty image.
    if (!pixels || width < 0 || height < 0)
        return nullptr;
    EncodeJob job;
    memset(&job, 0, sizeof job);
    job.state.imageWidth = width;
    job.state.imageHeight = height;
    job.state.input = pixels;
    job.state.inputLength = (uint64_t)width * (uint64_t)height * 3u;
    job.cinfo.err = InitErrorManager(&job.err);

    int rc = RunEncode(&job, quality);
    if (rc != 0) {
        DiscardMemoryDestination(&job.cinfo);
        free(job.state.result);
        job.state.result = nullptr;
    }
    jpeg_destroy_compress(&job.cinfo);
    if (rc != 0)
        return nullptr;
    *size = (int)job.state.resultSize;
    return job.state.result;
}
