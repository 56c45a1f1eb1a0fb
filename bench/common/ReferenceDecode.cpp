#include "bench/common/ReferenceDecode.h"

#include <cstdlib>
#include <cstring>

#include "bench/common/BenchClock.h"

void ReferenceExit(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    longjmp(reinterpret_cast<ReferenceError*>(cinfo->err)->jump, 1);
}

namespace {

struct ReferenceJob {
    struct jpeg_decompress_struct cinfo;
    ReferenceError err;
    unsigned char* file;
    unsigned long fileSize;
    unsigned char* pixels;
    JSAMPROW* rows;
};

// Plain C data only between setjmp and longjmp.
int RunReference(ReferenceJob* job)
{
    if (setjmp(job->err.jump))
        return -1;
    jpeg_create_decompress(&job->cinfo);
    jpeg_mem_src(&job->cinfo, job->file, job->fileSize);
    jpeg_read_header(&job->cinfo, TRUE);
    jpeg_start_decompress(&job->cinfo);
    size_t stride = (size_t)job->cinfo.output_width * job->cinfo.output_components;
    job->pixels = (unsigned char*)malloc(stride * job->cinfo.output_height);
    job->rows = (JSAMPROW*)malloc(sizeof(JSAMPROW) * job->cinfo.output_height);
    if (!job->pixels || !job->rows)
        return -1;
    for (JDIMENSION y = 0; y < job->cinfo.output_height; y++)
        job->rows[y] = job->pixels + stride * y;
    while (job->cinfo.output_scanline < job->cinfo.output_height)
        jpeg_read_scanlines(&job->cinfo, job->rows + job->cinfo.output_scanline,
                            job->cinfo.output_height - job->cinfo.output_scanline);
    jpeg_finish_decompress(&job->cinfo);
    return 0;
}

}  // namespace

bool ReferenceDecode(const char* path, int* components)
{
    ReferenceJob job;
    memset(&job, 0, sizeof job);
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    rewind(f);
    job.fileSize = size > 0 ? (unsigned long)size : 0;
    job.file = (unsigned char*)malloc(job.fileSize ? job.fileSize : 1);
    bool ok = job.file && fread(job.file, 1, job.fileSize, f) == job.fileSize;
    fclose(f);
    if (ok) {
        job.cinfo.err = jpeg_std_error(&job.err.pub);
        job.err.pub.error_exit = ReferenceExit;
        ok = RunReference(&job) == 0;
        if (components)
            *components = job.cinfo.output_components;
        jpeg_destroy_decompress(&job.cinfo);
    }
    free(job.rows);
    free(job.pixels);
    free(job.file);
    return ok;
}

double TimeReferenceDecode(const char* path)
{
    double t0 = Now();
    bool ok = ReferenceDecode(path, nullptr);
    double t1 = Now();
    return ok ? t1 - t0 : -1;
}
