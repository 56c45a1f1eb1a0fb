// Codec timings in one run, as ratios against plain libjpeg-turbo measured
// in the same process:
//   - CJpegConverter::LoadFile against a reference decode of the same file
//     (read the file, jpeg_mem_src, all scanlines into one buffer);
//   - encoding a 150 x 100 thumbnail raster at quality 65.
// Target: LoadFile <= 1.10 x the reference.
//
// Usage: pixmoor_codec_bench [-r REPETITIONS] [PHOTO.jpg ...]
// The sample photo made by the build is always measured first.

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/common/BenchClock.h"
#include "bench/common/ReferenceDecode.h"
#include "codec/JpegConverter.h"

namespace {

bool MeasureDecode(const char* path, int repetitions)
{
    std::vector<double> ours, reference;
    int width = 0, height = 0, components = 0;
    for (int i = 0; i < repetitions + 1; i++) {
        // Alternate which goes first so neither always gets the warm cache.
        for (int turn = 0; turn < 2; turn++) {
            bool oursNow = (turn == 0) == (i % 2 == 0);
            double t0 = Now();
            if (oursNow) {
                CJpegConverter conv;
                unsigned char* raster = conv.LoadFile(path);
                double t = Now() - t0;
                if (!raster)
                    return false;
                free(raster);
                width = conv.GetWidth();
                height = conv.GetHeight();
                if (i > 0)  // the first round only warms up
                    ours.push_back(t);
            } else {
                if (!ReferenceDecode(path, &components))
                    return false;
                if (i > 0)
                    reference.push_back(Now() - t0);
            }
        }
    }
    double o = Median(ours), r = Median(reference);
    printf("%s (%d x %d)\n", path, width, height);
    printf("  LoadFile            %8.2f ms (median of %d)\n", o * 1e3, repetitions);
    printf("  libjpeg reference   %8.2f ms\n", r * 1e3);
    printf("  ratio               %8.3f   (target <= 1.10)  %s\n", o / r,
           o / r <= 1.10 ? "ok" : "OVER");
    if (components == 4)
        printf("  (four components: the reference stops at CMYK, LoadFile also converts to RGB)\n");
    return true;
}

struct ReferenceEncodeJob {
    struct jpeg_compress_struct cinfo;
    ReferenceError err;
    unsigned char* out;
    unsigned long outSize;
};

int RunReferenceEncode(ReferenceEncodeJob* job, const unsigned char* rgb, int w, int h)
{
    if (setjmp(job->err.jump))
        return -1;
    jpeg_create_compress(&job->cinfo);
    jpeg_mem_dest(&job->cinfo, &job->out, &job->outSize);
    job->cinfo.image_width = (JDIMENSION)w;
    job->cinfo.image_height = (JDIMENSION)h;
    job->cinfo.input_components = 3;
    job->cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job->cinfo);
    jpeg_set_quality(&job->cinfo, 65, TRUE);
    jpeg_start_compress(&job->cinfo, TRUE);
    while (job->cinfo.next_scanline < job->cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + (size_t)job->cinfo.next_scanline * w * 3);
        jpeg_write_scanlines(&job->cinfo, &row, 1);
    }
    jpeg_finish_compress(&job->cinfo);
    return 0;
}

// The reference encoder: libjpeg's own memory destination, same settings.
void ReferenceEncode(const unsigned char* rgb, int w, int h)
{
    ReferenceEncodeJob job;
    memset(&job, 0, sizeof job);
    job.cinfo.err = jpeg_std_error(&job.err.pub);
    job.err.pub.error_exit = ReferenceExit;
    RunReferenceEncode(&job, rgb, w, h);
    jpeg_destroy_compress(&job.cinfo);
    free(job.out);
}

void MeasureThumbnailEncode(int repetitions)
{
    const int w = 150, h = 100;
    std::vector<unsigned char> rgb((size_t)w * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned char* p = &rgb[((size_t)y * w + x) * 3];
            p[0] = (unsigned char)(x * 255 / (w - 1));
            p[1] = (unsigned char)(y * 255 / (h - 1));
            p[2] = (unsigned char)(((x / 5) ^ (y / 5)) & 1 ? 220 : 30);
        }
    const int batch = 200;
    std::vector<double> perEncode, perReference;
    int size = 0;
    for (int i = 0; i < repetitions; i++) {
        double t0 = Now();
        for (int k = 0; k < batch; k++) {
            CJpegConverter conv;
            conv.m_nQuality = 65;
            unsigned char* jpeg = conv.Encode(rgb.data(), w, h);
            size = conv.GetSize();
            free(jpeg);
        }
        double t1 = Now();
        for (int k = 0; k < batch; k++)
            ReferenceEncode(rgb.data(), w, h);
        perEncode.push_back((t1 - t0) / batch);
        perReference.push_back((Now() - t1) / batch);
    }
    double o = Median(perEncode), r = Median(perReference);
    printf("Encode 150 x 100 at quality 65 (%d bytes), median of %d x %d\n", size, repetitions,
           batch);
    printf("  Encode              %8.1f us\n", o * 1e6);
    printf("  libjpeg reference   %8.1f us (jpeg_mem_dest)\n", r * 1e6);
    printf("  ratio               %8.3f\n", o / r);
}

}  // namespace

int main(int argc, char** argv)
{
    int repetitions = 9;
    std::vector<std::string> photos = {PIXMOOR_SAMPLE_PHOTO};
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "-r") == 0 && i + 1 < argc)
            repetitions = std::max(1, atoi(argv[++i]));
        else
            photos.push_back(argv[i]);
    }
    int failures = 0;
    for (const std::string& photo : photos)
        if (!MeasureDecode(photo.c_str(), repetitions)) {
            fprintf(stderr, "%s: cannot decode\n", photo.c_str());
            failures++;
        }
    MeasureThumbnailEncode(repetitions);
    return failures ? 1 : 0;
}
